// Day loading of a full meeting: 12 races of 18 runners, every horse with a
// master record and five past runs whose races are in results race files.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif
#include <memory>
#include <random>
#include <set>
#include <string>

#include "store/DayLoading.h"
#include "store/Encoding.h"

namespace fs = std::filesystem;
using namespace furlong;

namespace {

std::string Record(std::string_view type, std::size_t length) {
  std::string r(length, ' ');
  r.replace(0, 2, type);
  r[length - 2] = '\r';
  r[length - 1] = '\n';
  return r;
}
void Put(std::string& r, std::size_t col, std::string_view t) { r.replace(col - 1, t.size(), t); }
std::string Num(long v, int w) {
  std::string s = std::to_string(v);
  return std::string(w > static_cast<int>(s.size()) ? w - s.size() : 0, '0') + s;
}

struct FullMeeting {
  fs::path root;
  std::string meeting;
  std::set<fs::path> loaded;  // the files the loading reads

  FullMeeting() {
    root = fs::temp_directory_path() / ("furlong-bench-day-" + std::to_string(std::random_device{}()));
    fs::remove_all(root);
    Store store(root);
    const std::string date = "20240106";
    for (int race = 1; race <= 12; ++race) {
      std::string ra = Record("RA", kRaLength);
      Put(ra, 3, "200000000");
      Put(ra, 12, date + "06" + "0101" + Num(race, 2));
      Put(ra, 698, "1600");
      Put(ra, 882, "18");
      meeting = MeetingBaseName(ra);
      store.MergeByRaceKey(store.RaceFile(meeting), ZeroRecordStamp(ra), true);
      loaded.insert({store.RaceFile(meeting), store.RunnerFile(meeting), store.PayoutFile(meeting)});
      std::string hr = Record("HR", kHrLength);
      Put(hr, 12, date + "06" + "0101" + Num(race, 2));
      Put(hr, 103, "0100000012001");
      store.MergeByRaceKey(store.PayoutFile(meeting), ZeroRecordStamp(hr), false);
      for (int h = 1; h <= 18; ++h) {
        std::string id = "2020" + Num(race * 100 + h, 6);
        std::string se = Record("SE", kSeLength);
        Put(se, 3, "2");
        Put(se, 12, date + "06" + "0101" + Num(race, 2));
        Put(se, 29, Num(h, 2));
        Put(se, 31, id);
        store.PutRunnerSlot(store.RunnerFile(meeting), se, race, h);
        std::string um = Record("UM", kUmLength);
        Put(um, 12, id);
        store.ReplaceWholeFile(store.HorseMasterFile(id), um);
        loaded.insert({store.HorseMasterFile(id), store.HorseHistoryFile(id)});
        store.YearFolder("SEI", "2020", true);
        std::string history;
        for (int k = 0; k < 6; ++k) {
          // Past runs over several dates and racecourses, sharing results files.
          std::string pastDate = "2023" + Num(1 + (k + h) % 12, 2) + Num(1 + race, 2);
          std::string course = Num(1 + (h % 10), 2);
          std::string run = se;
          Put(run, 3, "000000000");
          Put(run, 12, pastDate + course + "0101" + Num(1 + h % 12, 2));
          history += run;
          std::string pra = Record("RA", kRaLength);
          Put(pra, 3, "000000000");
          Put(pra, 12, pastDate + course + "0101" + Num(1 + h % 12, 2));
          Put(pra, 698, "1800");
          store.YearFolder("SEIR", "2023", true);
          store.MergeByRaceKey(store.ResultsRaceFile(pra), pra, false);
          if (k < kPastRuns) loaded.insert(store.ResultsRaceFile(pra));
        }
        WriteFileAtomically(store.HorseHistoryFile(id), history);
      }
    }
  }
  ~FullMeeting() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

void BM_LoadMeetingDay(benchmark::State& state) {
  static FullMeeting m;
  Store store(m.root, false);
  auto day = std::make_unique<DayTables>();
  for (auto _ : state) {
    LoadMeetingDay(store, m.meeting, *day);
    benchmark::DoNotOptimize(day->PastRaceRecords[11][17][4].bytes[0]);
  }
}
BENCHMARK(BM_LoadMeetingDay)->Unit(benchmark::kMillisecond);

// The floor of the loading: exactly the files it reads, each opened, read
// whole and closed by the plainest calls there are, in one thread.
std::size_t ReadEveryFile(const std::vector<fs::path>& files, std::vector<char>& buf) {
  std::size_t total = 0;
  for (const fs::path& f : files) {
#ifdef _WIN32
    std::FILE* in = _wfopen(f.c_str(), L"rb");
    if (!in) continue;
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), in)) > 0) total += n;
    std::fclose(in);
#else
    const int fd = ::open(f.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    ssize_t n;
    while ((n = ::read(fd, buf.data(), buf.size())) > 0) total += static_cast<std::size_t>(n);
    ::close(fd);
#endif
  }
  return total;
}

std::vector<fs::path> MeetingFiles(const FullMeeting& m) { return {m.loaded.begin(), m.loaded.end()}; }

void BM_PlainReadOfTheMeetingFiles(benchmark::State& state) {
  static FullMeeting m;
  const std::vector<fs::path> files = MeetingFiles(m);
  std::vector<char> buf(1 << 16);
  for (auto _ : state) benchmark::DoNotOptimize(ReadEveryFile(files, buf));
  state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_PlainReadOfTheMeetingFiles)->Unit(benchmark::kMillisecond);

// Loading and plain read alternated in one run, so that both meet the same
// cache and load: "ratio" is loading time / plain-read time (goal: at most 2).
void BM_LoadingAgainstPlainRead(benchmark::State& state) {
  static FullMeeting m;
  Store store(m.root, false);
  auto day = std::make_unique<DayTables>();
  const std::vector<fs::path> files = MeetingFiles(m);
  std::vector<char> buf(1 << 16);
  using Clock = std::chrono::steady_clock;
  Clock::duration loading{}, plain{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    LoadMeetingDay(store, m.meeting, *day);
    benchmark::DoNotOptimize(day->PastRaceRecords[11][17][4].bytes[0]);
    const auto t1 = Clock::now();
    benchmark::DoNotOptimize(ReadEveryFile(files, buf));
    const auto t2 = Clock::now();
    loading += t1 - t0;
    plain += t2 - t1;
  }
  state.counters["ratio"] = std::chrono::duration<double>(loading) / std::chrono::duration<double>(plain);
  state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_LoadingAgainstPlainRead)->Unit(benchmark::kMillisecond);

}  // namespace
