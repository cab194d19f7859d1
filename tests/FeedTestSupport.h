#pragma once
// Builders for JV-Link feed tests (also used by the filing benchmark): single
// records, a deterministic synthetic feed of many race days, a recording
// import ui and a byte snapshot of a store.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "StoreTestSupport.h"
#include "jvlink/FeedWriter.h"
#include "jvlink/ImportTime.h"
#include "jvlink/RecordFiling.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/Store.h"

namespace furlong::test {

inline std::string RaRec(std::string_view date, std::string_view course, int race, char kind = '7',
                         std::string_view created = "20240101") {
  return RaceHead("RA", kRaLength, date, course, race, kind, created);
}

inline std::string HrRec(std::string_view date, std::string_view course, int race, char kind = '2',
                         std::string_view created = "20240101") {
  return RaceHead("HR", kHrLength, date, course, race, kind, created);
}

inline std::string SeRec(std::string_view date, std::string_view course, int race, int horse,
                         std::string_view horseId, char kind = '7', std::string_view created = "20240101") {
  std::string r = RaceHead("SE", kSeLength, date, course, race, kind, created);
  PutNum(r, 29, 2, horse);
  Put(r, 31, horseId);
  return r;
}

inline std::string UmRec(std::string_view horseId, char kind = '1', std::string_view created = "20240101") {
  std::string r = BlankRecord("UM", kUmLength);
  r[2] = kind;
  Put(r, 4, created);
  Put(r, 12, horseId);
  return r;
}

// Records every ui call in order as one UTF-8 text ("status:...", "list:...",
// "beep", "message:...", "error:...", "timer:on", ...).
class RecordingUi : public ImportUi {
 public:
  std::vector<std::string> events;
  std::function<void()> onProcessEvents;

  void Status(const std::string& t) override { events.push_back("status:" + SjisToUtf8(t)); }
  void DownloadRange(int m) override { events.push_back("download-range:" + std::to_string(m)); }
  void DownloadPosition(int p) override { events.push_back("download:" + std::to_string(p)); }
  void ReadRange(int m) override { events.push_back("read-range:" + std::to_string(m)); }
  void ReadPosition(int p) override { events.push_back("read:" + std::to_string(p)); }
  void ListLine(const std::string& l) override { events.push_back("list:" + SjisToUtf8(l)); }
  void ClearList() override { events.push_back("clear-list"); }
  void Beep() override { events.push_back("beep"); }
  void Message(const std::string& t, bool isError) override {
    events.push_back((isError ? "error:" : "message:") + SjisToUtf8(t));
  }
  void BusyCursor(bool on) override { events.push_back(on ? "busy:on" : "busy:off"); }
  void PollingTimer(bool on) override { events.push_back(on ? "timer:on" : "timer:off"); }
  void FromTimeChanged(const LocalDateTime& t) override { events.push_back("from:" + FormatSettingTime(t)); }
  void ProcessEvents() override {
    if (onProcessEvents) onProcessEvents();
  }

  // The events that start with the prefix, without it.
  std::vector<std::string> With(std::string_view prefix) const {
    std::vector<std::string> out;
    for (auto& e : events)
      if (e.compare(0, prefix.size(), prefix) == 0) out.push_back(e.substr(prefix.size()));
    return out;
  }
  std::vector<std::string> Lines() const { return With("list:"); }
  bool Has(std::string_view event) const {
    for (auto& e : events)
      if (e == event) return true;
    return false;
  }
};

// Every file below a folder: relative path (generic form) -> bytes.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& root) {
  std::map<std::string, std::string> files;
  for (auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::string rel = std::filesystem::relative(entry.path(), root).generic_string();
    files[rel] = ReadWholeFile(entry.path());
  }
  return files;
}

// A deterministic feed of race days: every weekend two race days, each with
// `courses` meetings of `races` races; per race an RA, its runners' SE and an
// HR record, and a UM record for every horse the first time it runs. Races
// before `today` are results (data kind 7), later ones race cards (kind 2).
// One JV-Link file per race day.
struct SyntheticFeedSpec {
  LocalDateTime today{2024, 3, 4, 9, 0, 0};
  LocalDateTime firstDay{2024, 3, 2, 0, 0, 0};  // a Saturday
  int weekends = 1;
  int courses = 3;
  int races = 12;
  int minRunners = 8;
  int maxRunners = 18;
  int horses = 1500;  // the pool the runners are drawn from
  bool needsDownload = false;
};

struct SyntheticFeedCounts {
  int files = 0;
  int records = 0;
  int races = 0;
  int runners = 0;
  int horseMasters = 0;
};

inline SyntheticFeedCounts WriteSyntheticFeed(const std::filesystem::path& feed, const SyntheticFeedSpec& spec) {
  static constexpr const char* kCourses[] = {"05", "06", "08", "09", "04", "10"};
  SyntheticFeedCounts counts;
  std::uint64_t seed = 0x2545F4914F6CDD1DULL;
  auto next = [&seed](int bound) {
    seed ^= seed << 13;
    seed ^= seed >> 7;
    seed ^= seed << 17;
    return static_cast<int>(seed % static_cast<std::uint64_t>(bound));
  };
  std::set<int> seen;
  const std::string today = FormatDate8(spec.today);
  for (int w = 0; w < spec.weekends; ++w) {
    for (int d = 0; d < 2; ++d) {
      LocalDateTime day = AddDays(spec.firstDay, w * 7 + d);
      const std::string date = FormatDate8(day);
      const char kind = date < today ? '7' : '2';
      std::vector<std::string> records;
      for (int c = 0; c < spec.courses; ++c) {
        const char* course = kCourses[c % 6];
        for (int race = 1; race <= spec.races; ++race) {
          records.push_back(RaRec(date, course, race, kind, date));
          int runners = spec.minRunners + next(spec.maxRunners - spec.minRunners + 1);
          std::vector<std::string> masters;
          for (int h = 1; h <= runners; ++h) {
            int horse = next(spec.horses);
            char id[16];
            std::snprintf(id, sizeof id, "%04d%06d", 2017 + horse % 5, horse);
            records.push_back(SeRec(date, course, race, h, id, kind, date));
            ++counts.runners;
            if (seen.insert(horse).second) masters.push_back(UmRec(id, '1', date));
          }
          records.push_back(HrRec(date, course, race, '2', date));
          for (auto& m : masters) records.push_back(std::move(m));
          counts.horseMasters += static_cast<int>(masters.size());
          ++counts.races;
        }
      }
      counts.records += static_cast<int>(records.size());
      WriteFeedFile(feed, "RACE", date + "180000", records, spec.needsDownload);
      ++counts.files;
    }
  }
  return counts;
}

}  // namespace furlong::test
