#include "demo/DemoFeed.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

#include "demo/DemoCalendar.h"
#include "demo/DemoRecords.h"
#include "demo/DemoWorld.h"
#include "jvlink/FeedWriter.h"
#include "jvlink/ImportDriver.h"
#include "jvlink/ImportTime.h"
#include "jvlink/JVLink.h"
#include "store/Encoding.h"
#include "store/IniGT.h"
#include "store/Store.h"

namespace furlong {

namespace {

constexpr int kWeek = 7;

// The runs of a race in horse-number order.
std::vector<int> ByHorseNumber(const demo::World& w, const demo::Race& r) {
  std::vector<int> runs = r.runs;
  std::sort(runs.begin(), runs.end(), [&](int a, int b) {
    return w.runs[static_cast<std::size_t>(a)].horseNumber < w.runs[static_cast<std::size_t>(b)].horseNumber;
  });
  return runs;
}

// The setup download of the season's weekends, one JV-Link file per year.
void WriteSetup(const std::filesystem::path& feed, const demo::World& w, DemoFeedSummary& summary) {
  std::map<int, std::vector<std::string>> years;  // year -> records
  std::map<int, int> lastDate;                    // year -> its last race date
  std::map<int, std::vector<int>> newHorses;      // year -> horses first seen in the season that year
  std::vector<bool> seen(w.horses.size(), false);
  for (const demo::Meeting& m : w.meetings) {
    for (int raceIndex : m.races) {
      const demo::Race& r = w.races[static_cast<std::size_t>(raceIndex)];
      if (!demo::InSeason(w, r)) continue;
      const int year = demo::YearOf(r.date);
      std::vector<std::string>& records = years[year];
      lastDate[year] = std::max(lastDate[year], r.date);
      records.push_back(demo::MakeRaceRecord(w, r));
      for (int ru : ByHorseNumber(w, r)) {
        const demo::Run& run = w.runs[static_cast<std::size_t>(ru)];
        records.push_back(demo::MakeRunnerRecord(w, run));
        ++summary.setupRunners;
        if (!seen[static_cast<std::size_t>(run.horse)]) {
          seen[static_cast<std::size_t>(run.horse)] = true;
          if (!w.horses[static_cast<std::size_t>(run.horse)].legacyMaster) newHorses[year].push_back(run.horse);
        }
      }
      if (r.finished) records.push_back(demo::MakePayoutRecord(w, r));
      ++summary.setupRaces;
    }
  }
  for (auto& [year, records] : years) {
    for (int h : newHorses[year]) {
      records.push_back(demo::MakeHorseMaster(w, w.horses[static_cast<std::size_t>(h)]));
      ++summary.setupHorseMasters;
    }
    // Made on the Monday after the year's last race weekend.
    const std::string timestamp = demo::DateText(lastDate[year] + 1) + "120000";
    if (summary.firstSetupTimestamp.empty()) summary.firstSetupTimestamp = timestamp;
    WriteFeedFile(feed, "RACE", timestamp, records, true);
    ++summary.setupFiles;
    std::vector<std::string>().swap(records);
  }
}

}  // namespace

DemoFeedSummary WriteDemoFeed(const std::filesystem::path& feed, const DemoOptions& options) {
  demo::World w = demo::BuildWorld(options.seed, options.weeks);
  DemoFeedSummary summary;
  if (options.setup) WriteSetup(feed, w, summary);

  // The demo meetings' races move one week on; which of them have been run
  // is what the results will tell.
  std::vector<std::size_t> next;
  std::vector<bool> run;
  for (std::size_t i = 0; i < w.races.size(); ++i) {
    demo::Race& r = w.races[i];
    if (!r.current || r.date < w.demoSaturday) continue;
    r.date += kWeek;
    demo::MeetingAndDay(r.date, r.course, r.meeting, r.day);
    next.push_back(i);
    run.push_back(r.finished);
  }
  if (next.empty()) return summary;

  // The race cards, published two days before the first race day: one
  // JV-Link file per meeting, a minute apart, with the horse masters of its
  // runners.
  std::map<std::pair<int, std::string>, std::vector<std::size_t>> byMeeting;
  int firstDate = w.races[next.front()].date;
  for (std::size_t i : next) {
    firstDate = std::min(firstDate, w.races[i].date);
    byMeeting[{w.races[i].date, w.races[i].course}].push_back(i);
  }
  std::set<std::string> meetings, dates;
  int minute = 0;
  for (auto& [key, races] : byMeeting) {
    std::vector<std::string> cards;
    std::set<int> horses;
    for (std::size_t i : races) {
      demo::Race& r = w.races[i];
      r.finished = false;
      r.dataKind = '2';
      std::string ra = demo::MakeRaceRecord(w, r);
      meetings.insert(SjisToUtf8(MeetingBaseName(ra)));
      dates.insert(demo::DateText(r.date));
      cards.push_back(std::move(ra));
      for (int ru : ByHorseNumber(w, r)) {
        cards.push_back(demo::MakeRunnerRecord(w, w.runs[static_cast<std::size_t>(ru)]));
        horses.insert(w.runs[static_cast<std::size_t>(ru)].horse);
        ++summary.runners;
      }
      ++summary.races;
    }
    for (int h : horses) cards.push_back(demo::MakeHorseMaster(w, w.horses[static_cast<std::size_t>(h)]));
    char hhmm[16];
    std::snprintf(hhmm, sizeof hhmm, "%02d%02d", 18 + minute / 60, minute % 60);
    summary.fileTimestamp = demo::DateText(firstDate - 2) + hhmm + "00";
    WriteFeedFile(feed, "RACE", summary.fileTimestamp, cards, true);
    ++minute;
  }

  // The results of the races that were run, per race date.
  std::map<std::string, std::vector<std::string>> results;
  for (std::size_t k = 0; k < next.size(); ++k) {
    if (!run[k]) continue;
    demo::Race& r = w.races[next[k]];
    r.finished = true;
    r.dataKind = '7';
    std::vector<std::string>& day = results[demo::DateText(r.date)];
    day.push_back(demo::MakeRaceRecord(w, r));
    for (int ru : ByHorseNumber(w, r)) day.push_back(demo::MakeRunnerRecord(w, w.runs[static_cast<std::size_t>(ru)]));
    day.push_back(demo::MakePayoutRecord(w, r));
    ++summary.resultRaces;
  }
  for (auto& [date, records] : results) WriteRealTimeFile(feed, "0B12", date, records);

  summary.meetings.assign(meetings.begin(), meetings.end());
  summary.dates.assign(dates.begin(), dates.end());
  return summary;
}

void WriteDemoSettings(const std::filesystem::path& settingsFile, const DemoFeedSummary& feed) {
  const std::optional<LocalDateTime> published =
      ParseTimestamp(feed.firstSetupTimestamp.empty() ? feed.fileTimestamp : feed.firstSetupTimestamp);
  if (!published) return;
  TIniGT settings(settingsFile, TDefaultDir::ddNone);
  // The demo store replays its own feed on every system, also on Windows,
  // where the JV-Link control would otherwise be asked.
  if (settings.ReadString(kFeedSettingSection, kFeedSettingKey, "").empty())
    settings.WriteString(kFeedSettingSection, kFeedSettingKey, kDefaultFeedFolderName);
  if (!settings.ReadString(kLastTimeSection, kLastTimeKey, "").empty()) return;
  LocalDateTime from = *published;
  from.hour = from.minute = from.second = 0;
  settings.WriteString(kLastTimeSection, kLastTimeKey, FormatSettingTime(from));
}

}  // namespace furlong
