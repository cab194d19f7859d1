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
};

// Writes the feed below `feed` (created when missing); the same seed as the
// demo store's gives the matching feed. Throws StoreError on a file failure.
DemoFeedSummary WriteDemoFeed(const std::filesystem::path& feed, const DemoOptions& options = {});

// Gives the demo store's settings file a from-time ("LastTime") before the
// feed's race cards: midnight of the day they were published. So the first
// import that takes the stored from-time, in the window or furlong-cli,
// brings the feed's meetings. It also names the demo feed as the store's
// JV-Link (section "JVLink", key "Feed"), so that the demo replays its feed on
// Windows too. Values already set are kept.
void WriteDemoSettings(const std::filesystem::path& settingsFile, const DemoFeedSummary& feed);

}  // namespace furlong
