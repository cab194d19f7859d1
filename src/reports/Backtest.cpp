#include "reports/Backtest.h"

#include <memory>
#include <mutex>
#include <optional>

#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/ParallelFor.h"
#include "store/Record.h"
#include "store/RecordLayout.h"
#include "store/TextFormat.h"

namespace furlong {

const char* BetKindKey(BetKind kind) {
  static const char* const keys[kBetKinds] = {"win", "place", "quinella", "wide"};
  return keys[static_cast<int>(kind)];
}

const char* BetKindLabel(BetKind kind) {
  static const char* const labels[kBetKinds] = {"単勝", "複勝", "馬連", "ワイド"};
  return labels[static_cast<int>(kind)];
}

const char* GroupKindKey(GroupKind kind) {
  static const char* const keys[kGroupKinds] = {"racecourse", "surface", "distance", "class", "field_size", "month"};
  return keys[static_cast<int>(kind)];
}

const char* GroupKindLabel(GroupKind kind) {
  static const char* const labels[kGroupKinds] = {"競馬場", "芝ダ", "距離", "クラス", "頭数", "月"};
  return labels[static_cast<int>(kind)];
}

BetTotals& BetTotals::operator+=(const BetTotals& o) {
  races += o.races;
  bets += o.bets;
  hits += o.hits;
  stake += o.stake;
  returned += o.returned;
  return *this;
}

KindTotals& KindTotals::operator+=(const KindTotals& o) {
  for (int k = 0; k < kBetKinds; ++k) kinds[static_cast<std::size_t>(k)] += o.kinds[static_cast<std::size_t>(k)];
  return *this;
}

// ---- groups ------------------------------------------------------------------

std::array<RaceGroup, kGroupKinds> RaceGroups(std::string_view ra) {
  std::array<RaceGroup, kGroupKinds> g;
  const std::string_view course = CourseCode(ra);
  g[0] = {std::string(course), std::string(TrimSpaces(CourseName(course)))};

  switch (SurfaceOf(FieldNumber(ra, ra::kTrackCode))) {
    case Surface::kTurf: g[1] = {"1", SJ("芝")}; break;
    case Surface::kDirt: g[1] = {"2", SJ("ダート")}; break;
    case Surface::kJump: g[1] = {"3", SJ("障害")}; break;
    case Surface::kOther: g[1] = {"4", SJ("その他")}; break;
  }

  switch (DistanceBandOf(FieldNumber(ra, ra::kDistance))) {
    case DistanceBand::kShort: g[2] = {"1", SJ("短")}; break;
    case DistanceBand::kMiddle: g[2] = {"2", SJ("中")}; break;
    case DistanceBand::kLong: g[2] = {"3", SJ("長")}; break;
  }

  const std::string_view condition = ra::ConditionYoungest(ra);
  g[3] = {std::string(condition), std::string(TrimSpaces(ConditionClassText(condition)))};
  if (g[3].name.empty()) g[3].name = SJ("なし");

  const int n = RegisteredRunners(ra);
  if (n <= 8) g[4] = {"1", SJ("8頭以下")};
  else if (n <= 12) g[4] = {"2", SJ("9-12頭")};
  else if (n <= 16) g[4] = {"3", SJ("13-16頭")};
  else g[4] = {"4", SJ("17-18頭")};

  const std::string_view date = RaceDate(ra);
  std::string month = std::string(date.substr(0, 4)) + "-" + std::string(date.substr(4, 2));
  g[5] = {month, month};
  return g;
}

// ---- one race ----------------------------------------------------------------

namespace {

template <std::size_t N>
bool AnyPaid(const std::array<PayoutEntry, N>& entries) {
  for (const PayoutEntry& e : entries)
    if (e.amount > 0) return true;
  return false;
}

void AddBet(BetTotals& t, std::int64_t returned) {
  t.bets += 1;
  t.stake += kStakePerBet;
  t.returned += returned;
  if (returned > 0) t.hits += 1;
}

template <std::size_t N>
void ScorePairs(const std::array<std::string, 6>& bets, const std::array<PayoutEntry, N>& entries, BetTotals& t) {
  if (!AnyPaid(entries)) return;
  bool staked = false;
  for (const std::string& bet : bets) {
    if (IsBlank(bet)) continue;
    std::int64_t returned = 0;
    for (const PayoutEntry& e : entries)
      if (e.amount > 0 && e.Pair().substr(0, 5) == bet) returned += e.amount;
    AddBet(t, returned);
    staked = true;
  }
  if (staked) t.races += 1;
}

template <std::size_t N>
void ScoreHorse(int horse, const std::array<PayoutEntry, N>& entries, BetTotals& t) {
  if (horse < 1 || !AnyPaid(entries)) return;
  std::int64_t returned = 0;
  for (const PayoutEntry& e : entries)
    if (e.amount > 0 && e.horse == horse) returned += e.amount;
  AddBet(t, returned);
  t.races += 1;
}

}  // namespace

RaceReturn ScoreRace(bool analysed, const std::array<std::string, 6>& bets, int favourite,
                     const RacePayouts& payouts) {
  RaceReturn r;
  if (!analysed || !AnyPaid(payouts.win)) return r;
  r.counted = true;
  ScoreHorse(favourite, payouts.win, r.totals[BetKind::kWin]);
  ScoreHorse(favourite, payouts.place, r.totals[BetKind::kPlace]);
  ScorePairs(bets, payouts.quinella, r.totals[BetKind::kQuinella]);
  ScorePairs(bets, payouts.wide, r.totals[BetKind::kWide]);
  return r;
}

// ---- dates and meetings --------------------------------------------------------

bool IsValidDate(std::string_view s) {
  if (s.size() != 8 || !DigitsValue(s)) return false;
  const int y = static_cast<int>(ReadNumber(s.substr(0, 4)));
  const int m = static_cast<int>(ReadNumber(s.substr(4, 2)));
  const int d = static_cast<int>(ReadNumber(s.substr(6, 2)));
  if (y < 1900 || m < 1 || m > 12 || d < 1) return false;
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= days[m - 1] + (m == 2 && leap ? 1 : 0);
}

std::string MeetingDate(std::string_view name) {
  // yyyy 年 mm 月 dd 日: four digits, two bytes, two digits, two bytes, two digits.
  if (name.size() < 14) return {};
  std::string date = std::string(name.substr(0, 4)) + std::string(name.substr(6, 2)) + std::string(name.substr(10, 2));
  return IsValidDate(date) ? date : std::string();
}

std::vector<std::string> MeetingsInRange(const Store& store, std::string_view from, std::string_view to) {
  std::vector<std::string> out;
  for (const std::string& name : store.MeetingNames()) {
    const std::string date = MeetingDate(name);
    if (date.empty()) continue;
    if (!from.empty() && date < from) continue;
    if (!to.empty() && date > to) continue;
    out.push_back(name);
  }
  return out;
}

// ---- the run -------------------------------------------------------------------

namespace {

// What one meeting gives: its counted races with their groups and returns.
struct MeetingReturn {
  bool loaded = false;
  std::string failure;  // UTF-8, when not loaded
  struct Race {
    std::array<RaceGroup, kGroupKinds> groups;
    KindTotals totals;
  };
  std::vector<Race> races;
};

int FavouriteOf(const RunnerAnalysisTable& runners, int slot, int n) {
  const std::string& mark = SJ("◎");
  for (int r = 0; r < n && r < kRunnerSlots; ++r)
    if (runners[static_cast<std::size_t>(slot)][static_cast<std::size_t>(r)].Mark == mark) return r + 1;
  return 0;
}

MeetingReturn ScoreMeeting(MeetingFlow& flow, const std::string& meeting) {
  MeetingReturn m;
  try {
    m.loaded = AnalyseEveryRace(flow, meeting, {}, [&](const RaceAnalysisResult& res) {
      const std::string_view ra = flow.Day().RaceRecords[static_cast<std::size_t>(res.slot)].view();
      const int favourite = FavouriteOf(flow.Analyzer().Runners(), res.slot, res.runnerCount);
      RaceReturn r = ScoreRace(res.analysed, res.bets, favourite, flow.Day().Payouts[static_cast<std::size_t>(res.slot)]);
      if (r.counted) m.races.push_back({RaceGroups(ra), r.totals});
    });
    if (!m.loaded) m.failure = SjisToUtf8(SJ("データ作成が未完了のようです。"));
  } catch (const std::exception& e) {
    m.loaded = false;
    m.races.clear();
    m.failure = e.what();
  }
  return m;
}

void Merge(BacktestResult& result, const std::string& meeting, const MeetingReturn& m) {
  if (!m.loaded) {
    ++result.skippedMeetings;
    return;
  }
  ++result.meetings;
  const std::string date = MeetingDate(meeting);
  for (const MeetingReturn::Race& race : m.races) {
    ++result.races;
    result.total += race.totals;
    for (int g = 0; g < kGroupKinds; ++g) {
      const RaceGroup& group = race.groups[static_cast<std::size_t>(g)];
      GroupTotals& t = result.by[static_cast<std::size_t>(g)][group.key];
      t.name = group.name;
      t.totals += race.totals;
    }
    if (result.dates.empty() || result.dates.back().date != date) result.dates.push_back({date, {}});
    result.dates.back().totals += race.totals;
  }
}

}  // namespace

BacktestResult RunBacktest(const Store& store, const BacktestOptions& options) {
  BacktestResult result;
  result.from = options.from;
  result.to = options.to;
  const std::vector<std::string> meetings = MeetingsInRange(store, options.from, options.to);
  const int total = static_cast<int>(meetings.size());
  if (total == 0) return result;

  // Each worker takes the next meeting; the meetings are merged in calendar
  // order as soon as they are all there up to that point, so the result is
  // that of one thread. A meeting not scored (cancelled) stops the merge.
  std::vector<std::optional<MeetingReturn>> done(meetings.size());
  std::mutex mutex;
  std::size_t merged = 0;
  auto mergeReady = [&] {  // with the mutex held
    while (merged < done.size() && done[merged]) {
      const MeetingReturn& m = *done[merged];
      if (!m.loaded && options.skipped) options.skipped(SjisToUtf8(meetings[merged]), m.failure);
      Merge(result, meetings[merged], m);
      done[merged].reset();
      ++merged;
      if (options.progress) options.progress(static_cast<int>(merged), total);
    }
  };
  const unsigned workers = options.threads >= 2 ? 2 : 1;
  std::vector<std::unique_ptr<MeetingFlow>> flows(workers);
  ParallelFor(meetings.size(), workers, [&](std::size_t i, unsigned worker) {
    if (options.cancel && options.cancel->load()) return;
    if (!flows[worker]) flows[worker] = std::make_unique<MeetingFlow>(store);
    MeetingReturn m = ScoreMeeting(*flows[worker], meetings[i]);
    std::lock_guard<std::mutex> lock(mutex);
    done[i] = std::move(m);
    mergeReady();
  });
  result.cancelled = merged < meetings.size();
  return result;
}

// ---- CSV -------------------------------------------------------------------------

namespace {

std::string Rate(double v) { return std::string(TrimSpaces(FormatFixed(v, 8, 1))); }

void CsvRows(std::string& out, const std::string& kind, const std::string& name, const KindTotals& t) {
  for (BetKind b : kAllBetKinds) {
    const BetTotals& x = t[b];
    out += CsvField(kind) + "," + CsvField(name) + "," + BetKindKey(b) + "," + std::to_string(x.races) + "," +
           std::to_string(x.bets) + "," + std::to_string(x.hits) + "," + std::to_string(x.stake) + "," +
           std::to_string(x.returned) + ",";
    if (x.HasStake()) out += Rate(x.HitRate() * 100.0) + "," + Rate(x.ReturnRate());
    else out += ",";
    out += "\r\n";
  }
}

}  // namespace

std::string BacktestCsv(const BacktestResult& result) {
  std::string out = "group_kind,group,bet,races,bets,hits,stake,return,hit_rate,return_rate\r\n";
  CsvRows(out, "total", "", result.total);
  for (int g = 0; g < kGroupKinds; ++g)
    for (const auto& [key, group] : result.by[static_cast<std::size_t>(g)])
      CsvRows(out, GroupKindKey(static_cast<GroupKind>(g)), SjisToUtf8(group.name), group.totals);
  return out;
}

}  // namespace furlong
