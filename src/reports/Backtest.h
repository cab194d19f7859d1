#pragma once
// The return on the program's own bets (回収率) over a range of meeting
// dates: every stored meeting of the range is chosen and each race analysed
// as the hit report does, and 100 yen is put on each of its bets, wide and
// quinella on the six suggested pairs, win and place on the ◎ horse. The
// totals come per bet kind, for the whole range and per racecourse,
// surface, distance band, class, field size and month. No widgets.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/MeetingFlow.h"
#include "analysis/RaceAnalysisResult.h"
#include "store/DayTables.h"
#include "store/Store.h"

namespace furlong {

enum class BetKind : std::uint8_t { kWin, kPlace, kQuinella, kWide };
inline constexpr int kBetKinds = 4;
inline constexpr std::array<BetKind, kBetKinds> kAllBetKinds = {BetKind::kWin, BetKind::kPlace, BetKind::kQuinella,
                                                                BetKind::kWide};
// "win", "place", "quinella", "wide".
const char* BetKindKey(BetKind kind);
// "単勝", "複勝", "馬連", "ワイド" (UTF-8).
const char* BetKindLabel(BetKind kind);

inline constexpr int kStakePerBet = 100;

// One bet kind's totals. `races` counts the races in which the kind was
// staked at least once. Amounts in yen.
struct BetTotals {
  std::int64_t races = 0;
  std::int64_t bets = 0;
  std::int64_t hits = 0;
  std::int64_t stake = 0;
  std::int64_t returned = 0;
  BetTotals& operator+=(const BetTotals& o);
  bool operator==(const BetTotals&) const = default;
  // hits / bets and returned / stake x 100; false when nothing was staked.
  bool HasStake() const { return stake > 0; }
  double HitRate() const { return bets > 0 ? static_cast<double>(hits) / static_cast<double>(bets) : 0.0; }
  double ReturnRate() const { return stake > 0 ? static_cast<double>(returned) * 100.0 / static_cast<double>(stake) : 0.0; }
};

struct KindTotals {
  std::array<BetTotals, kBetKinds> kinds{};
  BetTotals& operator[](BetKind k) { return kinds[static_cast<std::size_t>(k)]; }
  const BetTotals& operator[](BetKind k) const { return kinds[static_cast<std::size_t>(k)]; }
  KindTotals& operator+=(const KindTotals& o);
  bool operator==(const KindTotals&) const = default;
};

// The group kinds, in the order they are reported.
enum class GroupKind : std::uint8_t { kRacecourse, kSurface, kDistance, kClass, kFieldSize, kMonth };
inline constexpr int kGroupKinds = 6;
// "racecourse", "surface", "distance", "class", "field_size", "month".
const char* GroupKindKey(GroupKind kind);
// "競馬場", "芝ダ", "距離", "クラス", "頭数", "月" (UTF-8).
const char* GroupKindLabel(GroupKind kind);

// One group: its name (Shift-JIS: CourseName, "芝", "短", "ｵｰﾌﾟﾝ", "9-12頭",
// "2024-05", ...) and totals. Groups are ordered by a key of their own
// (racecourse code, surface order, ...), not by name.
struct GroupTotals {
  std::string name;
  KindTotals totals;
  bool operator==(const GroupTotals&) const = default;
};
using GroupTable = std::map<std::string, GroupTotals>;  // by order key

// The group of each kind a race belongs to: order key and name.
struct RaceGroup {
  std::string key;
  std::string name;
};
std::array<RaceGroup, kGroupKinds> RaceGroups(std::string_view ra);

// What one race gives, with 100 yen on each bet; `counted` is false for a
// race that does not count (the analysis stopped, or no win payout above 0).
struct RaceReturn {
  bool counted = false;
  KindTotals totals;
};
// The bets of one analysed race: `bets` are the six pair texts (kaiLabel1-6),
// `favourite` the horse number of ◎ (0 for none).
RaceReturn ScoreRace(bool analysed, const std::array<std::string, 6>& bets, int favourite,
                     const RacePayouts& payouts);

// The totals of one date, for the running return over the range.
struct DateTotals {
  std::string date;  // yyyymmdd
  KindTotals totals;
  bool operator==(const DateTotals&) const = default;
};

struct BacktestOptions {
  std::string from;  // yyyymmdd, inclusive; empty for no bound
  std::string to;
  int threads = 1;   // 1 or 2; the result does not depend on it
  // Meetings done and meetings in the range, after each meeting.
  std::function<void(int done, int total)> progress;
  // A meeting that could not be loaded (its name in UTF-8 and why); it is skipped.
  std::function<void(const std::string& meeting, const std::string& why)> skipped;
  // Set from another thread to stop after the meetings under way.
  const std::atomic<bool>* cancel = nullptr;
};

struct BacktestResult {
  std::string from, to;  // as asked (yyyymmdd or empty)
  int meetings = 0;      // meetings of the range that were analysed
  int skippedMeetings = 0;
  int races = 0;         // counted races
  bool cancelled = false;
  KindTotals total;
  std::array<GroupTable, kGroupKinds> by;
  std::vector<DateTotals> dates;  // calendar order, dates with a counted race
  bool operator==(const BacktestResult&) const = default;
};

// True for eight digits that form a calendar date.
bool IsValidDate(std::string_view yyyymmdd);
// The date of a MeetingBaseName ("2024年11月16日東京") as yyyymmdd, or empty.
std::string MeetingDate(std::string_view meetingBaseName);
// The stored meetings whose dates lie in [from, to], in calendar order
// (ascending name order: date, then name).
std::vector<std::string> MeetingsInRange(const Store& store, std::string_view from, std::string_view to);

// Runs the computation. Meetings are loaded with their own flows (one per
// thread); a file that cannot be read skips its meeting.
BacktestResult RunBacktest(const Store& store, const BacktestOptions& options);

// One CSV line per group and bet kind, with a header line; the whole range
// first (group kind "total"). UTF-8, CR LF line ends.
std::string BacktestCsv(const BacktestResult& result);

}  // namespace furlong
