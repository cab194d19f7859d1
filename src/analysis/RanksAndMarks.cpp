#include "analysis/RanksAndMarks.h"

#include <cstddef>
#include <string>

#include "store/Encoding.h"
#include "store/Record.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"

namespace furlong {

namespace {

// A runner slot and the value it is ordered by.
struct Entry {
  std::int64_t key = 0;
  std::int64_t key2 = 0;
  int r = 0;
};

// Insertion sort: at most 18 entries, no allocation. `before(a, b)` is true
// when a comes first.
template <typename Before>
void SortEntries(std::array<Entry, kRunnerSlots>& e, int count, Before before) {
  for (int i = 1; i < count; ++i) {
    Entry x = e[i];
    int j = i - 1;
    while (j >= 0 && before(x, e[j])) {
      e[j + 1] = e[j];
      --j;
    }
    e[j + 1] = x;
  }
}

using TextOf = const std::string& (*)(const RunnerAnalysis&);

struct RankedFigure {
  TextOf text;
  std::int32_t RunnerAnalysis::*rank;
};

const RankedFigure kRankedFigures[] = {
    {[](const RunnerAnalysis& a) -> const std::string& { return a.AbilityAvg; }, &RunnerAnalysis::AbilityAvgRank},
    {[](const RunnerAnalysis& a) -> const std::string& { return a.AbilityBest; }, &RunnerAnalysis::AbilityBestRank},
    {[](const RunnerAnalysis& a) -> const std::string& { return a.PastAbility[0]; }, &RunnerAnalysis::AbilityLastRank},
    {[](const RunnerAnalysis& a) -> const std::string& { return a.DIndexAvg; }, &RunnerAnalysis::DIndexAvgRank},
    {[](const RunnerAnalysis& a) -> const std::string& { return a.DIndexBest; }, &RunnerAnalysis::DIndexBestRank},
    {[](const RunnerAnalysis& a) -> const std::string& { return a.PastDIndex[0]; }, &RunnerAnalysis::DIndexLastRank},
    {[](const RunnerAnalysis& a) -> const std::string& { return a.LegPowerAvg; }, &RunnerAnalysis::LegPowerAvgRank},
    {[](const RunnerAnalysis& a) -> const std::string& { return a.LegPowerBest; }, &RunnerAnalysis::LegPowerBestRank},
    {[](const RunnerAnalysis& a) -> const std::string& { return a.PastLegPower[0]; }, &RunnerAnalysis::LegPowerLastRank},
    {[](const RunnerAnalysis& a) -> const std::string& { return a.PastTotal[0]; }, &RunnerAnalysis::TotalLastRank},
};

int ClampRunners(int n) { return n < 0 ? 0 : (n > kRunnerSlots ? kRunnerSlots : n); }

// "%2d" of a rank, or "―" when the runner has none.
void SetRankCell(std::string& cell, std::int32_t rank) {
  if (rank < 1) cell = SJ("―");
  else cell = FormatInt(rank, 2);
}

}  // namespace

std::int64_t ParseTenths(std::string_view text) {
  std::size_t i = 0;
  const std::size_t size = text.size();
  while (i < size && text[i] == ' ') ++i;
  bool negative = false;
  if (i < size && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  std::int64_t whole = 0;
  bool digit = false;
  while (i < size && text[i] >= '0' && text[i] <= '9') {
    if (whole < 100000000000000LL) whole = whole * 10 + (text[i] - '0');
    digit = true;
    ++i;
  }
  int tenth = 0;
  bool roundUp = false;
  if (i < size && text[i] == '.') {
    ++i;
    if (i < size && text[i] >= '0' && text[i] <= '9') {
      tenth = text[i] - '0';
      digit = true;
      ++i;
      if (i < size && text[i] >= '5' && text[i] <= '9') roundUp = true;
    }
  }
  if (!digit) return 0;
  std::int64_t v = whole * 10 + tenth + (roundUp ? 1 : 0);
  return negative ? -v : v;
}

void RankRunners(RaceRunners& runners, int n) {
  n = ClampRunners(n);
  for (auto& a : runners)
    for (const auto& f : kRankedFigures) a.*f.rank = 0;
  std::array<Entry, kRunnerSlots> e;
  for (const auto& f : kRankedFigures) {
    int count = 0;
    for (int r = 0; r < n; ++r) {
      const std::string& t = f.text(runners[r]);
      if (IsBlank(t)) continue;
      e[count++] = Entry{ParseTenths(t), 0, r};
    }
    // Largest value first; equal values: the lower horse number first.
    SortEntries(e, count, [](const Entry& a, const Entry& b) {
      return a.key != b.key ? a.key > b.key : a.r < b.r;
    });
    for (int i = 0; i < count; ++i) runners[e[i].r].*f.rank = i + 1;
  }
}

std::int64_t EliminateRunners(RaceRunners& runners, int n) {
  n = ClampRunners(n);
  for (int r = 0; r < n; ++r) {
    runners[r].Mark.clear();
    runners[r].Eliminated = 0;
  }
  std::int64_t g = 0;
  for (int r = 0; r < n; ++r) {
    if (runners[r].AbilityLastRank == 3) {
      g = ParseTenths(runners[r].PastAbility[0]);
      break;
    }
  }
  auto topFour = [](std::int32_t rank) { return rank >= 1 && rank <= 4; };
  for (int r = 0; r < n; ++r) {
    RunnerAnalysis& a = runners[r];
    if (IsBlank(a.PastAbility[0])) continue;
    // Compared in tenths, so a runner exactly 20.0 below g is kept.
    if (ParseTenths(a.PastAbility[0]) >= g - 200) continue;
    if (topFour(a.DIndexBestRank) || topFour(a.DIndexAvgRank) || topFour(a.LegPowerBestRank) ||
        topFour(a.LegPowerAvgRank))
      continue;
    a.Eliminated = 1;
    a.Mark = SJ("消");
  }
  return g;
}

void FillGridCells(const DayTables& day, int slot, const RaceRunners& runners, int n,
                   RaceAnalysisResult& out) {
  n = ClampRunners(n);
  const std::string_view odds = day.PredictedOddsRecords[slot].view();
  for (int r = 0; r < n; ++r) {
    const std::string_view se = day.RunnerRecords[slot][r].view();
    const RunnerAnalysis& a = runners[r];
    VerificationRow& v = out.verificationRows[r];
    PredictionRow& p = out.predictionRows[r];

    const std::string_view frame = se::Bracket(se);
    const int horse = FieldNumber(se, se::kHorseNumber);
    v[kVerFrame] = frame;
    p[kPreFrame] = frame;
    v[kVerHorse] = FormatInt(horse, 2);
    p[kPreHorse] = v[kVerHorse];

    // Verification grid.
    v[kVerName] = se::HorseNameShort(se);
    const std::string_view winOdds = odds::Win(odds, static_cast<std::size_t>(r) + 1);
    // A record field: read by the store's number rule (whole digits only), so
    // odds below 1.0 leave the cell empty.
    if (ReadNumber(winOdds) > 0) v[kVerOdds] = winOdds;
    else v[kVerOdds].clear();
    const double development = a.PastDevelopment[0][2];
    if (development > 0) v[kVerDevelopment] = FormatFixed(development, 5, 1);
    else v[kVerDevelopment] = SJ("―");
    v[kVerAbility].clear();
    v[kVerAbilityRank].clear();
    v[kVerLegPower] = a.PastLegPower[0];
    SetRankCell(v[kVerLegPowerRank], a.LegPowerLastRank);
    v[kVerDIndex] = a.PastDIndex[0];
    SetRankCell(v[kVerDIndexRank], a.DIndexLastRank);
    v[kVerWeight].clear();
    v[kVerWeightRank].clear();
    v[kVerTotal] = a.PastTotal[0];
    SetRankCell(v[kVerTotalRank], a.TotalLastRank);
    v[kVerFinish] = a.ResultFinishText;

    // Prediction grid.
    p[kPreName] = se::HorseName(se);
    p[kPreJockey] = se::JockeyShort(se);
    p[kPreTrainer] = se::TrainerShort(se);
    if (!IsBlank(a.PastAbility[0]) && !IsBlank(a.PastWeightValue[0]))
      p[kPreAxis] = FormatFixed(ParseStoredNumber(a.PastAbility[0]) + ParseStoredNumber(a.PastWeightValue[0]), 6, 1);
    else
      p[kPreAxis].clear();
    p[kPreCombo].assign(1, ' ');
    p[kPreCombo].append(a.AbilityAvg, 0, 5);
    p[kPreLongshot].clear();
    p[kPreMark].clear();
    const int finish = FieldNumber(se, se::kFinishingPosition);
    if (finish >= 1) p[kPreFinish] = FormatInt(finish, 2);
    else p[kPreFinish].clear();
  }
}

void SetDataSufficiency(int n, RaceAnalysisResult& out) {
  n = ClampRunners(n);
  int full = 0;
  for (int r = 0; r < n; ++r) {
    const PredictionRow& p = out.predictionRows[r];
    if (!IsBlank(p[kPreAxis]) && !IsBlank(p[kPreCombo])) ++full;
  }
  // A race without runners has nothing to divide by: it counts as 0.
  out.dataSufficiency = n > 0 ? static_cast<double>(full) / n * 100 : 0.0;
  out.dataSufficiencyText = FormatFixed(out.dataSufficiency, 5, 1);
}

int LongshotPoints(std::int32_t rank) {
  switch (rank) {
    case 1: return 4;
    case 2: return 3;
    case 3: return 2;
    case 4: return 1;
    default: return 0;
  }
}

void GiveMarks(RaceRunners& runners, int n, RaceAnalysisResult& out) {
  n = ClampRunners(n);
  std::array<Entry, kRunnerSlots> e;

  // ◎: the largest 軸指数; equal values go to the higher horse number.
  int axis = -1;
  std::int64_t axisValue = 0;
  for (int r = 0; r < n; ++r) {
    const std::string& t = out.predictionRows[r][kPreAxis];
    if (IsBlank(t)) continue;
    const std::int64_t v = ParseTenths(t);
    if (axis < 0 || v >= axisValue) {
      axis = r;
      axisValue = v;
    }
  }
  if (axis >= 0) {
    runners[axis].Mark = SJ("◎");
    out.predictionRows[axis][kPreMark] = runners[axis].Mark;

    // ○ and ▲: the two largest 連指数 of the others, higher horse number first
    // among equal values.
    int count = 0;
    for (int r = 0; r < n; ++r) {
      if (r == axis) continue;
      const std::string& t = out.predictionRows[r][kPreCombo];
      if (IsBlank(t)) continue;
      e[count++] = Entry{ParseTenths(t), 0, r};
    }
    SortEntries(e, count, [](const Entry& a, const Entry& b) {
      return a.key != b.key ? a.key > b.key : a.r > b.r;
    });
    if (count > 0) runners[e[0].r].Mark = SJ("○");
    if (count > 1) runners[e[1].r].Mark = SJ("▲");
  }

  // 穴指数 from the D index and leg power ranks.
  for (int r = 0; r < n; ++r) {
    RunnerAnalysis& a = runners[r];
    a.LongshotIndex = LongshotPoints(a.DIndexAvgRank) + LongshotPoints(a.DIndexBestRank) +
                      LongshotPoints(a.LegPowerAvgRank) + LongshotPoints(a.LegPowerBestRank);
    std::string& cell = out.predictionRows[r][kPreLongshot];
    if (a.LongshotIndex != 0) cell = FormatInt(a.LongshotIndex, 3);
    else cell.clear();
  }

  // △4-△7: unmarked runners with a 穴指数 and a mean ability, by 穴指数, then
  // mean ability, then horse number, all descending.
  int count = 0;
  for (int r = 0; r < n; ++r) {
    const RunnerAnalysis& a = runners[r];
    if (a.LongshotIndex <= 0 || IsBlank(a.AbilityAvg) || !a.Mark.empty()) continue;
    e[count++] = Entry{a.LongshotIndex, ParseTenths(a.AbilityAvg), r};
  }
  SortEntries(e, count, [](const Entry& a, const Entry& b) {
    if (a.key != b.key) return a.key > b.key;
    if (a.key2 != b.key2) return a.key2 > b.key2;
    return a.r > b.r;
  });
  static const std::string* const kTriangles[] = {&SJ("△4"), &SJ("△5"), &SJ("△6"), &SJ("△7")};
  for (int i = 0; i < count && i < 4; ++i) runners[e[i].r].Mark = *kTriangles[i];

  for (int r = 0; r < n; ++r)
    if (!runners[r].Mark.empty()) out.predictionRows[r][kPreMark] = runners[r].Mark;
}

}  // namespace furlong
