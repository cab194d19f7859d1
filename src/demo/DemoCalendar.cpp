#include "demo/DemoCalendar.h"

#include <algorithm>
#include <map>

#include "demo/RecordBuffer.h"

namespace furlong::demo {

int DaySerial(int y, int m, int d) {
  // Civil-from-days in the proleptic Gregorian calendar.
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromSerial(int z, int& y, int& m, int& d) {
  z += 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y = yoe + era * 400 + (m <= 2);
}

int YearOf(int serial) {
  int y, m, d;
  CivilFromSerial(serial, y, m, d);
  return y;
}

int MonthOf(int serial) {
  int y, m, d;
  CivilFromSerial(serial, y, m, d);
  return m;
}

int Weekday(int serial) {
  int w = (serial + 4) % 7;  // 1970-01-01 was a Thursday
  return w < 0 ? w + 7 : w;
}

std::string DateText(int serial) {
  int y, m, d;
  CivilFromSerial(serial, y, m, d);
  return ZeroPadded(y, 4) + ZeroPadded(m, 2) + ZeroPadded(d, 2);
}

int WeekdayCode(int serial) {
  switch (Weekday(serial)) {
    case 6: return 1;
    case 0: return 2;
    case 1: return 4;
    case 2: return 5;
    case 3: return 6;
    case 4: return 7;
    default: return 8;
  }
}

int CornerMask(const TrackDef& t) {
  if (t.trackCode == 10 || t.trackCode == 29) return 0;  // straight courses
  if (t.surface == Surface::Jump) return 0xF;
  if (t.distance <= 1600) return 0xC;  // one turn: third and fourth corner
  return 0xF;
}

namespace {

using S = Surface;

const std::map<std::string, std::vector<TrackDef>>& AllTracks() {
  static const std::map<std::string, std::vector<TrackDef>> tracks = {
      {"01", {{S::Turf, 1200, 17, 16}, {S::Turf, 1500, 17, 14}, {S::Turf, 1800, 17, 14}, {S::Turf, 2000, 17, 16},
              {S::Turf, 2600, 17, 14}, {S::Dirt, 1000, 24, 12}, {S::Dirt, 1700, 24, 14}, {S::Dirt, 2400, 24, 14}}},
      {"02", {{S::Turf, 1200, 17, 16}, {S::Turf, 1800, 17, 14}, {S::Turf, 2000, 17, 16}, {S::Turf, 2600, 17, 14},
              {S::Dirt, 1000, 24, 12}, {S::Dirt, 1700, 24, 14}, {S::Dirt, 2400, 24, 14}}},
      {"03", {{S::Turf, 1200, 17, 16}, {S::Turf, 1800, 17, 16}, {S::Turf, 2000, 17, 16}, {S::Turf, 2600, 17, 16},
              {S::Dirt, 1150, 24, 15}, {S::Dirt, 1700, 24, 15}, {S::Dirt, 2400, 24, 15}, {S::Jump, 2750, 54, 14},
              {S::Jump, 3380, 54, 14}}},
      {"04", {{S::Turf, 1000, 10, 18}, {S::Turf, 1200, 11, 18}, {S::Turf, 1400, 11, 18}, {S::Turf, 1600, 12, 18},
              {S::Turf, 1800, 12, 18}, {S::Turf, 2000, 12, 18}, {S::Turf, 2200, 11, 18}, {S::Dirt, 1200, 23, 15},
              {S::Dirt, 1800, 23, 15}, {S::Dirt, 2500, 23, 15}, {S::Jump, 2890, 53, 14}}},
      {"05", {{S::Turf, 1400, 11, 18}, {S::Turf, 1600, 11, 18}, {S::Turf, 1800, 11, 18}, {S::Turf, 2000, 11, 18},
              {S::Turf, 2400, 11, 18}, {S::Dirt, 1300, 23, 16}, {S::Dirt, 1400, 23, 16}, {S::Dirt, 1600, 23, 16},
              {S::Dirt, 2100, 23, 16}, {S::Jump, 3110, 53, 14}}},
      {"06", {{S::Turf, 1200, 18, 16}, {S::Turf, 1600, 18, 16}, {S::Turf, 1800, 17, 16}, {S::Turf, 2000, 17, 18},
              {S::Turf, 2200, 18, 18}, {S::Turf, 2500, 17, 16}, {S::Dirt, 1200, 24, 16}, {S::Dirt, 1800, 24, 16},
              {S::Dirt, 2400, 24, 16}, {S::Jump, 2880, 54, 14}, {S::Jump, 3200, 55, 14}}},
      {"07", {{S::Turf, 1200, 11, 18}, {S::Turf, 1400, 11, 18}, {S::Turf, 1600, 11, 18}, {S::Turf, 2000, 11, 18},
              {S::Turf, 2200, 11, 18}, {S::Dirt, 1200, 23, 16}, {S::Dirt, 1400, 23, 16}, {S::Dirt, 1800, 23, 16},
              {S::Dirt, 1900, 23, 16}, {S::Jump, 3000, 53, 14}}},
      {"08", {{S::Turf, 1200, 17, 18}, {S::Turf, 1400, 18, 18}, {S::Turf, 1600, 18, 18}, {S::Turf, 1800, 18, 18},
              {S::Turf, 2000, 17, 18}, {S::Turf, 2200, 18, 18}, {S::Turf, 2400, 18, 18}, {S::Turf, 3000, 18, 18},
              {S::Dirt, 1200, 24, 16}, {S::Dirt, 1400, 24, 16}, {S::Dirt, 1800, 24, 16}, {S::Dirt, 1900, 24, 16},
              {S::Jump, 3170, 54, 14}}},
      {"09", {{S::Turf, 1200, 17, 18}, {S::Turf, 1400, 17, 18}, {S::Turf, 1600, 18, 18}, {S::Turf, 1800, 18, 18},
              {S::Turf, 2000, 17, 18}, {S::Turf, 2200, 17, 18}, {S::Turf, 2400, 18, 18}, {S::Dirt, 1200, 24, 16},
              {S::Dirt, 1400, 24, 16}, {S::Dirt, 1800, 24, 16}, {S::Dirt, 2000, 24, 16}, {S::Jump, 3000, 54, 14}}},
      {"10", {{S::Turf, 1200, 17, 18}, {S::Turf, 1800, 17, 16}, {S::Turf, 2000, 17, 18}, {S::Turf, 2600, 17, 16},
              {S::Dirt, 1000, 24, 12}, {S::Dirt, 1700, 24, 16}, {S::Dirt, 2400, 24, 14}, {S::Jump, 2860, 54, 14}}},
      // Local racecourses (dirt only) and Sha Tin.
      {"35", {{S::Dirt, 1200, 23, 14}, {S::Dirt, 1600, 23, 14}, {S::Dirt, 2000, 23, 14}}},
      {"42", {{S::Dirt, 1400, 23, 12}, {S::Dirt, 1500, 23, 12}, {S::Dirt, 2000, 23, 12}}},
      {"43", {{S::Dirt, 1200, 23, 14}, {S::Dirt, 1600, 23, 14}, {S::Dirt, 1800, 23, 14}}},
      {"44", {{S::Dirt, 1200, 24, 16}, {S::Dirt, 1600, 24, 16}, {S::Dirt, 1800, 24, 16}, {S::Dirt, 2000, 24, 16}}},
      {"45", {{S::Dirt, 1400, 23, 14}, {S::Dirt, 1500, 23, 14}, {S::Dirt, 2100, 23, 14}}},
      {"47", {{S::Dirt, 1400, 24, 12}, {S::Dirt, 1600, 24, 12}, {S::Dirt, 1800, 24, 12}}},
      {"50", {{S::Dirt, 1230, 24, 12}, {S::Dirt, 1400, 24, 12}, {S::Dirt, 1870, 24, 12}}},
      {"G0", {{S::Turf, 1600, 17, 14}, {S::Turf, 2000, 17, 14}}},
  };
  return tracks;
}

// JRA racecourses by month of the Saturday; a simplified calendar.
const char* const kMonthCourses[12][3] = {
    {"06", "08", "07"}, {"05", "08", "10"}, {"06", "09", "07"}, {"06", "09", "03"},
    {"05", "08", "04"}, {"05", "09", "02"}, {"03", "10", "02"}, {"04", "10", "01"},
    {"06", "09", "01"}, {"05", "08", "04"}, {"05", "08", "03"}, {"06", "09", "07"},
};

// Kyoto was closed for rebuilding from November 2020 to March 2023; its
// meetings moved to Hanshin or Chukyo.
std::vector<std::string> CoursesOfMonth(int year, int month) {
  std::vector<std::string> list;
  for (auto* c : kMonthCourses[month - 1]) list.emplace_back(c);
  int ym = year * 100 + month;
  if (ym >= 202011 && ym <= 202303) {
    for (auto& c : list) {
      if (c != "08") continue;
      for (const char* alt : {"09", "07", "10"}) {
        if (std::find(list.begin(), list.end(), alt) == list.end()) {
          c = alt;
          break;
        }
      }
    }
  }
  return list;
}

int SaturdayOf(int serial) { return Weekday(serial) == 0 ? serial - 1 : serial; }

}  // namespace

const std::vector<TrackDef>& CourseTracks(std::string_view course) {
  static const std::vector<TrackDef> none;
  auto& all = AllTracks();
  auto it = all.find(std::string(course));
  return it == all.end() ? none : it->second;
}

std::vector<TrackDef> TracksOn(std::string_view course, Surface surface) {
  std::vector<TrackDef> out;
  for (auto& t : CourseTracks(course))
    if (t.surface == surface) out.push_back(t);
  return out;
}

bool IsJraCourse(std::string_view c) { return c.size() == 2 && c >= "01" && c <= "10"; }

bool IsEastCourse(std::string_view c) {
  return c == "01" || c == "02" || c == "03" || c == "04" || c == "05" || c == "06";
}

std::vector<std::string> ActiveCourses(int serial) {
  int y, m, d;
  CivilFromSerial(SaturdayOf(serial), y, m, d);
  return CoursesOfMonth(y, m);
}

void MeetingAndDay(int serial, std::string_view course, int& meeting, int& day) {
  int sat = SaturdayOf(serial);
  int y, m, d;
  CivilFromSerial(sat, y, m, d);
  meeting = 0;
  for (int month = 1; month <= m; ++month) {
    auto list = CoursesOfMonth(y, month);
    if (std::find(list.begin(), list.end(), course) != list.end()) ++meeting;
  }
  if (meeting == 0) meeting = 1;
  int weekend = (d - 1) / 7;
  day = weekend * 2 + (Weekday(serial) == 0 ? 2 : 1);
}

const std::vector<std::string>& LocalCourses() {
  static const std::vector<std::string> courses = {"44", "45", "43", "42", "47", "50", "35"};
  return courses;
}

}  // namespace furlong::demo
