#pragma once
// A realistic, deterministic demo store: two race days of three JRA
// racecourses each (Saturday 16 and Sunday 17 November 2024 at Tokyo, Kyoto
// and Fukushima), with full race cards, results and payouts of the races
// already run, every runner's earlier runs and their race records, horse
// masters (a few only in the legacy layout) and predicted odds. All names
// are fictional. The same seed always gives byte-identical files.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace furlong {

struct DemoOptions {
  std::uint32_t seed = 1;
  // Race weekends: 1 is the demo weekend alone; more add the weekends before
  // it, every race of them run, for a season of results to study.
  int weeks = 1;
  // The weekends before the demo weekend as a setup download: their races,
  // runners, payouts and the horse masters of their horses go into the demo
  // feed (WriteDemoFeed) as results records, not into the store, as a new
  // user's first import brings them. The store keeps the demo weekend and
  // the careers before the season.
  bool setup = false;
};

// The most race weekends a demo store can hold (ten seasons).
inline constexpr int kMaxDemoWeeks = 520;

struct DemoSummary {
  std::vector<std::string> meetings;  // MeetingBaseNames of the demo meetings, UTF-8
  int races = 0;                      // races of those meetings
  int finishedRaces = 0;              // of them already run (results and payouts)
  int runners = 0;                    // runners of those races, one horse each
  int pastRuns = 0;                   // earlier runs in the horse history files
  int localPastRuns = 0;              // of them in local racing, without a race record
  int pastRaces = 0;                  // race records in the results race files
  int resultsRaceFiles = 0;
  int horseHistoryFiles = 0;
  int horseMasters = 0;               // current-layout horse master files
  int legacyHorseMasters = 0;         // horses with only a legacy horse master file
  int oddsFiles = 0;                  // predicted odds files (per meeting and per day)
  int files = 0;                      // every file written
  std::uintmax_t bytes = 0;           // their total size
};

// Writes the demo store below `root` (created when missing), through the
// store's own filing rules. Existing files of the same names are replaced
// or merged into as an import would. Throws StoreError on a file failure.
DemoSummary WriteDemoStore(const std::filesystem::path& root, const DemoOptions& options = {});

}  // namespace furlong
