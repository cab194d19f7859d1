// The demo store: whole records of the right lengths, meetings the day
// loading can read, results that agree with their payouts, careers that
// agree with their race records and horse masters, and byte-identical output
// for the same seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Command.h"
#include "DemoTestStore.h"
#include "StoreTestSupport.h"
#include "demo/DemoRecords.h"
#include "demo/DemoStore.h"
#include "demo/DemoCalendar.h"
#include "demo/DemoWorld.h"
#include "demo/RecordBuffer.h"
#include "store/HorseMasterConversion.h"
#include "store/DayTables.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/Store.h"
#include "store/TextLines.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;

const test::DemoFixture& Demo() {
  static test::DemoFixture demo;  // this file's own
  return demo;
}

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Records(const fs::path& p, std::size_t length) {
  std::string bytes = ReadBytes(p);
  std::vector<std::string> out;
  for (std::size_t i = 0; i + length <= bytes.size(); i += length) out.push_back(bytes.substr(i, length));
  return out;
}

// Every regular file below the root, by path relative to it.
std::map<std::string, std::string> AllFiles(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) files[fs::relative(e.path(), root).generic_string()] = ReadBytes(e.path());
  return files;
}

int Num(std::string_view rec, std::size_t from, std::size_t to) { return FieldNumber(rec, from, to); }
std::string Text(std::string_view rec, std::size_t from, std::size_t to) { return std::string(Field(rec, from, to)); }

// A meeting as the day loading sees it.
struct MeetingFiles {
  std::string name;
  std::vector<std::string> races, runners, payouts;
};

std::vector<MeetingFiles> Meetings(const Store& store) {
  std::vector<MeetingFiles> out;
  for (const std::string& m : store.MeetingNames()) {
    MeetingFiles f;
    f.name = m;
    f.races = Records(store.RaceFile(m), kRaLength);
    f.runners = Records(store.RunnerFile(m), kSeLength);
    f.payouts = Records(store.PayoutFile(m), kHrLength);
    out.push_back(std::move(f));
  }
  return out;
}

// The runner records of one race of a meeting.
std::vector<std::string> RunnersOf(const MeetingFiles& m, std::size_t slot) {
  std::vector<std::string> out;
  int n = RegisteredRunners(m.races[slot]);
  for (int h = 0; h < n; ++h) out.push_back(m.runners[slot * 18 + static_cast<std::size_t>(h)]);
  return out;
}

TEST(DemoStore, TheSameSeedWritesByteIdenticalFilesAndAnotherSeedDoesNot) {
  test::ScratchDir again;
  DemoSummary second = WriteDemoStore(again.path());
  auto a = AllFiles(Demo().dir.path()), b = AllFiles(again.path());
  ASSERT_EQ(a.size(), b.size());
  for (auto& [name, bytes] : a) {
    auto it = b.find(name);
    ASSERT_NE(it, b.end()) << name;
    EXPECT_TRUE(it->second == bytes) << name << " differs";
  }
  EXPECT_EQ(second.files, Demo().summary.files);
  EXPECT_EQ(second.bytes, Demo().summary.bytes);

  // Another seed gives other horses and other results.
  demo::World other = demo::BuildWorld(2);
  demo::World same = demo::BuildWorld(1);
  EXPECT_NE(demo::MakeRunnerRecord(other, other.runs[0]), demo::MakeRunnerRecord(same, same.runs[0]));
}

TEST(DemoStore, EveryFileHoldsWholeRecordsOfItsKind) {
  const std::map<std::string, std::pair<std::size_t, std::string>> kinds = {
      {".jvRA", {kRaLength, "RA"}},  {".jvSERA", {kRaLength, "RA"}},      {".jvSEr", {kSeLength, "SE"}},
      {".jvSEI", {kSeLength, "SE"}}, {".jvHR", {kHrLength, "HR"}},       {".jvUM2", {kUmLength, "UM"}},
      {".jvUMA", {kLegacyUmLength, "UM"}}, {".yoz", {kOddsLength, ""}}};
  int files = 0;
  std::uintmax_t bytes = 0;
  for (auto& e : fs::recursive_directory_iterator(Demo().dir.path())) {
    if (!e.is_regular_file()) continue;
    ++files;
    bytes += e.file_size();
    auto kind = kinds.find(e.path().extension().string());
    ASSERT_NE(kind, kinds.end()) << e.path();
    const auto [length, type] = kind->second;
    const std::string content = ReadBytes(e.path());
    ASSERT_GT(content.size(), 0u) << e.path();
    ASSERT_EQ(content.size() % length, 0u) << e.path();
    for (const std::string& rec : Records(e.path(), length)) {
      ASSERT_EQ(rec.substr(length - 2), "\r\n") << e.path();
      ASSERT_EQ(rec.find_first_of("\r\n"), length - 2) << e.path();
      ASSERT_TRUE(IsValidSjis(rec)) << e.path();
      if (IsBlank(rec.substr(0, length - 2))) continue;  // an empty runner slot or odds line
      if (!type.empty()) {
        EXPECT_EQ(RecordType(rec), type) << e.path();
      }
    }
  }
  EXPECT_EQ(files, Demo().summary.files);
  EXPECT_EQ(bytes, Demo().summary.bytes);
}

TEST(DemoStore, TwoDaysOfThreeMeetingsWithFullCardsTheLatestHalfRun) {
  Store store(Demo().dir.path(), false);
  auto meetings = Meetings(store);
  ASSERT_EQ(meetings.size(), 6u);
  std::set<std::string> dates;
  int unrun = 0, finished = 0, smallFields = 0;
  for (const MeetingFiles& m : meetings) {
    SCOPED_TRACE(SjisToUtf8(m.name));
    ASSERT_EQ(m.races.size(), 12u);
    ASSERT_EQ(m.runners.size(), 216u);
    dates.insert(Text(m.races[0], 12, 19));
    for (std::size_t i = 0; i < 12; ++i) {
      const std::string& ra = m.races[i];
      EXPECT_EQ(Num(ra, 26, 27), static_cast<int>(i) + 1);
      EXPECT_EQ(MeetingBaseName(ra), m.name);
      const int n = Num(ra, 882, 883);
      EXPECT_GE(n, 7);
      EXPECT_LE(n, 18);
      smallFields += n <= 8;
      // Occupied slots hold the race's runners by horse number, the rest is blank.
      int bracket = 1;
      for (int h = 0; h < 18; ++h) {
        const std::string& se = m.runners[i * 18 + static_cast<std::size_t>(h)];
        if (h >= n) {
          EXPECT_TRUE(IsBlank(se.substr(0, kSeLength - 2)));
          continue;
        }
        EXPECT_EQ(RaceKey(se), RaceKey(ra));
        EXPECT_EQ(Num(se, 29, 30), h + 1);
        EXPECT_GE(Num(se, 28, 28), bracket);  // brackets never go down
        bracket = Num(se, 28, 28);
        EXPECT_LE(bracket, 8);
      }
      bool run = false;
      for (const std::string& se : RunnersOf(m, i)) run = run || Num(se, 335, 336) > 0;
      bool paid = std::any_of(m.payouts.begin(), m.payouts.end(),
                              [&](const std::string& hr) { return RaceKey(hr) == RaceKey(ra); });
      EXPECT_EQ(run, paid) << "race " << i + 1;
      (run ? finished : unrun)++;
      if (!run) {
        for (const std::string& se : RunnersOf(m, i)) {
          EXPECT_EQ(Text(se, 339, 342), "0000");
          EXPECT_EQ(Text(se, 360, 363), "0000");
        }
      }
    }
  }
  EXPECT_EQ(dates.size(), 2u);
  EXPECT_GT(unrun, 0);
  EXPECT_GT(finished, unrun);
  EXPECT_GT(smallFields, 0);
  EXPECT_EQ(finished, Demo().summary.finishedRaces);
}

// Horses that a bet on the first `k` places pays for: every set of horses
// that could all be among the first k given the confirmed positions (dead
// heats share a position, and the next position is skipped).
bool PaysForFirst(const std::map<int, int>& position, const std::vector<int>& horses, int k) {
  int worst = 0;
  for (int h : horses) {
    int p = position.at(h);
    if (p == 0) return false;
    worst = std::max(worst, p);
  }
  int ahead = 0;
  for (auto& [h, p] : position)
    if (p > 0 && p < worst && std::find(horses.begin(), horses.end(), h) == horses.end()) ++ahead;
  return ahead + static_cast<int>(horses.size()) <= k;
}

TEST(DemoStore, PayoutsAgreeWithTheFinishingOrder) {
  Store store(Demo().dir.path(), false);
  int deadHeats = 0, checked = 0;
  for (const MeetingFiles& m : Meetings(store)) {
    for (const std::string& hr : m.payouts) {
      auto race = std::find_if(m.races.begin(), m.races.end(), [&](auto& ra) { return RaceKey(ra) == RaceKey(hr); });
      ASSERT_NE(race, m.races.end());
      const auto runners = RunnersOf(m, static_cast<std::size_t>(race - m.races.begin()));
      std::map<int, int> position, bracket, odds, popularity;
      int starters = 0;
      for (const std::string& se : runners) {
        if (Num(se, 332, 332) == 1) continue;  // scratched
        ++starters;
        int h = Num(se, 29, 30);
        position[h] = Num(se, 335, 336);
        bracket[h] = Num(se, 28, 28);
        odds[h] = Num(se, 360, 363);
        popularity[h] = Num(se, 364, 365);
      }
      SCOPED_TRACE(SjisToUtf8(m.name) + " race " + Text(hr, 26, 27));
      EXPECT_EQ(Num(hr, 30, 31), starters);
      std::vector<int> horses;
      for (auto& [h, p] : position)
        if (p > 0) horses.push_back(h);

      std::set<int> win, place, paidWin, paidPlace;
      std::set<std::pair<int, int>> quinella, wide, brackets, paidQuinella, paidWide, paidBrackets;
      for (int h : horses) {
        if (PaysForFirst(position, {h}, 1)) win.insert(h);
        if (PaysForFirst(position, {h}, starters <= 7 ? 2 : 3)) place.insert(h);
      }
      for (int a : horses)
        for (int b : horses) {
          if (a >= b) continue;
          if (PaysForFirst(position, {a, b}, 2)) {
            quinella.insert({a, b});
            brackets.insert({std::min(bracket[a], bracket[b]), std::max(bracket[a], bracket[b])});
          }
          if (PaysForFirst(position, {a, b}, 3)) wide.insert({a, b});
        }
      if (starters < 9) brackets.clear();  // not sold for small fields

      for (int e = 0; e < 3; ++e) {
        std::size_t c = 103 + 13 * static_cast<std::size_t>(e);
        if (Num(hr, c, c + 1) == 0) continue;
        int h = Num(hr, c, c + 1);
        paidWin.insert(h);
        EXPECT_EQ(Num(hr, c + 11, c + 12), popularity[h]);
        if (win.size() == 1) {
          EXPECT_EQ(Num(hr, c + 2, c + 10), odds[h] * 10);  // odds in tenths, paid per 100 yen
        }
      }
      for (int e = 0; e < 5; ++e) {
        std::size_t c = 142 + 13 * static_cast<std::size_t>(e);
        if (Num(hr, c, c + 1) == 0) continue;
        paidPlace.insert(Num(hr, c, c + 1));
        EXPECT_GE(Num(hr, c + 2, c + 10), 100);
      }
      for (int e = 0; e < 3; ++e) {
        std::size_t c = 207 + 13 * static_cast<std::size_t>(e);
        if (Num(hr, c, c) > 0) paidBrackets.insert({Num(hr, c, c), Num(hr, c + 1, c + 1)});
      }
      auto pairs = [&](std::size_t first, int count, auto& into) {
        for (int e = 0; e < count; ++e) {
          std::size_t c = first + 16 * static_cast<std::size_t>(e);
          if (Num(hr, c, c + 1) == 0) continue;
          into.insert({Num(hr, c, c + 1), Num(hr, c + 2, c + 3)});
          EXPECT_GE(Num(hr, c + 4, c + 12), 100);
          EXPECT_GE(Num(hr, c + 13, c + 15), 1);
        }
      };
      pairs(246, 3, paidQuinella);
      pairs(294, 7, paidWide);
      EXPECT_EQ(paidWin, win);
      EXPECT_EQ(paidPlace, place);
      EXPECT_EQ(paidQuinella, quinella);
      EXPECT_EQ(paidWide, wide);
      EXPECT_EQ(paidBrackets, brackets);
      deadHeats += win.size() > 1 || place.size() > (starters <= 7 ? 2u : 3u);
      ++checked;
    }
  }
  EXPECT_EQ(checked, Demo().summary.finishedRaces);
  EXPECT_GE(deadHeats, 1);
}

TEST(DemoStore, ResultsOfTheMeetingsAreConsistent) {
  Store store(Demo().dir.path(), false);
  for (const MeetingFiles& m : Meetings(store)) {
    for (std::size_t i = 0; i < 12; ++i) {
      const std::string& ra = m.races[i];
      auto runners = RunnersOf(m, i);
      std::vector<std::pair<int, const std::string*>> finishers;  // time, record
      for (const std::string& se : runners)
        if (Num(se, 335, 336) > 0) finishers.emplace_back(Num(se, 339, 339) * 600 + Num(se, 340, 342), &se);
      if (finishers.empty()) continue;
      SCOPED_TRACE(SjisToUtf8(m.name) + " race " + std::to_string(i + 1));
      std::sort(finishers.begin(), finishers.end(), [](auto& a, auto& b) {
        return a.first != b.first ? a.first < b.first : Num(*a.second, 335, 336) < Num(*b.second, 335, 336);
      });
      // Faster horses finish ahead; time differences are to the winner.
      const int winner = finishers.front().first;
      int lastPosition = 0;
      for (auto& [time, se] : finishers) {
        EXPECT_GE(Num(*se, 335, 336), lastPosition);
        lastPosition = Num(*se, 335, 336);
        if (lastPosition > 1) {
          EXPECT_EQ(Text(*se, 532, 532), "+");
          EXPECT_EQ(Num(*se, 533, 535), time - winner);
        }
      }
      // The leader's furlong splits add up to the winner's time, and the last
      // three of them to the race's last three furlongs.
      const int d = Num(ra, 698, 701);
      if (Num(ra, 706, 707) < 50) {
        int laps = (d + 199) / 200, sum = 0, last = 0;
        for (int k = 0; k < laps; ++k) {
          int lap = Num(ra, 891 + 3 * static_cast<std::size_t>(k), 893 + 3 * static_cast<std::size_t>(k));
          sum += lap;
          if (k >= laps - 3) last += lap;
        }
        EXPECT_EQ(sum, winner);
        EXPECT_EQ(last, Num(ra, 976, 978));
      }
      // Popularity follows the win odds.
      std::vector<std::pair<int, int>> byPopularity;
      for (const std::string& se : runners)
        if (Num(se, 364, 365) > 0) byPopularity.emplace_back(Num(se, 364, 365), Num(se, 360, 363));
      std::sort(byPopularity.begin(), byPopularity.end());
      for (std::size_t k = 0; k < byPopularity.size(); ++k) {
        EXPECT_EQ(byPopularity[k].first, static_cast<int>(k) + 1);
        if (k > 0) {
          EXPECT_GE(byPopularity[k].second, byPopularity[k - 1].second);
        }
      }
    }
  }
}

// Plausible winning times in tenths for a surface and distance on any going.
TEST(DemoStore, RaceTimesFitDistanceAndSurface) {
  Store store(Demo().dir.path(), false);
  int turfMiles = 0, dirtNineFurlongs = 0;
  for (auto& e : fs::recursive_directory_iterator(Demo().dir.path() / "SEI")) {
    if (!e.is_regular_file()) continue;
    for (const std::string& se : Records(e.path(), kSeLength)) {
      const int t = Num(se, 339, 339) * 600 + Num(se, 340, 342);
      const int last3 = Num(se, 391, 393);
      fs::path seir = store.ResultsRaceFile(se);
      if (!fs::exists(seir) || Num(se, 335, 336) == 0) continue;
      for (const std::string& ra : Records(seir, kRaLength)) {
        if (RaceKey(ra) != RaceKey(se)) continue;
        const int d = Num(ra, 698, 701), track = Num(ra, 706, 707);
        if (track >= 50) continue;  // jump races
        const double perFurlong = t / (d / 200.0);  // tenths per 200 m
        EXPECT_GT(perFurlong, track <= 22 ? 108 : 116) << Text(se, 12, 27);
        EXPECT_LT(perFurlong, track <= 22 ? 135 : 142) << Text(se, 12, 27);
        if (last3 > 0) {
          EXPECT_GE(last3, 315) << Text(se, 12, 27);
          EXPECT_LE(last3, 460) << Text(se, 12, 27);
        }
        if (Num(se, 335, 336) == 1 && d == 1600 && track <= 22) {
          ++turfMiles;
          EXPECT_GE(t, 910);
          EXPECT_LE(t, 990);
        }
        if (Num(se, 335, 336) == 1 && d == 1800 && track >= 23) {
          ++dirtNineFurlongs;
          EXPECT_GE(t, 1080);
          EXPECT_LE(t, 1190);
        }
      }
    }
  }
  EXPECT_GT(turfMiles, 0);
  EXPECT_GT(dirtNineFurlongs, 0);
}

TEST(DemoStore, PastRunsPrecedeTheRaceAndMatchTheirRaceRecords) {
  const test::DemoFixture& demo = Demo();
  Store store(demo.dir.path(), false);
  std::map<std::string, std::set<int>> positions, numbers;  // by RaceKey, over all histories
  int runners = 0, withHistory = 0, missingRace = 0, pastRuns = 0;
  for (const MeetingFiles& m : Meetings(store)) {
    for (std::size_t i = 0; i < 12; ++i) {
      for (const std::string& se : RunnersOf(m, i)) {
        ++runners;
        const std::string id = Text(se, 31, 40);
        fs::path history = store.HorseHistoryFile(id);
        if (!fs::exists(history)) continue;
        ++withHistory;
        std::string previous;
        for (const std::string& run : Records(history, kSeLength)) {
          ++pastRuns;
          SCOPED_TRACE(id + " " + Text(run, 12, 27));
          EXPECT_EQ(Text(run, 3, 11), "000000000");
          EXPECT_EQ(Text(run, 31, 40), id);
          EXPECT_LT(Text(run, 12, 19), Text(se, 12, 19));
          EXPECT_GT(Text(run, 12, 27), previous);  // ascending RaceKey, no repeats
          previous = Text(run, 12, 27);
          const int position = Num(run, 335, 336), number = Num(run, 29, 30);
          EXPECT_TRUE(positions[previous].insert(position).second) << "two horses finished in one place";
          EXPECT_TRUE(numbers[previous].insert(number).second) << "two horses wore one number";
          fs::path seir = store.ResultsRaceFile(run);
          const bool jra = Num(run, 20, 21) >= 1 && Num(run, 20, 21) <= 10;
          if (!fs::exists(seir)) {
            EXPECT_FALSE(jra) << "a JRA run without its race record";
            ++missingRace;
            continue;
          }
          auto races = Records(seir, kRaLength);
          auto ra = std::find_if(races.begin(), races.end(), [&](auto& r) { return RaceKey(r) == RaceKey(run); });
          ASSERT_NE(ra, races.end());
          EXPECT_GE(Num(*ra, 882, 883), std::max(position, number));
          EXPECT_GT(Num(*ra, 698, 701), 600);
          EXPECT_EQ(Text(*ra, 3, 11), "000000000");
        }
      }
    }
  }
  EXPECT_EQ(runners, demo.summary.runners);
  EXPECT_EQ(withHistory, demo.summary.horseHistoryFiles);
  EXPECT_EQ(pastRuns, demo.summary.pastRuns);
  EXPECT_EQ(missingRace, demo.summary.localPastRuns);
  EXPECT_GT(missingRace, 0);
  EXPECT_GT(withHistory, runners / 2);
}

TEST(DemoStore, HorseMastersSummariseTheCareers) {
  Store store(Demo().dir.path(), false);
  int legacy = 0;
  for (const MeetingFiles& m : Meetings(store)) {
    for (std::size_t i = 0; i < 12; ++i) {
      for (const std::string& se : RunnersOf(m, i)) {
        const std::string id = Text(se, 31, 40);
        SCOPED_TRACE(id);
        const bool current = fs::exists(store.HorseMasterFile(id));
        const bool old = fs::exists(store.LegacyHorseMasterFile(id));
        ASSERT_NE(current, old) << "exactly one horse master file";
        std::string um;
        if (old) {
          ++legacy;
          auto recs = Records(store.LegacyHorseMasterFile(id), kLegacyUmLength);
          ASSERT_EQ(recs.size(), 1u);
          um = recs[0];
          // Columns 1-204 and the placings (old 931 onward) are those of the new layout.
          EXPECT_EQ(Text(um, 12, 21), id);
          EXPECT_EQ(Text(um, 47, 82), Text(se, 41, 76));
          continue;
        }
        auto recs = Records(store.HorseMasterFile(id), kUmLength);
        ASSERT_EQ(recs.size(), 1u);
        um = recs[0];
        EXPECT_EQ(UmHorseId(um), id);
        EXPECT_EQ(Text(um, 47, 82), Text(se, 41, 76));
        EXPECT_FALSE(TrimSpaces(RemoveWideSpaces(Text(um, 215, 250))).empty());  // sire
        EXPECT_FALSE(TrimSpaces(RemoveWideSpaces(Text(um, 261, 296))).empty());  // dam

        int runs = 0, jraRuns = 0, wins = 0, jraPrize = 0;
        fs::path history = store.HorseHistoryFile(id);
        if (fs::exists(history)) {
          for (const std::string& run : Records(history, kSeLength)) {
            ++runs;
            bool jra = Num(run, 20, 21) >= 1 && Num(run, 20, 21) <= 10;
            jraRuns += jra;
            wins += Num(run, 335, 336) == 1;
            if (jra) jraPrize += Num(run, 366, 373);
          }
        }
        int all = 0, jraPlacings = 0;
        for (int k = 0; k < 6; ++k) {
          all += Num(um, 1107 + 3 * static_cast<std::size_t>(k), 1109 + 3 * static_cast<std::size_t>(k));
          jraPlacings += Num(um, 1125 + 3 * static_cast<std::size_t>(k), 1127 + 3 * static_cast<std::size_t>(k));
        }
        EXPECT_EQ(all, runs);
        EXPECT_EQ(jraPlacings, jraRuns);
        EXPECT_EQ(Num(um, 1107, 1109), wins);
        EXPECT_EQ(Num(um, 1053, 1061) + Num(um, 1062, 1070), jraPrize);
      }
    }
  }
  EXPECT_EQ(legacy, Demo().summary.legacyHorseMasters);
  EXPECT_GT(legacy, 0);
}

TEST(DemoStore, PredictedOddsCoverTheRacesTheyAreFiledFor) {
  Store store(Demo().dir.path(), false);
  int meetingFiles = 0, dayFiles = 0;
  for (const MeetingFiles& m : Meetings(store)) {
    SCOPED_TRACE(SjisToUtf8(m.name));
    std::vector<std::string> odds;
    bool own = fs::exists(store.OddsFile(m.name));
    if (own) {
      ++meetingFiles;
      odds = Records(store.OddsFile(m.name), kOddsLength);
      ASSERT_EQ(odds.size(), 12u);
    } else {
      ASSERT_TRUE(fs::exists(store.DayOddsFile(m.name)));
      auto day = Records(store.DayOddsFile(m.name), kOddsLength);
      // The day file is searched by date, racecourse code and race number.
      for (const std::string& ra : m.races) {
        auto it = std::find_if(day.begin(), day.end(), [&](const std::string& o) {
          return Text(o, 1, 10) + Text(o, 15, 16) == Text(ra, 12, 21) + Text(ra, 26, 27);
        });
        ASSERT_NE(it, day.end());
        odds.push_back(*it);
      }
    }
    for (std::size_t i = 0; i < 12; ++i) {
      const std::string& o = odds[i];
      const int n = Num(m.races[i], 882, 883);
      EXPECT_EQ(Num(o, 15, 16), static_cast<int>(i) + 1);
      EXPECT_EQ(Num(o, 18, 19), n);
      EXPECT_TRUE(o[16] == 'J' || o[16] == 'K');
      for (int h = 1; h <= 18; ++h) {
        std::string win = Text(o, 20 + 6 * static_cast<std::size_t>(h - 1), 25 + 6 * static_cast<std::size_t>(h - 1));
        if (h <= n) {
          EXPECT_GT(std::stod(win), 1.0) << "horse " << h;
        } else {
          EXPECT_TRUE(IsBlank(win)) << "horse " << h;
        }
      }
    }
  }
  for (auto& e : fs::directory_iterator(store.Folder(store_names::kData)))
    dayFiles += e.path().extension() == ".yoz" && PathNameToSjis(e.path().stem()).size() == 14;
  EXPECT_GT(meetingFiles, 0);
  EXPECT_EQ(dayFiles, 1);
  EXPECT_EQ(meetingFiles + dayFiles, Demo().summary.oddsFiles);
}

const demo::World& World1() {
  static const demo::World w = demo::BuildWorld(1);
  return w;
}

TEST(DemoStore, RecordFieldsArePaddedAsTheDataServicePadsThem) {
  demo::RecordBuffer b(20);
  b.PutWideText({1, 8}, SJ("馬名"));  // two characters, then two full-width spaces
  EXPECT_EQ(b.bytes().substr(0, 8), SJ("馬名　　"));
  b.PutWideText({9, 13}, SJ("ア"));  // an odd width ends in a half-width space
  EXPECT_EQ(b.bytes().substr(8, 5), SJ("ア　") + " ");
  b.PutText({14, 16}, SJ("あい"));  // never half a character
  EXPECT_EQ(b.bytes().substr(13, 3), SJ("あ") + " ");
  b.PutNumber({17, 18}, 7);
  EXPECT_EQ(b.bytes().substr(16, 2), "07");
  b.PutNumber({17, 18}, 123);  // too wide: all nines, as the odds fields cap
  EXPECT_EQ(b.bytes().substr(16, 2), "99");
  EXPECT_EQ(b.bytes().substr(18), "\r\n");
  EXPECT_THROW(b.Put({18, 19}, "xx"), std::logic_error);  // would overwrite the CR LF
  EXPECT_THROW(b.Put({17, 17}, "xx"), std::logic_error);  // wider than its field
}

TEST(DemoStore, BracketsFollowTheJraRule) {
  EXPECT_EQ(demo::BracketsOf(7), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(demo::BracketsOf(10), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 7, 8, 8}));
  std::vector<int> b18 = demo::BracketsOf(18);
  EXPECT_EQ(std::count(b18.begin(), b18.end(), 1), 2);
  EXPECT_EQ(std::count(b18.begin(), b18.end(), 7), 3);
  EXPECT_EQ(std::count(b18.begin(), b18.end(), 8), 3);
}

TEST(DemoStore, CalendarNumbersTheDemoWeekendAsJraDoes) {
  const int sat = demo::DaySerial(2024, 11, 16);
  EXPECT_EQ(demo::DateText(sat), "20241116");
  EXPECT_EQ(demo::WeekdayCode(sat), 1);
  EXPECT_EQ(demo::WeekdayCode(sat + 1), 2);
  int meeting = 0, day = 0;
  demo::MeetingAndDay(sat, "05", meeting, day);
  EXPECT_EQ(meeting, 5);  // 5回東京5日
  EXPECT_EQ(day, 5);
  demo::MeetingAndDay(sat + 1, "03", meeting, day);
  EXPECT_EQ(meeting, 3);  // 3回福島6日
  EXPECT_EQ(day, 6);
  int y, m, d;
  demo::CivilFromSerial(demo::DaySerial(2024, 2, 29) + 1, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20240301);
}

TEST(DemoStore, RunnersSuitTheirRaces) {
  Store store(Demo().dir.path(), false);
  int oneTurn = 0;
  for (const MeetingFiles& m : Meetings(store)) {
    for (std::size_t i = 0; i < 12; ++i) {
      const std::string& ra = m.races[i];
      SCOPED_TRACE(SjisToUtf8(m.name) + " race " + std::to_string(i + 1));
      const int n = Num(ra, 882, 883), type = Num(ra, 617, 618), d = Num(ra, 698, 701);
      const bool fillies = Text(ra, 620, 620) == "2";
      std::set<int> jockeys;
      for (const std::string& se : RunnersOf(m, i)) {
        if (type == 11) {
          EXPECT_EQ(Num(se, 83, 84), 2);
        }
        if (type == 13) {
          EXPECT_GE(Num(se, 83, 84), 3);
        }
        if (fillies) {
          EXPECT_EQ(Text(se, 79, 79), "2");
        }
        EXPECT_TRUE(jockeys.insert(Num(se, 297, 301)).second) << "one rider on two horses";
        EXPECT_GE(Num(se, 289, 291), 480);
        EXPECT_LE(Num(se, 289, 291), 620);
        const std::string sign = Text(se, 328, 328), change = Text(se, 329, 331);
        EXPECT_TRUE(sign == "+" || sign == "-" || sign == " ");
        EXPECT_TRUE(change == "999" || change == "   " || ReadNumber(change) < 40) << change;
        if (Num(se, 335, 336) == 0) continue;
        for (std::size_t c = 352; c < 360; c += 2) EXPECT_LE(Num(se, c, c + 1), n);
        if (d <= 1600 && Num(ra, 706, 707) < 50) {
          EXPECT_EQ(Text(se, 352, 355), "0000");  // one turn: no first or second corner
          EXPECT_GT(Num(se, 358, 359), 0);
          ++oneTurn;
        }
      }
    }
  }
  EXPECT_GT(oneTurn, 0);
}

// Classes by the youngest-age condition code.
bool IsMaidenCode(int code) { return code == 701 || code == 702 || code == 703; }

TEST(DemoStore, CareersClimbTheClassLadder) {
  Store store(Demo().dir.path(), false);
  int checked = 0;
  for (const MeetingFiles& m : Meetings(store)) {
    for (std::size_t i = 0; i < 12; ++i) {
      const std::string& ra = m.races[i];
      if (Num(ra, 706, 707) >= 50) continue;  // jump classes are separate
      const int code = Num(ra, 635, 637);
      for (const std::string& se : RunnersOf(m, i)) {
        const std::string id = Text(se, 31, 40);
        SCOPED_TRACE(id);
        int wins = 0, runs = 0;
        if (fs::exists(store.HorseHistoryFile(id))) {
          for (const std::string& run : Records(store.HorseHistoryFile(id), kSeLength)) {
            ++runs;
            fs::path seir = store.ResultsRaceFile(run);
            if (!fs::exists(seir)) continue;
            for (const std::string& past : Records(seir, kRaLength)) {
              if (RaceKey(past) != RaceKey(run) || Num(past, 706, 707) >= 50) continue;
              const int pastCode = Num(past, 635, 637);
              if (pastCode == 701) {
                EXPECT_EQ(runs, 1) << "a newcomers' race after a first run";
              }
              if (wins > 0) {
                EXPECT_FALSE(IsMaidenCode(pastCode)) << "a maiden race after a win";
              }
            }
            wins += Num(run, 335, 336) == 1;
          }
        }
        if (code == 701) {
          EXPECT_EQ(runs, 0);
        }
        if (code == 703) {
          EXPECT_EQ(wins, 0);
        }
        if (Num(ra, 617, 618) == 13 && (code == 5 || code == 10 || code == 16)) {
          EXPECT_EQ(wins, code == 5 ? 1 : code == 10 ? 2 : 3);  // 1勝, 2勝, 3勝 classes
        }
        if (Num(ra, 617, 618) == 13 && code == 999) {
          EXPECT_GE(wins, 4);
        }
        ++checked;
      }
    }
  }
  EXPECT_EQ(checked, Demo().summary.runners - [&] {
    int jumpers = 0;
    for (const MeetingFiles& m : Meetings(store))
      for (std::size_t i = 0; i < 12; ++i)
        if (Num(m.races[i], 706, 707) >= 50) jumpers += Num(m.races[i], 882, 883);
    return jumpers;
  }());
}

TEST(DemoStore, LegacyHorseMastersConvertToTheHorsesCurrentMasters) {
  const demo::World& w = World1();
  int legacy = 0;
  for (const demo::Horse& h : w.horses) {
    if (!h.legacyMaster) continue;
    ++legacy;
    const std::string old = demo::MakeLegacyHorseMaster(w, h);
    ASSERT_EQ(old.size(), kLegacyUmLength);
    const std::string converted = ConvertLegacyHorseMasterRecord(old);
    const std::string current = demo::MakeHorseMaster(w, h);
    ASSERT_GE(converted.size(), kUmLength - 2);  // the line, with or without its CR LF
    SCOPED_TRACE(h.id);
    EXPECT_EQ(Field(converted, 1, 204), Field(current, 1, 204));
    for (std::size_t a = 0; a < 14; ++a) {
      const std::size_t c = 205 + 46 * a;
      EXPECT_EQ(Field(converted, c + 10, c + 45), Field(current, c + 10, c + 45));  // ancestor names
      EXPECT_EQ(Field(converted, c + 2, c + 9), Field(current, c + 2, c + 9));      // last 8 digits of the number
    }
    EXPECT_EQ(TrimSpaces(RemoveWideSpaces(Field(converted, 891, 962))),
              TrimSpaces(RemoveWideSpaces(Field(current, 891, 962))));  // breeder
    EXPECT_EQ(Field(converted, 963, 1607), Field(current, 963, 1607));  // owner, prizes, placings
  }
  EXPECT_GT(legacy, 0);
}

TEST(DemoStore, KolOddsRecordsKeepTheirOwnRacecourseCode) {
  const demo::World& w = World1();
  for (const demo::Meeting& m : w.meetings) {
    if (m.oddsSource != 'K') continue;
    const demo::Race& r = w.races[static_cast<std::size_t>(m.races[0])];
    const std::string rec = demo::MakeOddsRecord(w, r, 'K');
    EXPECT_EQ(Field(rec, 9, 10), demo::KolCourseCode(r.course));
    EXPECT_EQ(Field(rec, 17, 17), "K");
    EXPECT_TRUE(IsBlank(Field(rec, 128, 235)));  // KOL has no place odds
    return;
  }
  FAIL() << "no meeting takes KOL odds";
}

TEST(DemoStore, SampleCommandWritesAStoreButLeavesAnExistingOneAlone) {
  auto run = [](std::vector<std::string> args, std::string* out = nullptr) {
    std::vector<const char*> argv = {"furlong-cli"};
    for (auto& a : args) argv.push_back(a.c_str());
    std::ostringstream o, e;
    int code = cli::RunCli(static_cast<int>(argv.size()), argv.data(), o, e);
    if (out) *out = o.str();
    return code;
  };
  test::ScratchDir dir;
  const std::string root = (dir.path() / "demo").string();
  std::string out;
  ASSERT_EQ(run({"sample", "--root", root, "--seed", "1"}, &out), cli::kExitOk);
  EXPECT_NE(out.find("2024年11月17日京都"), std::string::npos);
  EXPECT_EQ(Store(root, false).MeetingNames().size(), 6u);
  // The same files as the library writes for seed 1.
  EXPECT_TRUE(ReadBytes(Store(root, false).RunnerFile(Utf8ToSjis("2024年11月16日東京"))) ==
              ReadBytes(Store(Demo().dir.path(), false).RunnerFile(Utf8ToSjis("2024年11月16日東京"))));

  EXPECT_EQ(run({"sample", "--root", root}), cli::kExitError);  // holds meetings already
  EXPECT_EQ(run({"sample"}), cli::kExitUsage);
  EXPECT_EQ(run({"sample", "--root", root, "--seed", "many"}), cli::kExitUsage);
  const std::string file = (dir.path() / "plain.txt").string();
  std::ofstream(file) << "x";
  EXPECT_EQ(run({"sample", "--root", file}), cli::kExitError);
}

}  // namespace
}  // namespace furlong
