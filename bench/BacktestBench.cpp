// The return (回収率) over a whole demo season of 52 race weekends: every
// meeting loaded and every race analysed as the hit report does, on one and
// on two threads. Reports races per second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "BacktestTiming.h"
#include "demo/DemoStore.h"
#include "reports/Backtest.h"

namespace fs = std::filesystem;
using namespace furlong;

namespace {

struct Season {
  fs::path root;
  Season() {
    root = fs::temp_directory_path() / ("furlong-bench-season-" + std::to_string(std::random_device{}()));
    DemoOptions options;
    options.weeks = 52;
    WriteDemoStore(root, options);
  }
  ~Season() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

const Season& TheSeason() {
  static Season season;
  return season;
}

void BM_BacktestSeason(benchmark::State& state) {
  const Store store(TheSeason().root, false);
  BacktestOptions options;
  options.threads = static_cast<int>(state.range(0));
  TimeBacktest(state, store, options);
}
BENCHMARK(BM_BacktestSeason)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace
