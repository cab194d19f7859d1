// The race programme: each race day's weather and going, the conditions
// every race shares (symbol, start time, prizes), and the season's
// meetings, twelve races a racecourse and day, before the demo weekend.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "demo/DemoWorldBuilder.h"

namespace furlong::demo {

namespace {

using C = ClassKind;

// Now and then a race of the season has a dead heat, a runner scratched or
// one pulled up.
Happening SeasonHappening(int raceIndex) {
  if (raceIndex % 97 == 13) return Happening::DeadHeatThird;
  if (raceIndex % 211 == 50) return Happening::DeadHeatFirst;
  if (raceIndex % 61 == 7) return Happening::Scratched;
  if (raceIndex % 89 == 3) return Happening::PulledUp;
  return Happening::None;
}

}  // namespace

Race RaceOn(int date, const std::string& course, int number) {
  Race r;
  r.date = date;
  r.course = course;
  MeetingAndDay(date, course, r.meeting, r.day);
  r.number = number;
  return r;
}

std::array<int, 5> Prizes(const Race& r) {
  int first;
  if (!IsJraCourse(r.course)) {
    first = r.course == "G0" ? 0 : r.filed ? 40000 : 800;
  } else if (r.track.surface == Surface::Jump) {
    first = 10000;
  } else if (r.grade == 'A') {
    first = 180000;
  } else if (r.grade == 'B') {
    first = r.raceType == 11 ? 43000 : 60000;
  } else if (r.grade == 'C') {
    first = r.raceType == 11 ? 38000 : 43000;
  } else {
    switch (r.cls) {
      case C::Newcomer: first = 7200; break;
      case C::Maiden: first = 5600; break;
      case C::Win1: first = r.named ? 10000 : 8200; break;
      case C::Win2: first = r.named ? 15000 : 11500; break;
      case C::Win3: first = 18400; break;
      default: first = 24000; break;
    }
  }
  // Second to fifth: 40, 25, 15 and 10 per cent, in whole thousands of yen.
  return {first, first * 4 / 100 * 10, first * 25 / 1000 * 10, first * 15 / 1000 * 10, first / 100 * 10};
}

std::string RaceSymbol(const Race& r) {
  if (r.grade == 'A' || r.grade == 'B' || r.grade == 'C') return r.grade == 'C' ? "N03" : "N01";
  if (r.track.surface == Surface::Jump) return "A00";
  if (r.named) return r.fillies ? "A24" : "A04";
  return r.fillies ? "A23" : "A03";
}

int StartTime(int number, int later) {
  const int minutes = 9 * 60 + 50 + (number - 1) * 30 + (number >= 5 ? 20 : 0) + later;
  return (minutes / 60) * 100 + minutes % 60;
}

void PutCourseDay(Race& r, const CourseDay& cd) {
  r.weather = cd.weather;
  r.turfGoing = cd.turf;
  r.dirtGoing = cd.dirt;
}

CourseDay& WorldBuilder::DayAt(int date, const std::string& course) {
  auto key = std::make_pair(date, course);
  auto it = courseDays_.find(key);
  if (it != courseDays_.end()) return it->second;
  CourseDay d;
  d.weather = static_cast<int>(rng_.Weighted({55, 30, 0, 8, 7})) + 1;  // 1 fine, 2 cloudy, 4 light rain, 5 rain
  if (d.weather == 5) d.weather = 3;
  bool wet = d.weather >= 3;
  d.turf = static_cast<int>(rng_.Weighted(wet ? std::vector<double>{25, 35, 25, 15} : std::vector<double>{78, 15, 5, 2})) + 1;
  d.dirt = std::min(4, d.turf + (rng_.Chance(0.4) ? 1 : 0));
  return courseDays_.emplace(key, d).first->second;
}

// The common end of every card race: its symbol, field size and prizes.
void WorldBuilder::AddCardRace(Meeting& m, Race r, int lo, int hi) {
  r.symbol = RaceSymbol(r);
  r.registered = std::min(rng_.Int(lo, hi), r.track.maxRunners);
  r.prize = Prizes(r);
  m.races.push_back(static_cast<int>(w_.races.size()));
  racesAt_[{r.date, r.course}].push_back(static_cast<int>(w_.races.size()));
  w_.races.push_back(std::move(r));
}

// The weekends before the demo weekend, every race run: for each racecourse
// of the month a card of twelve races a day.
void WorldBuilder::MakeSeasonMeetings() {
  const int demoSaturday = DaySerial(kYear, 11, 16);
  for (int week = weeks_ - 1; week >= 1; --week) {
    const int saturday = demoSaturday - 7 * week;
    for (int date : {saturday, saturday + 1}) {
      seasonDates_.insert(date);
      for (const std::string& course : ActiveCourses(date)) {
        Meeting m;
        m.date = date;
        m.course = course;
        const CourseDay& cd = DayAt(date, course);
        const bool jumpRace = !TracksOn(course, Surface::Jump).empty() && rng_.Chance(0.6);
        for (int number = 1; number <= 12; ++number) {
          Race r = SeasonRace(date, course, number, jumpRace);
          PutCourseDay(r, cd);
          // Now and then a small field.
          const int lo = rng_.Chance(0.08) ? 5 : rng_.Int(9, 13);
          const int hi = lo == 5 ? 8 : 18;
          const int raceIndex = static_cast<int>(w_.races.size());
          if (const Happening here = SeasonHappening(raceIndex); here != Happening::None)
            seasonHappenings_[raceIndex] = here;
          AddCardRace(m, std::move(r), lo, hi);
        }
        w_.meetings.push_back(std::move(m));
      }
    }
  }
}

// Race `number` of a season's race day: maidens and newcomers in the
// morning (one jump race at the fourth where `jumpRace`), the winners'
// classes in the afternoon, the special races ninth to eleventh.
Race WorldBuilder::SeasonRace(int date, const std::string& course, int number, bool jumpRace) {
  const int month = MonthOf(date);
  const bool spring = month <= 5;  // before the two-year-olds start
  Race r = RaceOn(date, course, number);
  r.current = true;
  r.dataKind = '7';
  const bool young = !spring && (number <= 3 || number == 5 || number == 6 || (number == 4 && month >= 9));
  if (number <= 4) {
    r.cls = C::Maiden;
    r.raceType = young ? 11 : 12;
  } else if (number <= 6) {
    r.cls = young || month <= 2 ? C::Newcomer : C::Maiden;
    r.raceType = young ? 11 : 12;
  } else {
    static const ClassKind kAfternoon[6] = {C::Win1, C::Win1, C::Win1, C::Win2, C::Open, C::Win2};
    r.cls = kAfternoon[number - 7];
    if (number == 10 && rng_.Chance(0.3)) r.cls = C::Win3;
    r.raceType = spring ? (number == 7 ? 12 : 14) : 13;
  }
  Surface surface = rng_.Chance(number == 11 ? 0.7 : 0.5) ? Surface::Turf : Surface::Dirt;
  if (number == 4 && jumpRace) {
    surface = Surface::Jump;
    r.raceType = spring ? 19 : 18;
  }
  const std::vector<TrackDef> tracks = TracksOn(course, surface);
  r.track = rng_.Pick(tracks);
  r.weightRule = r.raceType == 11 || r.raceType == 12 ? '3' : '4';
  if (number >= 9 && number <= 11) {
    r.named = true;
    r.grade = 'E';
    if (number == 11 && rng_.Chance(0.15)) {
      r.grade = "ABC"[rng_.Weighted({10, 30, 60})];
      r.edition = rng_.Int(10, 75);
    }
    if (r.cls == C::Open && r.grade == 'E' && r.raceType != 11 && r.raceType != 12)
      r.weightRule = rng_.Chance(0.8) ? '2' : '1';
    static const std::vector<std::string> suffixes = {"特別", "ステークス", "賞", "カップ"};
    r.name = w_.names.SpecialRaceName(rng_, month, suffixes[static_cast<std::size_t>(number - 9 + (r.cls == C::Open ? 1 : 0))]);
    r.specialNumber = rng_.Int(1, 999);
  }
  r.startTime = StartTime(number);
  return r;
}

}  // namespace furlong::demo
