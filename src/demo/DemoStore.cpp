#include "demo/DemoStore.h"

#include <algorithm>
#include <map>

#include "demo/DemoRecords.h"
#include "demo/DemoWorld.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/Store.h"

namespace furlong {

namespace fs = std::filesystem;

namespace {

// Lines of a keyed file as MergeByRaceKey leaves them: stamp zeroed, in
// ascending order (the common head makes that RaceKey order).
std::string KeyedFileContent(std::vector<std::string> records) {
  for (auto& r : records) r = ZeroRecordStamp(r);
  std::sort(records.begin(), records.end());
  std::string content;
  for (auto& r : records) content += r;
  return content;
}

class Writer {
 public:
  Writer(const fs::path& root, DemoSummary& summary) : store_(root), summary_(summary) {}

  void Write(const demo::World& w) {
    WriteHorseMasters(w);
    WriteHistories(w);
    WriteResultsRaces(w);
    WriteMeetings(w);
    WriteOdds(w);
  }

 private:
  Store store_;
  DemoSummary& summary_;

  void Count(const fs::path&, std::size_t bytes, bool newFile = true) {
    if (newFile) ++summary_.files;
    summary_.bytes += bytes;
  }

  void WriteWhole(const fs::path& path, const std::string& content) {
    WriteFileAtomically(path, content);
    Count(path, content.size());
  }

  void WriteHorseMasters(const demo::World& w) {
    for (const demo::Horse& h : w.horses) {
      const std::string year = h.id.substr(0, 4);
      if (h.legacyMaster) {
        store_.Folder(store_names::kUma, true);
        store_.YearFolder(store_names::kUma, year, true);
        WriteWhole(store_.LegacyHorseMasterFile(h.id), demo::MakeLegacyHorseMaster(w, h));
        ++summary_.legacyHorseMasters;
      } else {
        store_.YearFolder(store_names::kUm2, year, true);
        std::string um = demo::MakeHorseMaster(w, h);
        store_.ReplaceWholeFile(store_.HorseMasterFile(h.id), um);
        Count({}, um.size());
        ++summary_.horseMasters;
      }
    }
  }

  // Horse history files: every earlier run, written whole in the order the
  // filing would leave them.
  void WriteHistories(const demo::World& w) {
    for (const demo::Horse& h : w.horses) {
      if (h.runs.size() < 2) continue;
      std::vector<std::string> records;
      for (std::size_t k = 0; k + 1 < h.runs.size(); ++k)
        records.push_back(demo::MakeRunnerRecord(w, w.runs[static_cast<std::size_t>(h.runs[k])]));
      summary_.pastRuns += static_cast<int>(records.size());
      for (std::size_t k = 0; k + 1 < h.runs.size(); ++k)
        if (!w.races[static_cast<std::size_t>(w.runs[static_cast<std::size_t>(h.runs[k])].race)].filed)
          ++summary_.localPastRuns;
      store_.YearFolder(store_names::kSei, h.id.substr(0, 4), true);
      WriteWhole(store_.HorseHistoryFile(h.id), KeyedFileContent(std::move(records)));
      ++summary_.horseHistoryFiles;
    }
  }

  // Results race files: one per date and racecourse of the earlier races.
  void WriteResultsRaces(const demo::World& w) {
    std::map<std::string, std::vector<std::string>> files;
    for (const demo::Race& r : w.races) {
      if (r.current || !r.filed) continue;
      files[demo::DateText(r.date) + r.course].push_back(demo::MakeRaceRecord(w, r));
    }
    for (auto& [name, records] : files) {
      const std::string& first = records.front();
      store_.YearFolder(store_names::kSeir, Field(first, 12, 15), true);
      summary_.pastRaces += static_cast<int>(records.size());
      WriteWhole(store_.ResultsRaceFile(first), KeyedFileContent(std::move(records)));
      ++summary_.resultsRaceFiles;
    }
  }

  // The demo meetings' own files, filed record by record as an import does.
  void WriteMeetings(const demo::World& w) {
    for (const demo::Meeting& m : w.meetings) {
      std::string base;
      for (int raceIndex : m.races) {
        const demo::Race& r = w.races[static_cast<std::size_t>(raceIndex)];
        const std::string ra = demo::MakeRaceRecord(w, r);
        base = MeetingBaseName(ra);
        store_.MergeByRaceKey(store_.RaceFile(base), ZeroRecordStamp(ra), true);
        std::vector<int> byNumber = r.runs;
        std::sort(byNumber.begin(), byNumber.end(), [&](int a, int b) {
          return w.runs[static_cast<std::size_t>(a)].horseNumber < w.runs[static_cast<std::size_t>(b)].horseNumber;
        });
        for (int ru : byNumber) {
          const demo::Run& run = w.runs[static_cast<std::size_t>(ru)];
          store_.PutRunnerSlot(store_.RunnerFile(base), demo::MakeRunnerRecord(w, run), r.number, run.horseNumber);
        }
        if (r.finished) {
          store_.MergeByRaceKey(store_.PayoutFile(base), ZeroRecordStamp(demo::MakePayoutRecord(w, r)), false);
          ++summary_.finishedRaces;
        }
        ++summary_.races;
        summary_.runners += static_cast<int>(r.runs.size());
      }
      summary_.meetings.push_back(SjisToUtf8(base));
      for (const fs::path& p : {store_.RaceFile(base), store_.RunnerFile(base), store_.PayoutFile(base)}) {
        std::error_code ec;
        auto size = fs::file_size(p, ec);
        if (!ec) Count(p, static_cast<std::size_t>(size));
      }
    }
  }

  // Predicted odds: each meeting's own file where the meeting has one, and
  // a day file for the meetings that take theirs from it.
  void WriteOdds(const demo::World& w) {
    std::map<int, std::string> dayFiles;
    std::map<int, std::string> dayBase;
    for (const demo::Meeting& m : w.meetings) {
      std::string own;
      for (int raceIndex : m.races) {
        const demo::Race& r = w.races[static_cast<std::size_t>(raceIndex)];
        if (m.oddsSource != ' ') own += demo::MakeOddsRecord(w, r, m.oddsSource);
        if (m.inDayOddsFile) dayFiles[m.date] += demo::MakeOddsRecord(w, r, 'J');
      }
      const std::string base = MeetingBaseName(demo::MakeRaceRecord(w, w.races[static_cast<std::size_t>(m.races[0])]));
      if (m.inDayOddsFile) dayBase[m.date] = base;
      if (!own.empty()) {
        WriteWhole(store_.OddsFile(base), own);
        ++summary_.oddsFiles;
      }
    }
    for (auto& [date, content] : dayFiles) {
      WriteWhole(store_.DayOddsFile(dayBase[date]), content);
      ++summary_.oddsFiles;
    }
  }
};

}  // namespace

DemoSummary WriteDemoStore(const fs::path& root, const DemoOptions& options) {
  const demo::World world = demo::BuildWorld(options.seed);
  DemoSummary summary;
  Writer(root, summary).Write(world);
  return summary;
}

}  // namespace furlong
