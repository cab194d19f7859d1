#include "demo/DemoStore.h"

#include <algorithm>
#include <map>
#include <set>

#include "demo/DemoRecords.h"
#include "demo/DemoWorld.h"
#include "jvlink/StoreWriter.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/Store.h"
#include "store/RecordLayout.h"

namespace furlong {

namespace fs = std::filesystem;

namespace {

// Writes the demo through the record filing's own operations, batched so
// that each file is written once, as an import of the same records would
// leave it.
class Writer {
 public:
  Writer(const fs::path& root, const DemoOptions& options, DemoSummary& summary)
      : store_(root), setup_(options.setup), summary_(summary) {}

  void Write(const demo::World& w) {
    WriteHorseMasters(w);
    WriteHistories(w);
    WriteResultsRaces(w);
    WriteMeetings(w);
    WriteOdds(w);
    filing_.Flush();
    for (const fs::path& p : written_) {
      ++summary_.files;
      summary_.bytes += fs::file_size(p);
    }
  }

 private:
  Store store_;
  bool setup_;
  DemoSummary& summary_;
  BatchedStoreWriter filing_;
  std::set<fs::path> written_;

  // In a setup store the season's races come through the feed.
  bool FromFeed(const demo::World& w, const demo::Race& r) const { return setup_ && demo::InSeason(w, r); }

  void WriteHorseMasters(const demo::World& w) {
    for (const demo::Horse& h : w.horses) {
      const std::string year = h.id.substr(0, 4);
      if (h.legacyMaster) {
        // Legacy files are never filed by the program; they are written as
        // an older version of it left them.
        store_.Folder(store_names::kUma, true);
        store_.YearFolder(store_names::kUma, year, true);
        const fs::path path = store_.LegacyHorseMasterFile(h.id);
        WriteFileAtomically(path, demo::MakeLegacyHorseMaster(w, h));
        written_.insert(path);
        ++summary_.legacyHorseMasters;
      } else if (!(setup_ && demo::RanInSeason(w, h))) {
        const fs::path path = store_.HorseMasterFile(h.id);
        filing_.ReplaceWholeFile(path, demo::MakeHorseMaster(w, h));
        written_.insert(path);
        ++summary_.horseMasters;
      }
    }
  }

  // Horse history files: every earlier run, as results records.
  void WriteHistories(const demo::World& w) {
    for (const demo::Horse& h : w.horses) {
      if (h.runs.size() < 2) continue;
      const fs::path path = store_.HorseHistoryFile(h.id);
      bool any = false;
      for (std::size_t k = 0; k + 1 < h.runs.size(); ++k) {
        const demo::Run& run = w.runs[static_cast<std::size_t>(h.runs[k])];
        if (FromFeed(w, w.races[static_cast<std::size_t>(run.race)])) continue;
        if (!any) store_.YearFolder(store_names::kSei, h.id.substr(0, 4), true);
        any = true;
        filing_.MergeByRaceKey(path, ZeroRecordStamp(demo::MakeRunnerRecord(w, run)), false);
        ++summary_.pastRuns;
        if (!w.races[static_cast<std::size_t>(run.race)].filed) ++summary_.localPastRuns;
      }
      if (!any) continue;
      written_.insert(path);
      ++summary_.horseHistoryFiles;
    }
  }

  // Results race files: the race records of the earlier runs, per date and
  // racecourse; a season's earlier weekends are earlier runs too.
  void WriteResultsRaces(const demo::World& w) {
    for (const demo::Race& r : w.races) {
      if ((r.current && r.date >= w.demoSaturday) || !r.filed || FromFeed(w, r)) continue;
      const std::string ra = demo::MakeRaceRecord(w, r);
      store_.YearFolder(store_names::kSeir, ra::Year(ra), true);
      const fs::path path = store_.ResultsRaceFile(ra);
      filing_.MergeByRaceKey(path, ZeroRecordStamp(ra), false);
      ++summary_.pastRaces;
      if (written_.insert(path).second) ++summary_.resultsRaceFiles;
    }
  }

  // The demo meetings' own files: race, runner and payout files.
  void WriteMeetings(const demo::World& w) {
    for (const demo::Meeting& m : w.meetings) {
      if (FromFeed(w, w.races[static_cast<std::size_t>(m.races.front())])) continue;
      std::string base;
      for (int raceIndex : m.races) {
        const demo::Race& r = w.races[static_cast<std::size_t>(raceIndex)];
        const std::string ra = demo::MakeRaceRecord(w, r);
        base = MeetingBaseName(ra);
        filing_.MergeByRaceKey(store_.RaceFile(base), ZeroRecordStamp(ra), true);
        std::vector<int> byNumber = r.runs;
        std::sort(byNumber.begin(), byNumber.end(), [&](int a, int b) {
          return w.runs[static_cast<std::size_t>(a)].horseNumber < w.runs[static_cast<std::size_t>(b)].horseNumber;
        });
        for (int ru : byNumber) {
          const demo::Run& run = w.runs[static_cast<std::size_t>(ru)];
          filing_.PutRunnerSlot(store_.RunnerFile(base), demo::MakeRunnerRecord(w, run), r.number, run.horseNumber);
        }
        if (r.finished) {
          filing_.MergeByRaceKey(store_.PayoutFile(base), ZeroRecordStamp(demo::MakePayoutRecord(w, r)), false);
          ++summary_.finishedRaces;
        }
        ++summary_.races;
        summary_.runners += static_cast<int>(r.runs.size());
      }
      summary_.meetings.push_back(SjisToUtf8(base));
      written_.insert(store_.RaceFile(base));
      written_.insert(store_.RunnerFile(base));
      written_.insert(store_.PayoutFile(base));
    }
  }

  // Predicted odds: each meeting's own file where the meeting has one, and
  // a day file for the meetings that take theirs from it.
  void WriteOdds(const demo::World& w) {
    std::map<int, std::string> dayFiles, dayBase;
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
        WriteFileAtomically(store_.OddsFile(base), own);
        written_.insert(store_.OddsFile(base));
        ++summary_.oddsFiles;
      }
    }
    for (auto& [date, content] : dayFiles) {
      WriteFileAtomically(store_.DayOddsFile(dayBase[date]), content);
      written_.insert(store_.DayOddsFile(dayBase[date]));
      ++summary_.oddsFiles;
    }
  }
};

}  // namespace

DemoSummary WriteDemoStore(const fs::path& root, const DemoOptions& options) {
  const demo::World world = demo::BuildWorld(options.seed, options.weeks);
  DemoSummary summary;
  Writer(root, options, summary).Write(world);
  return summary;
}

}  // namespace furlong
