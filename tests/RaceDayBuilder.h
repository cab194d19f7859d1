#pragma once
// Builders for analysis tests: a blank day (heap-allocated, it is large) and
// setters that write record fields by column.
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "store/DayTables.h"
#include "store/Encoding.h"

namespace furlong::test {

inline std::unique_ptr<DayTables> BlankDay() {
  auto day = std::make_unique<DayTables>();
  day->BlankAll();
  return day;
}

// Writes `text` (Shift-JIS bytes) at 1-based column `col`.
template <std::size_t N>
void PutAt(RawRecord<N>& rec, std::size_t col, std::string_view text) {
  std::memcpy(rec.bytes.data() + col - 1, text.data(), text.size());
}

// Writes a number zero-padded to `width` at `col`.
template <std::size_t N>
void PutNumAt(RawRecord<N>& rec, std::size_t col, int width, long long value) {
  std::string s = std::to_string(value);
  if (s.size() < static_cast<std::size_t>(width)) s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
  PutAt(rec, col, s);
}

// The analysed race of a slot: date yyyymmdd, racecourse code, registered
// runners, distance and track code.
inline void SetRace(DayTables& day, int slot, std::string_view date, std::string_view course, int runners,
                    int distance = 1600, int track = 17) {
  RaRecord& ra = day.RaceRecords[slot];
  PutAt(ra, 1, "RA");
  PutAt(ra, 12, date);
  PutAt(ra, 20, course);
  PutNumAt(ra, 882, 2, runners);
  PutNumAt(ra, 698, 4, distance);
  PutNumAt(ra, 706, 2, track);
}

// One past run: the SE record of the run and the RA record of its race.
// Texts are written as given (blank leaves the field blank).
struct PastRun {
  std::string course = "05";          // SE and RA columns 20-21
  std::string date = "20031221";      // columns 12-19
  std::string carried = "550";        // SE 289-291
  std::string time = "1345";          // SE 339-342
  std::string corners = "00000000";   // SE 352-359
  std::string last3F = "345";         // SE 391-393
  std::string difference = "+003";    // SE 532-535
  std::string distance = "1600";      // RA 698-701
  std::string track = "11";           // RA 706-707
  std::string grade = " ";            // RA 615
  std::string condition = "010";      // RA 635-637
  bool withRace = true;               // false: no race record for the run
};

inline void SetPastRun(DayTables& day, int slot, int runner, int k, const PastRun& p) {
  SeRecord& se = day.PastRunRecords[slot][runner][k];
  se.Blank();
  PutAt(se, 1, "SE");
  PutAt(se, 12, p.date);
  PutAt(se, 20, p.course);
  PutAt(se, 289, p.carried);
  PutAt(se, 339, p.time);
  PutAt(se, 352, p.corners);
  PutAt(se, 391, p.last3F);
  PutAt(se, 532, p.difference);
  RaRecord& ra = day.PastRaceRecords[slot][runner][k];
  ra.Blank();
  if (!p.withRace) return;
  PutAt(ra, 1, "RA");
  PutAt(ra, 12, p.date);
  PutAt(ra, 20, p.course);
  PutAt(ra, 615, p.grade);
  PutAt(ra, 635, p.condition);
  PutAt(ra, 698, p.distance);
  PutAt(ra, 706, p.track);
}

}  // namespace furlong::test
