// Day loading of a full meeting: 12 races of 18 runners, every horse with a
// master record and five past runs whose races are in results race files.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
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

}  // namespace
