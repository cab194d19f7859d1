// The race analysis of a full meeting: 12 races of 18 runners with five past
// runs each. One click on a race (DatListClick) and the batch analysis that
// follows every meeting load.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <cstring>
#include <memory>
#include <string>

#include "analysis/Bets.h"
#include "analysis/GridSort.h"
#include "analysis/MeetingFlow.h"
#include "analysis/RunningOrderDiagram.h"
#include "analysis/RaceAnalysis.h"
#include "demo/DemoStore.h"
#include "store/Encoding.h"

using namespace furlong;

namespace {

template <std::size_t N>
void Put(RawRecord<N>& rec, std::size_t col, std::string_view text) {
  std::memcpy(rec.bytes.data() + col - 1, text.data(), text.size());
}

std::string Num(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

std::unique_ptr<DayTables> FullMeeting() {
  auto day = std::make_unique<DayTables>();
  day->BlankAll();
  const char* courses[] = {"05", "06", "08", "09", "44"};
  const char* tracks[] = {"11", "24", "17", "52", "23"};
  const char* distances[] = {"1600", "1800", "2400", "3000", "1200"};
  const std::string name = Utf8ToSjis("ベンチマークホース");
  for (int s = 0; s < kRaceSlots; ++s) {
    RaRecord& race = day->RaceRecords[s];
    Put(race, 1, "RA");
    Put(race, 12, "20240106");
    Put(race, 20, "06");
    Put(race, 22, "0101");
    Put(race, 26, Num(s + 1, 2));
    Put(race, 698, s % 2 ? "1800" : "1200");
    Put(race, 706, s % 3 ? "17" : "24");
    Put(race, 882, "18");
    for (int r = 0; r < kRunnerSlots; ++r) {
      SeRecord& entry = day->RunnerRecords[s][r];
      Put(entry, 1, "SE");
      Put(entry, 28, Num(r / 2 + 1 > 8 ? 8 : r / 2 + 1, 1));
      Put(entry, 29, Num(r + 1, 2));
      Put(entry, 41, name);
      Put(entry, 289, Num(540 + r, 3));
      Put(day->PredictedOddsRecords[s], 20 + 6 * r, "  " + Num(10 + r, 2) + ".5");
      for (int k = 0; k < kPastRuns; ++k) {
        SeRecord& se = day->PastRunRecords[s][r][k];
        RaRecord& ra = day->PastRaceRecords[s][r][k];
        const int i = (r + k + s) % 5;
        const std::string date = "20231" + std::to_string(k) + "01";
        Put(se, 12, date);
        Put(se, 20, courses[i]);
        Put(se, 289, Num(530 + (r * 3 + k) % 30, 3));
        Put(se, 339, i == 2 ? Num(2265 + r, 4) : Num(1338 + (r * 7 + k) % 20, 4));
        Put(se, 352, Num((r + k) % 18 + 1, 2) + Num((r * 3) % 18 + 1, 2) + Num((r * 5 + k) % 18 + 1, 2) +
                         Num((r * 7) % 18 + 1, 2));
        Put(se, 391, Num(335 + (r * 5 + k) % 17, 3));
        Put(se, 532, "+" + Num((r * 2 + k) % 20, 3));
        Put(ra, 12, date);
        Put(ra, 20, courses[i]);
        Put(ra, 615, k == 0 ? "C" : " ");
        Put(ra, 635, "010");
        Put(ra, 698, distances[i]);
        Put(ra, 706, tracks[i]);
      }
    }
  }
  return day;
}

void BM_DatListClick(benchmark::State& state) {
  auto day = FullMeeting();
  RaceAnalyzer analyzer(*day);
  analyzer.DatListClick(0);
  for (auto _ : state) benchmark::DoNotOptimize(&analyzer.DatListClick(0));
}
BENCHMARK(BM_DatListClick)->Unit(benchmark::kMicrosecond);

// The steps after the per-run indices and summaries: diagram, ranks,
// elimination, grid cells, sufficiency, marks, bets, result panel, sorting.
void BM_RanksGridsMarksAndBets(benchmark::State& state) {
  auto day = FullMeeting();
  RaceAnalyzer analyzer(*day);
  analyzer.DatListClick(0);
  RaceRunners& runners = analyzer.Runners()[0];
  auto out = std::make_unique<RaceAnalysisResult>();
  BetPairs pairs;
  for (auto _ : state) {
    DrawRunningOrderDiagram(runners, 18, out->diagram);
    RankRunners(runners, 18);
    EliminateRunners(runners, 18);
    FillGridCells(*day, 0, runners, 18, *out);
    SetDataSufficiency(18, *out);
    GiveMarks(runners, 18, *out);
    SortGridRows(out->verificationRows, 18, VerificationSortKey(VerificationSort::kHorseNumber));
    MakeBetPairs(runners, 18, pairs);
    SetBets(pairs, day->Payouts[0], 18, *out);
    FillResultPanel(day->Payouts[0], out->resultPanel);
    SortGridRows(out->predictionRows, 18, PredictionSortKey(PredictionSort::kAxisIndex));
    benchmark::DoNotOptimize(out.get());
  }
}
BENCHMARK(BM_RanksGridsMarksAndBets)->Unit(benchmark::kMicrosecond);

void BM_BatchAnalysisOfAMeeting(benchmark::State& state) {
  auto day = FullMeeting();
  RaceAnalyzer analyzer(*day);
  for (auto _ : state) {
    analyzer.SetBatchAnalysis(true);
    for (int s = 0; s < kRaceSlots; ++s) analyzer.DatListClick(s);
    analyzer.SetBatchAnalysis(false);
    benchmark::DoNotOptimize(&analyzer.DatListClick(0));
  }
}
BENCHMARK(BM_BatchAnalysisOfAMeeting)->Unit(benchmark::kMicrosecond);

// Choosing a meeting of the demo store: reset, load the whole meeting day
// from its files, analyse every race in batch mode and the first one again.
void BM_LoadAndBatchAnalysis(benchmark::State& state) {
  const std::filesystem::path root = std::filesystem::temp_directory_path() / "furlong-bench-analysis-demo";
  static DemoSummary summary = WriteDemoStore(root);
  Store store(root, false);
  MeetingFlow flow(store);
  // The meeting with the most races.
  std::string meeting;
  std::size_t races = 0;
  for (const auto& m : summary.meetings) {
    flow.DateComboChange(Utf8ToSjis(m));
    if (flow.RaceList().size() > races) {
      races = flow.RaceList().size();
      meeting = Utf8ToSjis(m);
    }
  }
  for (auto _ : state) benchmark::DoNotOptimize(flow.DateComboChange(meeting));
  state.counters["races"] = static_cast<double>(races);
}
BENCHMARK(BM_LoadAndBatchAnalysis)->Unit(benchmark::kMillisecond);

}  // namespace
