// Filing JV-Link data into the store: a week's feed (about 3,000 records) and
// a synthetic year (about 3,400 races, 44,000 runners and their horse
// masters), batched and record by record, plus the raw filing operations.
#include <benchmark/benchmark.h>

#include <atomic>
#include <ctime>
#include <filesystem>

#include "../tests/FeedTestSupport.h"
#include "jvlink/JVLinkStandIn.h"
#include "jvlink/RecordFiling.h"
#include "jvlink/StoreWriter.h"

namespace fs = std::filesystem;
using namespace furlong;

namespace {

struct Feed {
  test::ScratchDir dir;
  test::SyntheticFeedSpec spec;
  test::SyntheticFeedCounts counts;
};

const Feed& WeekFeed() {
  static const Feed feed = [] {
    Feed f;
    f.spec.today = {2024, 3, 4, 9, 0, 0};
    f.spec.firstDay = {2024, 3, 2, 0, 0, 0};  // last weekend's results, next weekend's cards
    f.spec.weekends = 2;
    f.spec.horses = 1500;
    f.counts = test::WriteSyntheticFeed(f.dir.path(), f.spec);
    return f;
  }();
  return feed;
}

const Feed& YearFeed() {
  static const Feed feed = [] {
    Feed f;
    f.spec.today = {2024, 12, 30, 9, 0, 0};
    f.spec.firstDay = {2024, 1, 6, 0, 0, 0};
    f.spec.weekends = 48;
    f.spec.horses = 11000;
    f.counts = test::WriteSyntheticFeed(f.dir.path(), f.spec);
    return f;
  }();
  return feed;
}

// One whole reading loop into an empty store per iteration. The stores are
// removed only after the last iteration: a file system that has just
// deleted many files allocates new ones more slowly, which a first import
// into a fresh store does not meet.
void Import(benchmark::State& state, const Feed& feed, bool batched) {
  std::atomic<bool> cancelled{false};
  ImportUi ui;
  long long records = 0;
  std::clock_t cpu = 0;
  test::ScratchDir stores;
  int n = 0;
  for (auto _ : state) {
    std::clock_t start = std::clock();
    Store store(stores.path() / std::to_string(++n));
    JVLinkStandIn jv(feed.dir.path());
    jv.JVInit("SA");
    int reads = 0, downloads = 0;
    std::string last;
    jv.JVOpen("RACE", "20000101000000", 2, reads, downloads, last);
    BatchedStoreWriter batchedWriter;
    DirectStoreWriter direct(store);
    StoreWriter& writer = batched ? static_cast<StoreWriter&>(batchedWriter) : direct;
    auto r = ReadAndFile(jv, store, writer, reads, FixedClock(feed.spec.today), cancelled, ui);
    if (r.end != ReadEnd::Finished) state.SkipWithError(r.error.c_str());
    records += r.records;
    cpu += std::clock() - start;
  }
  state.counters["records"] = static_cast<double>(feed.counts.records);
  state.counters["records/s"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
  // The same per second of processor time (all threads): the figure that
  // depends least on what else the machine is doing.
  if (cpu > 0)
    state.counters["records/cpu-s"] = static_cast<double>(records) * CLOCKS_PER_SEC / static_cast<double>(cpu);
}

void BM_ImportWeekBatched(benchmark::State& state) { Import(state, WeekFeed(), true); }
void BM_ImportWeekRecordByRecord(benchmark::State& state) { Import(state, WeekFeed(), false); }
void BM_ImportYearBatched(benchmark::State& state) { Import(state, YearFeed(), true); }
void BM_ImportYearRecordByRecord(benchmark::State& state) { Import(state, YearFeed(), false); }

BENCHMARK(BM_ImportWeekBatched)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportWeekRecordByRecord)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ImportYearBatched)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ImportYearRecordByRecord)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The raw store operations: one record into a race file of a meeting (12
// races, merged in turn) and into a runner file.
void BM_MergeByRaceKey(benchmark::State& state) {
  test::ScratchDir dir;
  Store store(dir.path());
  std::vector<std::string> races;
  for (int race = 1; race <= 12; ++race) races.push_back(ZeroRecordStamp(test::RaRec("20240302", "05", race, '7')));
  auto path = store.RaceFile(MeetingBaseName(races[0]));
  std::size_t i = 0;
  for (auto _ : state) store.MergeByRaceKey(path, races[i++ % races.size()], true);
  state.counters["records/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MergeByRaceKey)->UseRealTime();

void BM_PutRunnerSlot(benchmark::State& state) {
  test::ScratchDir dir;
  Store store(dir.path());
  std::vector<std::string> runners;
  for (int race = 1; race <= 12; ++race)
    for (int horse = 1; horse <= 16; ++horse)
      runners.push_back(test::SeRec("20240302", "05", race, horse, "2019100001", '2'));
  auto path = store.RunnerFile(MeetingBaseName(runners[0]));
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& rec = runners[i++ % runners.size()];
    store.PutRunnerSlot(path, rec, FieldNumber(rec, 26, 27), FieldNumber(rec, 29, 30));
  }
  state.counters["records/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PutRunnerSlot)->UseRealTime();

// The same two operations in memory, as the batched import does them.
void BM_BatchedMergeAndPut(benchmark::State& state) {
  test::ScratchDir dir;
  Store store(dir.path());
  std::vector<std::string> races, runners;
  for (int race = 1; race <= 12; ++race) {
    races.push_back(ZeroRecordStamp(test::RaRec("20240302", "05", race, '7')));
    for (int horse = 1; horse <= 16; ++horse)
      runners.push_back(test::SeRec("20240302", "05", race, horse, "2019100001", '2'));
  }
  auto racePath = store.RaceFile(MeetingBaseName(races[0]));
  auto runnerPath = store.RunnerFile(MeetingBaseName(races[0]));
  BatchedStoreWriter writer;
  std::size_t i = 0;
  for (auto _ : state) {
    writer.MergeByRaceKey(racePath, races[i % races.size()], true);
    const std::string& rec = runners[i++ % runners.size()];
    writer.PutRunnerSlot(runnerPath, rec, FieldNumber(rec, 26, 27), FieldNumber(rec, 29, 30));
  }
  writer.Flush();
  state.counters["records/s"] =
      benchmark::Counter(2.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BatchedMergeAndPut)->UseRealTime();

}  // namespace
