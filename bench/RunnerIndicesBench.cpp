// Past-run indices and runner summaries of one full race: 18 runners with
// five past runs each, as the race analysis computes them on every click.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "analysis/PastRunIndices.h"
#include "analysis/RunnerSummaries.h"

using namespace furlong;

namespace {

template <std::size_t N>
void Put(RawRecord<N>& rec, std::size_t col, std::string_view text) {
  std::memcpy(rec.bytes.data() + col - 1, text.data(), text.size());
}

std::unique_ptr<DayTables> FullRace() {
  auto day = std::make_unique<DayTables>();
  day->BlankAll();
  Put(day->RaceRecords[0], 12, "20240106");
  Put(day->RaceRecords[0], 882, "18");
  const char* courses[] = {"05", "06", "08", "09", "44"};
  const char* tracks[] = {"11", "24", "17", "52", "23"};
  const char* distances[] = {"1600", "1800", "2400", "3000", "1200"};
  for (int r = 0; r < 18; ++r) {
    Put(day->RunnerRecords[0][r], 289, "560");
    for (int k = 0; k < 5; ++k) {
      SeRecord& se = day->PastRunRecords[0][r][k];
      RaRecord& ra = day->PastRaceRecords[0][r][k];
      const int i = (r + k) % 5;
      Put(se, 12, "20231" + std::to_string(k) + "01");
      Put(se, 20, courses[i]);
      Put(se, 289, "550");
      Put(se, 339, i == 2 ? "2265" : "1345");
      Put(se, 352, "03040506");
      Put(se, 391, "345");
      Put(se, 532, k % 2 ? "+004" : "-002");
      Put(ra, 12, "20231" + std::to_string(k) + "01");
      Put(ra, 20, courses[i]);
      Put(ra, 615, k == 0 ? "C" : " ");
      Put(ra, 635, "010");
      Put(ra, 698, distances[i]);
      Put(ra, 706, tracks[i]);
    }
  }
  return day;
}

void BM_RaceRunnerIndicesAndSummaries(benchmark::State& state) {
  auto day = FullRace();
  auto runners = std::make_unique<std::array<RunnerAnalysis, kRunnerSlots>>();
  for (auto _ : state) {
    for (int r = 0; r < 18; ++r) {
      RunnerSums sums;
      ComputePastRunIndices(*day, 0, r, (*runners)[r], sums);
      ComputeRunnerSummaries(*day, 0, r, sums, (*runners)[r]);
    }
    benchmark::DoNotOptimize(runners->data());
  }
}
BENCHMARK(BM_RaceRunnerIndicesAndSummaries)->Unit(benchmark::kMicrosecond);

}  // namespace
