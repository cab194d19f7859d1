// furlong-cli sample: writes the deterministic demo store.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <ostream>

#include "Command.h"
#include "demo/DemoFeed.h"
#include "demo/DemoOddsArchives.h"
#include "demo/DemoStore.h"
#include "jvlink/ImportDriver.h"
#include "jvlink/JVLink.h"
#include "store/Encoding.h"
#include "store/IniGT.h"
#include "store/Store.h"

namespace furlong::cli {
namespace {

namespace fs = std::filesystem;

struct SampleArgs {
  std::string root;
  std::uint32_t seed = 1;
  int weeks = 1;
  bool force = false;
  bool setup = false;
};

RegisterCommand sample{
    "sample", "Write the deterministic demo store (fictional meetings of November 2024)", [](CLI::App& sub) {
      auto args = std::make_shared<SampleArgs>();
      sub.add_option("--root", args->root, "Data root to write (created when missing)")->required();
      sub.add_option("--seed", args->seed, "Seed of the demo data; the same seed gives the same files");
      sub.add_option("--weeks", args->weeks,
                     "Race weekends to write, the demo weekend last; 52 gives a season of results, 520 ten")
          ->check(CLI::Range(1, kMaxDemoWeeks));
      sub.add_flag("--setup", args->setup,
                   "Put the weekends before the demo weekend into the feed as a setup download "
                   "(then: import, rebuild-meetings)");
      sub.add_flag("--force", args->force, "Write even into a store that already holds meetings");
      return [args](CommandIo& io) {
        const fs::path root = Utf8Path(args->root);
        std::error_code ec;
        if (fs::exists(root, ec) && !fs::is_directory(root, ec)) throw StoreError(root, "not a folder");
        // Demo meetings merged into a real store could not be told apart
        // from imported ones, so an existing store is left alone.
        if (!args->force && fs::is_directory(root, ec) && !Store(root, false).MeetingNames().empty()) {
          io.err << args->root << ": the store already holds meetings; use --force to write the demo into it\n";
          return kExitError;
        }
        DemoOptions options;
        options.seed = args->seed;
        options.weeks = args->weeks;
        options.setup = args->setup;
        DemoSummary s = WriteDemoStore(root, options);
        io.out << "Demo store written to " << args->root << " (seed " << args->seed << ")\n";
        io.out << "  meetings: " << s.meetings.size() << "\n";
        for (const auto& m : s.meetings) io.out << "    " << m << "\n";
        io.out << "  races: " << s.races << " (" << s.finishedRaces << " run, " << s.races - s.finishedRaces
               << " not yet run), runners: " << s.runners << "\n";
        io.out << "  earlier runs: " << s.pastRuns << " in " << s.horseHistoryFiles << " horse histories ("
               << s.localPastRuns << " in local racing without a race record)\n";
        io.out << "  earlier races: " << s.pastRaces << " in " << s.resultsRaceFiles << " results race files\n";
        io.out << "  horse masters: " << s.horseMasters << " current, " << s.legacyHorseMasters << " legacy only\n";
        io.out << "  predicted odds files: " << s.oddsFiles << "\n";
        io.out << "  files: " << s.files << ", bytes: " << s.bytes << "\n";
        for (const DemoOddsArchive& a : WriteDemoOddsArchives(root))
          io.out << "  odds archive (" << a.source << ", " << a.meeting << "): " << PathUtf8(a.path.filename()) << "\n";
        const fs::path feed = DefaultFeedFolder(root);
        DemoFeedSummary f = WriteDemoFeed(feed, options);
        io.out << "  JV-Link feed " << PathUtf8(feed) << ": " << f.races << " races, " << f.runners
               << " runners to import (" << f.meetings.size() << " meetings), results of " << f.resultRaces
               << " races for the results fetch\n";
        if (f.setupFiles > 0)
          io.out << "  setup download in the feed: " << f.setupFiles << " files, " << f.setupRaces << " races, "
                 << f.setupRunners << " runners, " << f.setupHorseMasters << " horse masters\n";
        const fs::path settings = SettingsFileOf(root);
        WriteDemoSettings(settings, f);
        io.out << "  settings " << PathUtf8(settings) << ": imports start from "
               << TIniGT(settings, TDefaultDir::ddNone).ReadString(kLastTimeSection, kLastTimeKey, "")
               << "\n";
        return kExitOk;
      };
    }};

}  // namespace
}  // namespace furlong::cli
