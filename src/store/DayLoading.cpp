#include "store/DayLoading.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/HorseMasterConversion.h"
#include "store/Encoding.h"
#include "store/ParallelFor.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"

namespace furlong {

namespace fs = std::filesystem;

namespace {

void Warn(const DayLoadCallbacks& cb, const std::string& message) {
  if (cb.warning) cb.warning(message);
}

// Date, racecourse code and race number of an RA, SE or HR record.
std::string RaceMatchKey(std::string_view rec) {
  std::string key;
  key.reserve(12);
  key += head::Date(rec);
  key += head::Course(rec);
  key += head::RaceNumber(rec);
  return key;
}

void FillPair(PayoutEntry& e, int a, int b) {
  if (a > 0 && b > 0) {
    std::string text = FormatInt(a, 2) + "-" + FormatInt(b, 2);
    std::size_t n = text.size() < sizeof e.pair ? text.size() : sizeof e.pair;
    std::memcpy(e.pair, text.data(), n);
    e.pairLength = static_cast<char>(n);
  } else {
    e.pairLength = 0;
  }
}

void FillPayouts(std::string_view hr, RacePayouts& p) {
  p = RacePayouts{};
  const auto number = [](std::string_view text) { return static_cast<int>(ReadNumber(text)); };
  // The pair text splits into halves: one digit each for brackets, two for horses.
  const auto fillPair = [&](PayoutEntry& out, const hr::Table& table, std::size_t e) {
    const hr::Entry in = hr::EntryOf(hr, table, e);
    const std::size_t half = table.pair.size() / 2;
    const std::string_view first = in.pair.substr(0, half);
    const std::string_view second = in.pair.size() > half ? in.pair.substr(half, half) : std::string_view{};
    FillPair(out, number(first), number(second));
    out.amount = number(in.amount);
    out.popularity = number(in.popularity);
  };
  for (std::size_t e = 0; e < p.win.size(); ++e) {
    const hr::Entry in = hr::Win(hr, e);
    p.win[e].horse = number(in.pair);
    p.win[e].amount = number(in.amount);
    p.win[e].popularity = number(in.popularity);
  }
  for (std::size_t e = 0; e < p.place.size(); ++e) {
    const hr::Entry in = hr::Place(hr, e);
    p.place[e].horse = number(in.pair);
    p.place[e].amount = number(in.amount);
    p.place[e].popularity = number(in.popularity);
  }
  for (std::size_t e = 0; e < p.bracketQuinella.size(); ++e) fillPair(p.bracketQuinella[e], hr::kBracketQuinella, e);
  for (std::size_t e = 0; e < p.quinella.size(); ++e) fillPair(p.quinella[e], hr::kQuinella, e);
  for (std::size_t e = 0; e < p.wide.size(); ++e) fillPair(p.wide[e], hr::kWide, e);
}

// Results race files hold the past races of many runners; each is read once
// per loading.
class ResultsRaceCache {
 public:
  explicit ResultsRaceCache(SmallFileReader& reader) : reader_(reader) {}
  const std::string* Get(const fs::path& path) {
    auto key = path.native();
    auto it = files_.find(key);
    if (it != files_.end()) return it->second.exists ? &it->second.content : nullptr;
    Entry e;
    std::size_t length = 0;
    e.exists = reader_.Read(path, buffer_, length);
    if (e.exists) e.content.assign(buffer_.data(), length / kRaLength * kRaLength);
    auto [pos, _] = files_.emplace(std::move(key), std::move(e));
    return pos->second.exists ? &pos->second.content : nullptr;
  }

 private:
  struct Entry {
    bool exists = false;
    std::string content;
  };
  SmallFileReader& reader_;
  std::string buffer_;
  std::unordered_map<fs::path::string_type, Entry> files_;
};


// The horse master and the last five runs before the race of one runner.
template <typename WarnFn>
void LoadHorseFiles(const Store& store, DayTables& day, int i, int h, SmallFileReader& reader, std::string& masterBuf,
                    std::string& historyBuf, WarnFn&& warn) {
  const SeRecord& runner = day.RunnerRecords[i][h];
  const std::int64_t d = ReadNumber(head::Date(runner));
  const std::string_view horseId = SeHorseId(runner);
  if (IsBlank(horseId)) return;
  if (!IsPathSafe(horseId) || horseId.size() != 10) {
    warn("horse id '" + SjisToUtf8(horseId) + "' cannot name a file; its master and history are skipped");
    return;
  }
  const fs::path masterPath = store.HorseMasterFile(horseId);
  UmRecord& master = day.HorseRecords[i][h];
  std::size_t masterLength = 0, historyLength = 0;
  bool haveMaster = reader.Read(masterPath, masterBuf, masterLength);
  if (!haveMaster) {
    // No current horse master: convert the legacy one, if there is any.
    store.YearFolder(store_names::kUm2, horseId.substr(0, 4), true);
    if (ConvertHorseMaster(store.LegacyHorseMasterFile(horseId), masterPath) > 0)
      haveMaster = reader.Read(masterPath, masterBuf, masterLength);
  }
  if (haveMaster && masterLength >= kUmLength) master.Assign(std::string_view(masterBuf.data(), kUmLength));

  if (reader.Read(store.HorseHistoryFile(horseId), historyBuf, historyLength)) {
    const std::size_t runs = historyLength / kSeLength;
    int k = 0;
    bool foreign = false;
    for (std::size_t n = runs; n > 0 && k < kPastRuns; --n) {
      std::string_view rec(historyBuf.data() + (n - 1) * kSeLength, kSeLength);
      if (SeHorseId(rec) != horseId) {
        foreign = true;
        continue;
      }
      const std::int64_t p = ReadNumber(head::Date(rec));
      if (p < d && d > 0 && p > 0) day.PastRunRecords[i][h][k++].Assign(rec);
    }
    if (foreign) warn("horse history of " + SjisToUtf8(horseId) + " holds runs of other horses; they are skipped");
  }
}

}  // namespace

ResultTexts MakeResultTexts(std::string_view se) {
  ResultTexts t;
  std::string_view finish = TrimSpaces(se::FinishingPosition(se));
  if (finish == "00" && DigitsValue(se::Abnormality(se)).value_or(0) == 0) {
    // A race not yet run (or a placing not yet confirmed): the card record
    // holds "00" and "0000" in its result fields but names no abnormality.
    // "―" is kept for a runner that was scratched or did not finish.
    t.finish = "  ";
    t.popularity = "  ";
    t.odds = "     ";
    t.time = "      ";
    return t;
  }
  if (finish.empty()) t.finish = "  ";
  else if (finish == "00") t.finish = SJ("―");
  else t.finish = FormatInt(ReadNumber(finish), 2);

  std::string_view pop = TrimSpaces(se::WinPopularity(se));
  if (pop.empty()) t.popularity = "  ";
  else if (pop == "00") t.popularity = "--";
  else t.popularity = FormatInt(ReadNumber(pop), 2);

  std::string_view odds = TrimSpaces(se::WinOdds(se));
  if (odds.empty()) t.odds = "     ";
  else if (odds == "0000") t.odds = "-----";
  else t.odds = FormatFixed(static_cast<double>(ReadNumber(se::WinOdds(se))) / 10.0, 5, 1);

  std::string_view time = se::RaceTime(se);
  std::string_view timeTrim = TrimSpaces(time);
  if (timeTrim.empty()) t.time = "      ";
  else if (timeTrim == "0000") t.time = "------";
  else {
    std::string s;
    s += Field(time, race_time::kMinutes);
    s += '.';
    s += Field(time, race_time::kSeconds);
    s += '.';
    s += Field(time, race_time::kTenths);
    t.time = s;
  }
  return t;
}

void LoadMeetingDay(const Store& store, std::string_view meeting, DayTables& day, const DayLoadCallbacks& cb) {
  day.BlankAll();
  day.meeting.assign(meeting);
  int done = 0;
  auto step = [&] {
    ++done;
    if (cb.progress) cb.progress(done, kDayLoadSteps);
  };

  const fs::path raceFile = store.RaceFile(meeting);
  const fs::path runnerFile = store.RunnerFile(meeting);
  RecordFile races, runners;
  if (!races.Open(raceFile, kRaLength)) throw StoreError(raceFile, "race file not found");
  if (!runners.Open(runnerFile, kSeLength)) throw StoreError(runnerFile, "runner file not found");
  if (runners.Count() < 216)
    Warn(cb, SjisToUtf8(meeting) + ": runner file holds " + std::to_string(runners.Count()) +
                 " whole records instead of 216; the missing runners stay empty");

  const std::size_t raceCount = races.Count() < kRaceSlots ? races.Count() : kRaceSlots;
  {
    std::string all;
    races.ReadAll(all);
    for (std::size_t i = 0; i < raceCount; ++i) day.RaceRecords[i].Assign(std::string_view(all).substr(i * kRaLength, kRaLength));
    runners.ReadAll(all);
    const std::size_t runnerCount = runners.Count();
    for (std::size_t i = 0; i < raceCount; ++i) {
      const int n = RegisteredRunners(day.RaceRecords[i]);
      for (int h = 0; h < n; ++h) {
        std::size_t r = i * kRunnerSlots + h;
        if (r < runnerCount) day.RunnerRecords[i][h].Assign(std::string_view(all).substr(r * kSeLength, kSeLength));
      }
    }
  }
  races.Close();
  runners.Close();

  // Every runner's horse master and history: many small files, read by two
  // threads since opening a file costs far more than reading it. Each task
  // writes only its own runner's table entries.
  struct Task {
    int slot, runner;
  };
  std::vector<Task> tasks;
  std::array<std::atomic<int>, kRaceSlots> remaining{};
  for (int i = 0; i < static_cast<int>(raceCount); ++i) {
    const int n = RegisteredRunners(day.RaceRecords[i]);
    for (int h = 0; h < n; ++h) tasks.push_back({i, h});
    remaining[i] = n;
  }
  for (auto name : {store_names::kData, store_names::kSei, store_names::kSeir, store_names::kUm2, store_names::kUma})
    store.Folder(name);  // resolved once here, so the threads find them in the store's folder list

  std::mutex warningsMutex;
  std::vector<std::pair<std::size_t, std::string>> warnings;
  struct WorkerState {
    SmallFileReader reader;
    std::string historyBuf, masterBuf;
  };
  const unsigned workers = tasks.size() > 8 ? 2 : 1;
  std::vector<WorkerState> states(workers);
  // The calling thread (worker 0) reports each slot once all its runners are done.
  int reported = 0;
  auto reportFinishedSlots = [&](bool all) {
    while (reported < kRaceSlots && (all || reported >= static_cast<int>(raceCount) || remaining[reported] == 0)) {
      ++reported;
      step();
    }
  };
  ParallelFor(tasks.size(), workers, [&](std::size_t t, unsigned worker) {
    const int i = tasks[t].slot, h = tasks[t].runner;
    auto warn = [&](std::string message) {
      std::lock_guard lock(warningsMutex);
      warnings.emplace_back(t, std::move(message));
    };
    WorkerState& state = states[worker];
    LoadHorseFiles(store, day, i, h, state.reader, state.masterBuf, state.historyBuf, warn);
    remaining[i].fetch_sub(1);
    if (worker == 0) reportFinishedSlots(false);
  });
  std::sort(warnings.begin(), warnings.end());
  for (auto& [t, message] : warnings) Warn(cb, message);
  reportFinishedSlots(true);

  // Payouts: each record lands in the slot of its own race.
  {
    RecordFile payouts;
    if (payouts.Open(store.PayoutFile(meeting), kHrLength)) {
      std::vector<char> buf(kHrLength);
      for (std::size_t n = 0; n < payouts.Count() && n < kRaceSlots; ++n) {
        payouts.Read(n, buf.data());
        std::string_view rec(buf.data(), buf.size());
        std::string key = RaceMatchKey(rec);
        if (IsBlank(key)) continue;
        for (int s = 0; s < kRaceSlots; ++s) {
          if (RaceMatchKey(day.RaceRecords[s]) == key) {
            day.PayoutRecords[s].Assign(rec);
            break;
          }
        }
      }
    }
  }

  // Predicted odds: the meeting's own file, else the whole day's file.
  {
    RecordFile odds;
    if (odds.Open(store.OddsFile(meeting), kOddsLength)) {
      for (std::size_t n = 0; n < odds.Count() && n < kRaceSlots; ++n)
        odds.Read(n, day.PredictedOddsRecords[n].bytes.data());
    } else if (odds.Open(store.DayOddsFile(meeting), kOddsLength)) {
      // Searched once per race: a corrupt, huge file is an error, not minutes of reading.
      if (odds.Count() > kMaxStoreFileBytes / kOddsLength)
        throw StoreError(store.DayOddsFile(meeting),
                         FileTooLargeReason());
      std::vector<char> buf(kOddsLength);
      for (int j = 0; j < kRaceSlots; ++j) {
        std::string key = RaceMatchKey(day.RaceRecords[j]);
        for (std::size_t n = 0; n < odds.Count(); ++n) {
          odds.Read(n, buf.data());
          std::string_view rec(buf.data(), buf.size());
          std::string oddsKey;
          oddsKey += odds::Date(rec);
          oddsKey += odds::Course(rec);
          oddsKey += odds::RaceNumber(rec);
          if (oddsKey == key) {
            day.PredictedOddsRecords[j].Assign(rec);
            break;
          }
        }
      }
    }
  }

  // Second pass: the race record of every past run.
  SmallFileReader reader;
  ResultsRaceCache cache(reader);
  for (int j = 0; j < kRaceSlots; ++j) {
    step();
    std::string_view year = ra::Year(day.RaceRecords[j]);
    day.hasRace[j] = !IsBlank(year) && year != "0000";
    if (cb.raceSlot) cb.raceSlot(j);
    for (int h = 0; h < kRunnerSlots; ++h) {
      for (int k = 0; k < kPastRuns; ++k) {
        const SeRecord& run = day.PastRunRecords[j][h][k];
        if (run.IsBlank()) continue;
        fs::path path;
        try {
          path = store.ResultsRaceFile(run);
        } catch (const RefusedRecord&) {
          continue;  // a date or racecourse that cannot name a file: no race record
        }
        const std::string* content = cache.Get(path);
        if (!content) continue;
        std::string_view race = se::RaceNumber(run);
        for (std::size_t off = 0; off + kRaLength <= content->size(); off += kRaLength) {
          std::string_view rec(content->data() + off, kRaLength);
          if (head::RaceNumber(rec) == race) {
            day.PastRaceRecords[j][h][k].Assign(rec);
            break;
          }
        }
      }
    }
  }

  for (int j = 0; j < kRaceSlots; ++j) {
    for (int h = 0; h < kRunnerSlots; ++h) day.Results[j][h] = MakeResultTexts(day.RunnerRecords[j][h]);
    FillPayouts(day.PayoutRecords[j], day.Payouts[j]);
  }
}

}  // namespace furlong
