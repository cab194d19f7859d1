#pragma once
// The timed loop of the backtest benchmarks: one whole backtest per
// iteration, with the races counted and the rate in races per second.
#include <benchmark/benchmark.h>

#include "reports/Backtest.h"
#include "store/Store.h"

inline void TimeBacktest(benchmark::State& state, const furlong::Store& store, const furlong::BacktestOptions& options) {
  int races = 0;
  for (auto _ : state) {
    const furlong::BacktestResult r = furlong::RunBacktest(store, options);
    races = r.races;
    benchmark::DoNotOptimize(r.total);
  }
  state.counters["races"] = races;
  state.counters["races_per_second"] = benchmark::Counter(
      static_cast<double>(races) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
