#pragma once
// A store whose meetings the race analysis gives six bets (every runner has
// three earlier runs with their race records), and payout records to match.
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "StoreTestSupport.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/Store.h"

namespace furlong::test {

// An RA record of a race with the short race name "ジャンプ特別".
inline std::string HitRaceRecord(std::string_view date, std::string_view course, int race) {
  std::string ra = RaceHead("RA", kRaLength, date, course, race);
  Put(ra, 593, Utf8ToSjis("ジャンプ特別"));
  return ra;
}

// Meetings of 12-runner races and their payout records, filed by the store.
class HitStore {
 public:
  explicit HitStore(const std::filesystem::path& root) : store(root) {}

  // `unnumberedRace`: a race whose first runner has no horse number.
  void AddMeeting(const std::string& date, const std::string& course, int races, int runners, int unnumberedRace = 0) {
    for (int race = 1; race <= races; ++race) {
      std::string ra = HitRaceRecord(date, course, race);
      Put(ra, 22, "01");
      Put(ra, 24, "01");
      PutNum(ra, 698, 4, 1600);
      Put(ra, 706, "11");
      PutNum(ra, 882, 2, runners);
      store.MergeByRaceKey(store.RaceFile(MeetingBaseName(ra)), ZeroRecordStamp(ra), true);
      for (int r = 0; r < runners; ++r) AddRunner(date, course, race, r, runners, race == unnumberedRace);
    }
  }

  // Files an HR record of the race with the given wide and quinella pairs.
  void AddPayouts(const std::string& date, const std::string& course, int race,
                  const std::vector<std::pair<std::string, int>>& wide,
                  const std::vector<std::pair<std::string, int>>& quinella) {
    std::string hr = RaceHead("HR", kHrLength, date, course, race);
    auto put = [&](std::size_t col, const std::string& pair, int amount) {
      const int a = static_cast<int>(ReadNumber(pair.substr(0, 2))), b = static_cast<int>(ReadNumber(pair.substr(3, 2)));
      PutNum(hr, col, 2, a);
      PutNum(hr, col + 2, 2, b);
      PutNum(hr, col + 4, 9, amount);
      PutNum(hr, col + 13, 3, 1);
    };
    for (std::size_t e = 0; e < wide.size(); ++e) put(294 + 16 * e, wide[e].first, wide[e].second);
    for (std::size_t e = 0; e < quinella.size(); ++e) put(246 + 16 * e, quinella[e].first, quinella[e].second);
    store.MergeByRaceKey(store.PayoutFile(MeetingBaseName(hr)), ZeroRecordStamp(hr), false);
  }

  Store store;

 private:
  void AddRunner(const std::string& date, const std::string& course, int race, int r, int n, bool unnumbered) {
    char id[40];
    std::snprintf(id, sizeof id, "2000%02d%02d%02d", std::stoi(course), race, r + 1);
    std::string se = RaceHead("SE", kSeLength, date, course, race);
    PutNum(se, 28, 1, r / 2 + 1 > 8 ? 8 : r / 2 + 1);
    PutNum(se, 29, 2, r + 1);
    if (unnumbered && r == 0) Put(se, 29, "  ");
    Put(se, 31, id);
    Put(se, 41, Utf8ToSjis("テストホース"));
    PutNum(se, 289, 3, 540 + r);
    store.PutRunnerSlot(store.RunnerFile(MeetingBaseName(se)), se, race, r + 1);
    for (int k = 0; k < 3; ++k) {
      if ((r + k) % 7 == 6) continue;  // some runners miss some runs
      const std::string pastDate = "200312" + std::string(k == 0 ? "20" : k == 1 ? "13" : "06");
      const int pastRace = r + 1;
      std::string past = RaceHead("SE", kSeLength, pastDate, "05", pastRace);
      PutNum(past, 29, 2, r + 1);
      Put(past, 31, id);
      PutNum(past, 289, 3, 530 + 3 * r + k);
      PutNum(past, 339, 4, 1338 + (r * 7 + k * 3) % 20);
      char corners[48];
      std::snprintf(corners, sizeof corners, "%02d%02d%02d%02d", (r + k) % n + 1, (r * 3 + k) % n + 1, (r * 5) % n + 1,
                    (r * 2 + k) % n + 1);
      Put(past, 352, corners);
      PutNum(past, 391, 3, 335 + (r * 5 + k) % 17);
      char difference[16];
      std::snprintf(difference, sizeof difference, "+%03d", r * 2);
      Put(past, 532, difference);
      store.YearFolder("SEI", "2000", true);
      store.MergeByRaceKey(store.HorseHistoryFile(id), ZeroRecordStamp(past), false);

      std::string pastRa = RaceHead("RA", kRaLength, pastDate, "05", pastRace);
      Put(pastRa, 635, "010");
      PutNum(pastRa, 698, 4, 1600);
      Put(pastRa, 706, "11");
      store.YearFolder("SEIR", "2003", true);
      store.MergeByRaceKey(store.ResultsRaceFile(pastRa), ZeroRecordStamp(pastRa), false);
    }
  }
};

}  // namespace furlong::test
