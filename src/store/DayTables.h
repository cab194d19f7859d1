#pragma once
// The in-memory tables of one loaded meeting: raw records exactly as they
// stand in the store files (closing CR LF included), statically sized and
// reused for every meeting. Indexes: race slot 0-11, runner slot 0-17
// (horse number - 1), past run 0-4 (0 = the last run before the race).
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "store/Record.h"
#include "store/RecordLayout.h"

namespace furlong {

inline constexpr int kRaceSlots = 12;
inline constexpr int kRunnerSlots = 18;
inline constexpr int kPastRuns = 5;

// One raw record of fixed length N.
template <std::size_t N>
struct RawRecord {
  std::array<char, N> bytes;
  std::string_view view() const { return {bytes.data(), N}; }
  operator std::string_view() const { return view(); }
  void Blank() { std::memset(bytes.data(), ' ', N); }
  bool IsBlank() const { return furlong::IsBlank(view()); }
  void Assign(std::string_view rec) {
    Blank();
    std::memcpy(bytes.data(), rec.data(), rec.size() < N ? rec.size() : N);
  }
};

using RaRecord = RawRecord<kRaLength>;
using SeRecord = RawRecord<kSeLength>;
using HrRecord = RawRecord<kHrLength>;
using UmRecord = RawRecord<kUmLength>;
using OddsRecord = RawRecord<kOddsLength>;

// One payout entry of the summary tables. `pair` is the pair text (" 1- 2")
// for bracket quinella, quinella and wide; horse is used for win and place.
struct PayoutEntry {
  std::int32_t horse = 0;
  std::int32_t popularity = 0;
  std::int32_t amount = 0;
  char pairLength = 0;
  char pair[7] = {};
  std::string_view Pair() const { return {pair, static_cast<std::size_t>(pairLength)}; }
};

// The payout slots of a race per bet kind, as JRA publishes them: 単勝 3,
// 複勝 5, 枠連 3, 馬連 3, ﾜｲﾄﾞ 7.
template <typename Entry>
struct PayoutSlots {
  std::array<Entry, 3> win;
  std::array<Entry, 5> place;
  std::array<Entry, 3> bracketQuinella;
  std::array<Entry, 3> quinella;
  std::array<Entry, 7> wide;
};

struct RacePayouts : PayoutSlots<PayoutEntry> {};

// The race's own result texts of one runner slot, as the day loading sets
// them (Shift-JIS, blank forms included).
struct ResultTexts {
  std::string finish;      // width 2: "  ", "―", "%2d"
  std::string popularity;  // width 2: "  ", "--", "%2d"
  std::string odds;        // width 5: "     ", "-----", "%5.1f"
  std::string time;        // width 6: "      ", "------", "m.ss.t"
};

struct DayTables {
  std::array<RaRecord, kRaceSlots> RaceRecords;
  std::array<std::array<SeRecord, kRunnerSlots>, kRaceSlots> RunnerRecords;
  std::array<std::array<UmRecord, kRunnerSlots>, kRaceSlots> HorseRecords;
  std::array<std::array<std::array<SeRecord, kPastRuns>, kRunnerSlots>, kRaceSlots> PastRunRecords;
  std::array<std::array<std::array<RaRecord, kPastRuns>, kRunnerSlots>, kRaceSlots> PastRaceRecords;
  std::array<HrRecord, kRaceSlots> PayoutRecords;
  std::array<OddsRecord, kRaceSlots> PredictedOddsRecords;

  std::array<RacePayouts, kRaceSlots> Payouts;
  std::array<std::array<ResultTexts, kRunnerSlots>, kRaceSlots> Results;

  // The meeting these tables hold (Shift-JIS MeetingBaseName), empty before a load.
  std::string meeting;
  // Race slots that hold a race (year not blank and not "0000"), in slot order.
  std::array<bool, kRaceSlots> hasRace{};

  // Fills every record table with spaces.
  void BlankAll();
};

}  // namespace furlong

namespace furlong {
// Registered runners of a race record (columns 882-883), at most 18: a larger
// count is treated as 18 everywhere but the header line that shows it.
inline int RegisteredRunners(std::string_view ra) {
  int n = FieldNumber(ra, ra::kRegisteredRunners);
  return n > kRunnerSlots ? kRunnerSlots : n;
}
}  // namespace furlong
