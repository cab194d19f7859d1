#pragma once
// A JV-Link feed for the demo (docs/jvlink-feed.md): the weekend after the
// demo meetings, as JV-Link would bring it. The race cards of its meetings
// come as files to download (one per meeting), to be imported; their results come as
// real-time data for the results fetch of each race date. The meetings are
// the demo meetings' races a week later, run by the same horses, so the
// imported meetings can be analysed at once.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "demo/DemoStore.h"

namespace furlong {

struct DemoFeedSummary {
  std::vector<std::string> meetings;  // MeetingBaseNames of the feed's meetings, UTF-8
  std::vector<std::string> dates;     // their race dates, yyyymmdd
  std::string fileTimestamp;          // timestamp of the last race card file
  int races = 0;
  int runners = 0;
  int resultRaces = 0;                // races whose results the real-time data holds
  // The setup download (DemoOptions::setup): one JV-Link file per year.
  int setupFiles = 0;
  int setupRaces = 0;
  int setupRunners = 0;
  int setupHorseMasters = 0;
  std::string firstSetupTimestamp;    // timestamp of its first file
};

// Writes the feed below `feed` (created when missing); the same seed and
// options as the demo store's give the matching feed. With
// DemoOptions::setup it also holds the setup download of the season's
// weekends: one file per year, to download first, of the year's races in
// date order (each race record, its runner records by horse number and its
// payout record, all of data kind 7), then the horse masters of the horses
// that first ran in the season that year. Throws StoreError on a file failure.
DemoFeedSummary WriteDemoFeed(const std::filesystem::path& feed, const DemoOptions& options = {});

// Gives the demo store's settings file a from-time ("LastTime") before the
// feed's race cards: midnight of the day they were published (with a setup
// download in the feed, of the day its first file was made). So the first
// import that takes the stored from-time, in the window or furlong-cli,
// brings the feed's meetings. It also names the demo feed as the store's
// JV-Link (section "JVLink", key "Feed"), so that the demo replays its feed on
// Windows too. Values already set are kept.
void WriteDemoSettings(const std::filesystem::path& settingsFile, const DemoFeedSummary& feed);

}  // namespace furlong
