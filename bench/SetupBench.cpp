// A new user's first import at full size: the demo's setup download of one
// and of ten seasons (`furlong-cli sample --weeks 52|520 --setup`) imported by
// `furlong-cli import`, the past meetings made by `rebuild-meetings`, and the
// return report over the ten seasons. The import and the rebuild run as
// child processes, so the peak memory reported is theirs alone.
//
// The stores are kept below FURLONG_BENCH_DIR (default: the temporary
// folder)/furlong-bench-setup and reused by later runs; remove that folder to
// start afresh.
#include <benchmark/benchmark.h>

#if !defined(_WIN32) && defined(FURLONG_CLI_PATH)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "BacktestTiming.h"
#include "demo/DemoCalendar.h"
#include "reports/Backtest.h"
#include "store/Store.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace furlong;

namespace {

fs::path BenchFolder() {
  const char* dir = std::getenv("FURLONG_BENCH_DIR");
  return (dir && *dir ? fs::path(dir) : fs::temp_directory_path()) / "furlong-bench-setup";
}

struct ChildRun {
  double seconds = 0;
  double peakMiB = 0;
  std::string out;
};

// Runs furlong-cli with the arguments; its standard output is kept, its
// standard error goes to the benchmark's.
ChildRun RunCli(const std::vector<std::string>& args) {
  const fs::path outFile = BenchFolder() / "child-output.txt";
  std::vector<std::string> all = {FURLONG_CLI_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int err = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (err != 0) throw std::runtime_error("cannot start furlong-cli");
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  ChildRun run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // Linux gives KiB
  std::ifstream in(outFile, std::ios::binary);
  run.out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("furlong-cli " + args.front() + " failed: " + run.out);
  return run;
}

// A number printed after `label` in a command's output.
long long NumberAfter(const std::string& text, const std::string& label) {
  const std::size_t at = text.find(label);
  return at == std::string::npos ? 0 : std::atoll(text.c_str() + at + label.size());
}

// The demo store of `seasons` seasons with the setup download in its feed,
// written once and kept.
fs::path Template(int seasons) {
  const fs::path dir = BenchFolder() / ("template-" + std::to_string(seasons));
  if (!fs::exists(dir / "ready")) {
    fs::remove_all(dir);
    fs::create_directories(BenchFolder());
    RunCli({"sample", "--root", dir.string(), "--weeks", std::to_string(52 * seasons), "--setup"});
    std::ofstream(dir / "ready") << "ok\n";
  }
  return dir;
}

// The first day of the seasons: the Saturday 52 * seasons - 1 weeks before
// the demo weekend's.
std::string SeasonStart(int seasons) { return demo::DateText(demo::DaySerial(2024, 11, 16) - 7 * (52 * seasons - 1)); }

// The store the import of `seasons` seasons went into.
fs::path Imported(int seasons) { return BenchFolder() / ("imported-" + std::to_string(seasons)); }

// A copy of the template without its feed, which the import reads in place.
void FreshCopy(int seasons) {
  const fs::path from = Template(seasons), to = Imported(seasons);
  fs::remove_all(to);
  fs::create_directories(to);
  for (const auto& entry : fs::directory_iterator(from)) {
    const std::string name = entry.path().filename().string();
    if (name == "JVFeed" || name == "ready") continue;
    fs::copy(entry.path(), to / name, fs::copy_options::recursive);
  }
}

ChildRun Import(int seasons) {
  const ChildRun run = RunCli({"import", "--root", Imported(seasons).string(), "--jvlink-feed",
                               (Template(seasons) / "JVFeed").string(), "--from", "20000101000000"});
  std::ofstream(Imported(seasons) / "imported") << "ok\n";
  return run;
}

void BM_SetupImport(benchmark::State& state) {
  const int seasons = static_cast<int>(state.range(0));
  Template(seasons);
  ChildRun run;
  for (auto _ : state) {
    FreshCopy(seasons);
    run = Import(seasons);
    state.SetIterationTime(run.seconds);
  }
  const long long records = NumberAfter(run.out, "Imported ");
  state.counters["records"] = static_cast<double>(records);
  state.counters["records_per_second"] = static_cast<double>(records) / run.seconds;
  state.counters["peak_MiB"] = run.peakMiB;
}
BENCHMARK(BM_SetupImport)->Arg(1)->Arg(10)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// The imported ten seasons, then their meetings made (those of the demo
// horses' careers before the seasons, mostly without runners, are left out).
void BM_RebuildMeetings(benchmark::State& state) {
  const int seasons = static_cast<int>(state.range(0));
  ChildRun run;
  for (auto _ : state) {
    if (!fs::exists(Imported(seasons) / "imported") || fs::exists(Imported(seasons) / "rebuilt")) {
      FreshCopy(seasons);
      Import(seasons);
    }
    run = RunCli({"rebuild-meetings", "--root", Imported(seasons).string(), "--from", SeasonStart(seasons)});
    std::ofstream(Imported(seasons) / "rebuilt") << "ok\n";
    state.SetIterationTime(run.seconds);
  }
  state.counters["meetings"] = static_cast<double>(NumberAfter(run.out, "開催データ作成: "));
  state.counters["peak_MiB"] = run.peakMiB;
}
BENCHMARK(BM_RebuildMeetings)->Arg(10)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// The return report over the ten seasons' rebuilt meetings.
void BM_BacktestSetup(benchmark::State& state) {
  const int seasons = static_cast<int>(state.range(0));
  if (!fs::exists(Imported(seasons) / "rebuilt")) {
    state.SkipWithError("run BM_RebuildMeetings first");
    return;
  }
  const Store store(Imported(seasons), false);
  BacktestOptions options;
  options.from = SeasonStart(seasons);
  options.threads = std::thread::hardware_concurrency() >= 2 ? 2 : 1;
  TimeBacktest(state, store, options);
}
BENCHMARK(BM_BacktestSetup)->Arg(10)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

#endif
