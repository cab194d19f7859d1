#include "demo/DemoRecords.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "demo/RecordBuffer.h"
#include "store/Record.h"
#include "store/RecordLayout.h"
#include "store/TextFormat.h"

namespace furlong::demo {

namespace {

std::string TwoDigits(int v) { return ZeroPadded(v, 2); }

// "MSSt": minutes, seconds, tenths.
std::string RaceTime(int tenths) {
  return ZeroPadded(tenths / 600, 1) + ZeroPadded(tenths % 600 / 10, 2) + ZeroPadded(tenths % 10, 1);
}

std::string ConditionCode(const Race& r) {
  switch (r.cls) {
    case ClassKind::Newcomer: return "701";
    case ClassKind::Maiden: return "703";
    case ClassKind::Win1: return "005";
    case ClassKind::Win2: return "010";
    case ClassKind::Win3: return "016";
    case ClassKind::Open: return "999";
  }
  return "000";
}

// Data kind and creation date of a record: results come a few days after
// the race, the demo meetings' records the day they were published.
void PutStamp(RecordBuffer& b, const Race& r) {
  b.Put(head::kDataKind, std::string(1, r.dataKind));
  int created = r.date + (r.dataKind == '7' ? 3 : 1);
  // A race card is published the day before the race.
  if (r.current) created = r.finished ? r.date : r.date - 1;
  b.Put(head::kCreationDate, DateText(created));
}

void PutRaceKey(RecordBuffer& b, const Race& r) {
  b.Put(head::kDate, DateText(r.date));
  b.Put(head::kCourse, r.course);
  b.Put(head::kMeetingNumber, TwoDigits(r.meeting));
  b.Put(head::kDayNumber, TwoDigits(r.day));
  b.Put(head::kRaceNumber, TwoDigits(r.number));
}

const std::vector<int>& FinishersInOrder(const World& w, const Race& r, std::vector<int>& out) {
  out.clear();
  for (int ru : r.runs)
    if (w.runs[static_cast<std::size_t>(ru)].position > 0) out.push_back(ru);
  std::sort(out.begin(), out.end(), [&](int a, int b) {
    const Run &x = w.runs[static_cast<std::size_t>(a)], &y = w.runs[static_cast<std::size_t>(b)];
    if (x.time != y.time) return x.time < y.time;
    if (x.position != y.position) return x.position < y.position;
    return x.horseNumber < y.horseNumber;
  });
  return out;
}

int Starters(const World& w, const Race& r) {
  if (!r.current) return r.registered;
  int n = 0;
  for (int ru : r.runs)
    if (w.runs[static_cast<std::size_t>(ru)].abnormal != 1) ++n;
  return n;
}

}  // namespace

std::string KolCourseCode(const std::string& course) {
  static const std::map<std::string, std::string> kol = {{"08", "00"}, {"09", "01"}, {"07", "02"}, {"10", "03"},
                                                          {"05", "04"}, {"06", "05"}, {"03", "06"}, {"04", "07"},
                                                          {"01", "08"}, {"02", "09"}};
  auto it = kol.find(course);
  return it == kol.end() ? "99" : it->second;
}

// ------------------------------------------------------------------ RA

std::string MakeRaceRecord(const World& w, const Race& r) {
  RecordBuffer b(kRaLength);
  b.Put(head::kType, "RA");
  PutStamp(b, r);
  PutRaceKey(b, r);
  b.PutNumber(ra::kWeekday, WeekdayCode(r.date));
  b.PutNumber(ra::kSpecialNumber, r.specialNumber);
  if (r.named) {
    b.PutWideText(ra::kRaceName, r.name.full);
    b.PutWideText(ra::kShortName10, r.name.short10);
    b.PutWideText(ra::kShortName6, r.name.short6);
    b.PutWideText(ra::kShortName3, r.name.short3);
  }
  b.Put(ra::kRaceNameKind, r.named ? "1" : "0");
  b.PutNumber(ra::kEdition, r.edition);
  b.Put(ra::kGrade, std::string(1, r.grade));
  b.PutNumber(ra::kRaceType, r.raceType);
  b.Put(ra::kRaceSymbol, r.symbol);
  b.Put(ra::kWeightRule, std::string(1, r.weightRule));
  const std::string code = ConditionCode(r);
  std::string byAge[4] = {"000", "000", "000", "000"};  // 2, 3, 4, 5 and up
  switch (r.raceType) {
    case 11: case 21: byAge[0] = code; break;
    case 12: case 22: byAge[1] = code; break;
    case 14: case 19: case 23: byAge[2] = byAge[3] = code; break;
    default: byAge[1] = byAge[2] = byAge[3] = code; break;
  }
  const FieldSpan byAgeFields[4] = {ra::kCondition2yo, ra::kCondition3yo, ra::kCondition4yo, ra::kCondition5yoUp};
  for (int i = 0; i < 4; ++i) b.Put(byAgeFields[i], byAge[i]);
  b.Put(ra::kConditionYoungest, code);
  b.PutNumber(ra::kDistance, r.track.distance);
  b.PutNumber(ra::kDistanceBefore, 0);
  b.PutNumber(ra::kTrackCode, r.track.trackCode);
  b.PutNumber(ra::kTrackCodeBefore, 0);
  if (r.track.surface == Surface::Turf && IsJraCourse(r.course)) b.Put(ra::kCourseKind, "A ");
  const FieldSpan prize = ra::kPrizes.Part(1, ra::kPrizeWidth);
  for (std::size_t i = 0; i < 7; ++i) b.PutNumber(prize.Nth(i, ra::kPrizeWidth), i < 5 ? r.prize[i] : 0);
  for (FieldSpan all : {ra::kPrizesBefore, ra::kAddedPrizes, ra::kAddedPrizesBefore})
    for (std::size_t i = 0; i < all.size() / ra::kPrizeWidth; ++i)
      b.PutNumber(all.Part(1, ra::kPrizeWidth).Nth(i, ra::kPrizeWidth), 0);
  b.PutNumber(ra::kStartTime, r.startTime);
  b.PutNumber(ra::kStartTimeBefore, 0);
  b.PutNumber(ra::kRegisteredRunners, r.registered);
  const int starters = Starters(w, r);
  std::vector<int> finishers;
  FinishersInOrder(w, r, finishers);
  b.PutNumber(ra::kStarters, starters);
  b.PutNumber(ra::kFinishers, r.finished ? (r.current ? static_cast<int>(finishers.size()) : r.registered) : 0);
  b.PutNumber(ra::kWeather, r.weather);
  b.PutNumber(ra::kTurfGoing, r.turfGoing);
  b.PutNumber(ra::kDirtGoing, r.dirtGoing);
  for (std::size_t i = 0; i < ra::kLapTimes.size() / ra::kLapWidth; ++i) {
    int lap = r.finished && i < r.laps.size() ? r.laps[i] : 0;
    b.PutNumber(ra::kLapTimes.Part(1, ra::kLapWidth).Nth(i, ra::kLapWidth), lap);
  }
  int front3 = 0, front4 = 0, last4 = 0;
  const std::size_t laps = r.finished ? r.laps.size() : 0;
  for (std::size_t i = 0; i < laps; ++i) {
    if (i < 3) front3 += r.laps[i];
    if (i < 4) front4 += r.laps[i];
    if (i + 4 >= laps) last4 += r.laps[i];
  }
  const bool jump = r.track.surface == Surface::Jump;
  b.Put(ra::kJumpMileTime, jump && r.finished ? RaceTime(r.winnerTime * 1600 / r.track.distance) : "0000");
  b.PutNumber(ra::kFront3F, front3);
  b.PutNumber(ra::kFront4F, front4);
  b.PutNumber(ra::kLast3F, r.finished ? r.lastThree : 0);
  b.PutNumber(ra::kLast4F, last4);
  if (r.current && r.finished) {
    // Running order at each corner the race passes.
    int block = 0;
    for (int c = 1; c <= 4; ++c) {
      std::vector<std::pair<int, int>> at;  // corner position, horse number
      for (int ru : r.runs) {
        const Run& x = w.runs[static_cast<std::size_t>(ru)];
        if (x.corners[static_cast<std::size_t>(c - 1)] > 0) at.emplace_back(x.corners[static_cast<std::size_t>(c - 1)], x.horseNumber);
      }
      if (at.empty()) continue;
      std::sort(at.begin(), at.end());
      std::string order;
      for (auto& [pos, num] : at) order += (order.empty() ? "" : ",") + std::to_string(num);
      const FieldSpan orderAt = ra::kCornerOrder.Nth(static_cast<std::size_t>(block++), ra::kCornerOrder.size());
      b.PutNumber(orderAt.Part(ra::kCornerOrderCorner.from, ra::kCornerOrderCorner.to), c);
      b.PutNumber(orderAt.Part(ra::kCornerOrderLap.from, ra::kCornerOrderLap.to), 1);
      b.PutText(orderAt.Part(ra::kCornerOrderText.from, ra::kCornerOrderText.to), order);
    }
  }
  b.Put(ra::kRecordUpdateKind, "0");
  return b.Take();
}

// ------------------------------------------------------------------ SE

std::string MakeRunnerRecord(const World& w, const Run& run) {
  const Race& r = w.races[static_cast<std::size_t>(run.race)];
  const Horse& h = w.horses[static_cast<std::size_t>(run.horse)];
  const auto& names = w.names;
  const Trainer& t = names.trainers[static_cast<std::size_t>(h.trainer)];
  const Owner& o = names.owners[static_cast<std::size_t>(h.owner)];
  const Jockey& j = names.jockeys[static_cast<std::size_t>(run.jockey)];
  RecordBuffer b(kSeLength);
  b.Put(head::kType, "SE");
  PutStamp(b, r);
  PutRaceKey(b, r);
  b.PutNumber(se::kBracket, run.bracket);
  b.PutNumber(se::kHorseNumber, run.horseNumber);
  b.Put(se::kHorseId, h.id);
  b.PutWideText(se::kHorseName, h.name);
  b.PutNumber(se::kHorseSymbol, h.symbol);
  b.PutNumber(se::kSex, h.sex);
  b.Put(se::kBreed, "1");
  b.PutNumber(se::kCoatColour, h.coat);
  b.PutNumber(se::kAge, YearOf(r.date) - h.birthYear);
  b.Put(se::kTrainerRegion, t.east ? "1" : "2");
  b.PutNumber(se::kTrainerCode, t.code);
  b.PutWideText(se::kTrainerShort, t.shortName);
  b.PutNumber(se::kOwnerCode, o.code);
  b.PutWideText(se::kOwnerName, o.name);
  b.PutWideText(se::kOwnerColours, o.colours);
  b.PutNumber(se::kWeightCarried, run.weight);
  b.PutNumber(se::kWeightCarriedBefore, 0);
  b.Put(se::kBlinkers, run.blinkers ? "1" : "0");
  b.PutNumber(se::kJockeyCode, j.code);
  b.PutNumber(se::kJockeyCodeBefore, 0);
  b.PutWideText(se::kJockeyShort, j.shortName);
  b.PutNumber(se::kApprenticeKind, j.apprentice);
  b.Put(se::kApprenticeKindBefore, "0");
  b.PutNumber(se::kBodyWeight, run.bodyWeight);
  if (run.bodyChangeKind == 0) {
    b.Put(se::kBodyWeightSign, run.bodyChange > 0 ? "+" : run.bodyChange < 0 ? "-" : " ");
    b.PutNumber(se::kBodyWeightChange, run.bodyChange < 0 ? -run.bodyChange : run.bodyChange);
  } else if (run.bodyChangeKind == 2) {
    b.Put(se::kBodyWeightChange, "999");
  }
  b.PutNumber(se::kAbnormality, run.abnormal);
  const bool result = r.finished;
  b.PutNumber(se::kArrivalOrder, result ? run.position : 0);
  b.PutNumber(se::kFinishingPosition, result ? run.position : 0);
  b.Put(se::kDeadHeatKind, run.deadHeat ? "1" : "0");
  b.Put(se::kDeadHeatCount, run.deadHeat ? "1" : "0");
  b.Put(se::kRaceTime, result && run.position > 0 ? RaceTime(run.time) : "0000");
  for (std::size_t c = 0; c < 4; ++c) b.PutNumber(se::kCorner1.Nth(c, se::kCorner1.size()), result ? run.corners[c] : 0);
  b.PutNumber(se::kWinOdds, result ? run.odds : 0);
  b.PutNumber(se::kWinPopularity, result ? run.popularity : 0);
  b.PutNumber(se::kPrizeMoney, result ? run.prize : 0);
  b.PutNumber(se::kAddedPrize, 0);
  b.PutNumber(se::kLast4F, 0);
  b.PutNumber(se::kLast3F, result && run.position > 0 ? run.lastThree : 0);
  if (result && run.position > 0) {
    const bool won = run.position == 1 && h.id == r.winnerId;
    b.Put(se::kOtherHorseId, won ? r.secondId : r.winnerId);
    b.PutWideText(se::kOtherHorseName, won ? r.secondName : r.winnerName);
  }
  if (result && run.hasTimeDiff && run.position > 0) {
    int diff = run.timeDiff < 0 ? -run.timeDiff : run.timeDiff;
    b.Put(se::kTimeDifference, std::string(run.timeDiff < 0 || (run.position == 1) ? "-" : "+") + ZeroPadded(diff, 3));
  } else {
    b.Put(se::kTimeDifference, "0000");
  }
  b.Put(se::kRecordUpdateKind, "0");
  b.Put(se::kMiningKind, "0");
  // Running style of the race: 1 led, 2 stalked, 3 mid-field, 4 closed.
  int style = 0;
  if (result && run.position > 0) {
    for (int c : run.corners) {
      if (c == 0) continue;
      double rel = static_cast<double>(c) / std::max(1, r.registered);
      style = c == 1 ? 1 : rel <= 0.35 ? 2 : rel <= 0.7 ? 3 : 4;
      break;
    }
  }
  b.PutNumber(se::kRunningStyle, style);
  return b.Take();
}

// ------------------------------------------------------------------ HR

namespace {

struct Pool {
  std::vector<int> nums;  // horse numbers of the starters
  std::vector<double> p;  // their chances (summing to 1)
};

// Harville probability that the horses finish in this order at the front.
double OrderChance(const Pool& pool, std::initializer_list<std::size_t> idx) {
  double prob = 1, used = 0;
  for (std::size_t i : idx) {
    prob *= pool.p[i] / (1 - used);
    used += pool.p[i];
  }
  return prob;
}

// 1 + the number of combinations more likely than `mine`.
int Popularity(const std::vector<double>& all, double mine) {
  int rank = 1;
  for (double x : all)
    if (x > mine * (1 + 1e-12)) ++rank;
  return rank;
}

// Entry e of a payout table: its horse (or bracket) numbers, which share
// the entry's number field equally, then the amount and the popularity.
void PutPayout(RecordBuffer& b, const hr::Table& t, std::size_t e, std::initializer_list<int> numbers, long long amount,
               int popularity) {
  const FieldSpan entry = t.Entry(e);
  const FieldSpan pair = entry.Part(t.pair.from, t.pair.to);
  const std::size_t width = pair.size() / numbers.size();
  std::size_t i = 0;
  for (int n : numbers) b.PutNumber(pair.Part(1, width).Nth(i++, width), n);
  b.PutNumber(entry.Part(t.amount.from, t.amount.to), amount);
  b.PutNumber(entry.Part(t.popularity.from, t.popularity.to), popularity);
}

int Payout(double returnRate, double chance, int entries, int normalEntries) {
  double yen = returnRate * 100.0 / chance * normalEntries / entries;
  int amount = static_cast<int>(yen / 10) * 10;
  return std::clamp(amount, 100, 999999990);
}

}  // namespace

std::string MakePayoutRecord(const World& w, const Race& r) {
  RecordBuffer b(kHrLength);
  b.Put(head::kType, "HR");
  PutStamp(b, r);
  PutRaceKey(b, r);
  const int starters = Starters(w, r);
  b.PutNumber(hr::kRegisteredRunners, r.registered);
  b.PutNumber(hr::kStarters, starters);
  std::string refundHorse(28, '0');
  bool refund = false;
  for (int ru : r.runs) {
    const Run& x = w.runs[static_cast<std::size_t>(ru)];
    if (x.abnormal == 1) {
      refundHorse[static_cast<std::size_t>(x.horseNumber - 1)] = '1';
      refund = true;
    }
  }
  b.Put(hr::kNotSoldFlags, std::string(hr::kNotSoldFlags.size(), '0'));
  b.Put(hr::kSpecialPayoutFlags, std::string(hr::kSpecialPayoutFlags.size(), '0'));
  b.Put(hr::kRefundFlags, std::string(hr::kRefundFlags.size(), refund ? '1' : '0'));
  b.Put(hr::kRefundedHorses, refundHorse);
  b.Put(hr::kRefundedBrackets, std::string(hr::kRefundedBrackets.size(), '0'));
  b.Put(hr::kRefundedSameBrackets, std::string(hr::kRefundedSameBrackets.size(), '0'));

  // Starters, their chances and their finishing positions.
  Pool pool;
  std::map<int, int> pos, bracket, odds, pop;
  for (int ru : r.runs) {
    const Run& x = w.runs[static_cast<std::size_t>(ru)];
    if (x.abnormal == 1) continue;
    pool.nums.push_back(x.horseNumber);
    pool.p.push_back(x.marketProb);
    pos[x.horseNumber] = x.position;
    bracket[x.horseNumber] = x.bracket;
    odds[x.horseNumber] = x.odds;
    pop[x.horseNumber] = x.popularity;
  }
  const std::size_t n = pool.nums.size();
  // A set of finishers is paid for the top k when they can all be among the
  // first k: the horses strictly ahead of the worst of them, plus the set,
  // number at most k. Dead heats give more than one paid set.
  auto paid = [&](std::initializer_list<int> horses, int k) {
    int worst = 0;
    for (int h : horses) {
      int p = pos[h];
      if (p == 0) return false;
      worst = std::max(worst, p);
    }
    int ahead = 0;
    for (auto& [h, p] : pos) {
      if (p == 0 || p >= worst) continue;
      if (std::find(horses.begin(), horses.end(), h) == horses.end()) ++ahead;
    }
    return ahead + static_cast<int>(horses.size()) <= k;
  };
  std::vector<int> byPlace;
  for (auto& [h, p] : pos)
    if (p > 0) byPlace.push_back(h);
  std::sort(byPlace.begin(), byPlace.end(), [&](int a, int c) { return pos[a] != pos[c] ? pos[a] < pos[c] : a < c; });

  // Win.
  std::vector<int> winners;
  for (int h : byPlace)
    if (paid({h}, 1)) winners.push_back(h);
  for (std::size_t e = 0; e < winners.size() && e < 3; ++e) {
    int h = winners[e];
    int amount = std::max(100, odds[h] * 10 / static_cast<int>(winners.size()) / 10 * 10);
    PutPayout(b, hr::kWin, e, {h}, amount, pop[h]);
  }
  // Place: three places, two in a field of seven or fewer.
  const int placesPaid = starters <= 7 ? 2 : 3;
  std::vector<int> placed;
  for (int h : byPlace)
    if (paid({h}, placesPaid)) placed.push_back(h);
  for (std::size_t e = 0; e < placed.size() && e < 5; ++e) {
    int h = placed[e];
    int base = 100 + (odds[h] - 10) * 22 / 10;
    int amount = std::max(100, base * placesPaid / static_cast<int>(placed.size()) / 10 * 10);
    PutPayout(b, hr::kPlace, e, {h}, amount, pop[h]);
  }

  // Pair chances: finishing first and second (quinella) and both in the
  // first three (wide), by Harville's formula over the public's chances.
  std::map<std::pair<int, int>, double> quin, wide, exacta;
  std::map<std::array<int, 3>, double> trio, trifecta;
  for (std::size_t a = 0; a < n; ++a)
    for (std::size_t c = 0; c < n; ++c) {
      if (a == c) continue;
      double ac = OrderChance(pool, {a, c});
      int x = pool.nums[a], y = pool.nums[c];
      exacta[{x, y}] = ac;
      quin[{std::min(x, y), std::max(x, y)}] += ac;
      for (std::size_t d = 0; d < n; ++d) {
        if (d == a || d == c) continue;
        double acd = OrderChance(pool, {a, c, d});
        int z = pool.nums[d];
        trifecta[{x, y, z}] = acd;
        std::array<int, 3> s = {x, y, z};
        std::sort(s.begin(), s.end());
        trio[s] += acd;
        wide[{std::min(x, y), std::max(x, y)}] += acd;
        wide[{std::min(x, z), std::max(x, z)}] += acd;
        wide[{std::min(y, z), std::max(y, z)}] += acd;
      }
    }
  auto values = [](const auto& m) {
    std::vector<double> v;
    for (auto& kv : m) v.push_back(kv.second);
    return v;
  };
  const std::vector<double> quinAll = values(quin), wideAll = values(wide), exAll = values(exacta),
                            trioAll = values(trio), triAll = values(trifecta);

  std::vector<std::pair<int, int>> quinPaid, widePaid, exPaid;
  for (std::size_t i = 0; i < byPlace.size(); ++i)
    for (std::size_t k = i + 1; k < byPlace.size(); ++k) {
      int x = byPlace[i], y = byPlace[k];
      std::pair<int, int> key{std::min(x, y), std::max(x, y)};
      if (paid({x, y}, 2)) {
        quinPaid.push_back(key);
        exPaid.emplace_back(x, y);
        if (pos[x] == pos[y]) exPaid.emplace_back(y, x);
      }
      if (paid({x, y}, 3)) widePaid.push_back(key);
    }
  std::sort(quinPaid.begin(), quinPaid.end());
  std::sort(widePaid.begin(), widePaid.end());
  for (std::size_t e = 0; e < quinPaid.size() && e < 3; ++e) {
    auto key = quinPaid[e];
    PutPayout(b, hr::kQuinella, e, {key.first, key.second},
              Payout(0.775, quin[key], static_cast<int>(quinPaid.size()), 1), Popularity(quinAll, quin[key]));
  }
  for (std::size_t e = 0; e < widePaid.size() && e < 7; ++e) {
    auto key = widePaid[e];
    PutPayout(b, hr::kWide, e, {key.first, key.second},
              Payout(0.775, wide[key], static_cast<int>(widePaid.size()), 3), Popularity(wideAll, wide[key]));
  }
  // Bracket quinella: sold for fields of nine or more.
  if (starters >= 9) {
    std::map<std::pair<int, int>, double> bq;
    for (auto& [key, chance] : quin) {
      int x = bracket[key.first], y = bracket[key.second];
      bq[{std::min(x, y), std::max(x, y)}] += chance;
    }
    const std::vector<double> bqAll = values(bq);
    std::vector<std::pair<int, int>> bqPaid;
    for (auto& key : quinPaid) {
      int x = bracket[key.first], y = bracket[key.second];
      std::pair<int, int> bk{std::min(x, y), std::max(x, y)};
      if (std::find(bqPaid.begin(), bqPaid.end(), bk) == bqPaid.end()) bqPaid.push_back(bk);
    }
    for (std::size_t e = 0; e < bqPaid.size() && e < 3; ++e) {
      auto key = bqPaid[e];
      PutPayout(b, hr::kBracketQuinella, e, {key.first, key.second},
                Payout(0.775, bq[key], static_cast<int>(bqPaid.size()), 1), Popularity(bqAll, bq[key]));
    }
  }
  // Exacta, trio and trifecta.
  for (std::size_t e = 0; e < exPaid.size() && e < 6; ++e) {
    auto key = exPaid[e];
    PutPayout(b, hr::kExacta, e, {key.first, key.second},
              Payout(0.75, exacta[key], static_cast<int>(exPaid.size()), 1), Popularity(exAll, exacta[key]));
  }
  std::vector<std::array<int, 3>> trioPaid, triPaid;
  for (std::size_t i = 0; i < byPlace.size(); ++i)
    for (std::size_t k = i + 1; k < byPlace.size(); ++k)
      for (std::size_t m = k + 1; m < byPlace.size(); ++m) {
        int x = byPlace[i], y = byPlace[k], z = byPlace[m];
        if (!paid({x, y, z}, 3)) continue;
        std::array<int, 3> s = {x, y, z};
        std::sort(s.begin(), s.end());
        trioPaid.push_back(s);
        // Every order consistent with the positions is a winning trifecta.
        std::array<int, 3> o = {x, y, z};
        std::sort(o.begin(), o.end(), [&](int a, int c) { return pos[a] != pos[c] ? pos[a] < pos[c] : a < c; });
        do {
          if (pos[o[0]] <= pos[o[1]] && pos[o[1]] <= pos[o[2]]) triPaid.push_back(o);
        } while (std::next_permutation(o.begin(), o.end(), [&](int a, int c) { return pos[a] != pos[c] ? pos[a] < pos[c] : a < c; }));
      }
  std::sort(trioPaid.begin(), trioPaid.end());
  for (std::size_t e = 0; e < trioPaid.size() && e < 3; ++e) {
    auto key = trioPaid[e];
    PutPayout(b, hr::kTrio, e, {key[0], key[1], key[2]},
              Payout(0.75, trio[key], static_cast<int>(trioPaid.size()), 1), Popularity(trioAll, trio[key]));
  }
  for (std::size_t e = 0; e < triPaid.size() && e < 6; ++e) {
    auto key = triPaid[e];
    PutPayout(b, hr::kTrifecta, e, {key[0], key[1], key[2]},
              Payout(0.725, trifecta[key], static_cast<int>(triPaid.size()), 1), Popularity(triAll, trifecta[key]));
  }
  return b.Take();
}

// ------------------------------------------------------------------ UM

namespace {

struct Placings {
  int count[6] = {};
  void Add(int position) { ++count[position >= 1 && position <= 5 ? position - 1 : 5]; }
};

void PutPlacings(RecordBuffer& b, FieldSpan placings, const Placings& p) {
  for (std::size_t i = 0; i < 6; ++i) b.PutNumber(placings.Part(1, um::kPlacingCount).Nth(i, um::kPlacingCount), p.count[i]);
}

// The new-layout master. With `legacy` set the three fields that the older
// layout holds narrower are written in their widened form: two blanks before
// an 8-digit ancestor number, a 6-digit breeder code and a 70-byte breeder name.
std::string BuildMaster(const World& w, const Horse& h, bool legacy) {
  const auto& names = w.names;
  const Trainer& t = names.trainers[static_cast<std::size_t>(h.trainer)];
  const Owner& o = names.owners[static_cast<std::size_t>(h.owner)];
  const Breeder& br = names.breeders[static_cast<std::size_t>(h.breeder)];
  RecordBuffer b(kUmLength);
  b.Put(um::kType, "UM");
  b.Put(um::kDataKind, "2");
  b.Put(um::kCreationDate, DateText(w.masterDate));
  b.Put(um::kHorseId, h.id);
  b.Put(um::kDeregistered, "0");
  b.Put(um::kRegisteredDate, DateText(h.registeredDate));
  b.Put(um::kDeregisteredDate, "00000000");
  b.Put(um::kBirthDate, DateText(h.birthDate));
  b.PutWideText(um::kHorseName, h.name);
  b.Put(um::kAtJraStables, "1");
  b.PutNumber(um::kHorseSymbol, h.symbol);
  b.PutNumber(um::kSex, h.sex);
  b.Put(um::kBreed, "1");
  b.PutNumber(um::kCoatColour, h.coat);
  // A legacy field is narrower: its text right-aligned in the UM span.
  const std::size_t idPad = um::kAncestorId.size() - uma::kAncestorId.size();
  for (std::size_t i = 0; i < um::kAncestors; ++i) {
    const FieldSpan at = um::kAncestor.Nth(i, um::kAncestor.size());
    const Ancestor& a = h.pedigree[i];
    b.Put(at.Part(um::kAncestorId.from, um::kAncestorId.to),
          legacy ? std::string(idPad, ' ') + a.regNo.substr(idPad) : a.regNo);
    b.PutWideText(at.Part(um::kAncestorName.from, um::kAncestorName.to), a.name);
  }
  b.Put(um::kTrainerRegion, t.east ? "1" : "2");
  b.PutNumber(um::kTrainerCode, t.code);
  b.PutWideText(um::kTrainerShort, t.shortName);
  if (legacy) {
    const std::size_t codePad = um::kBreederCode.size() - uma::kBreederCode.size();
    const std::size_t namePad = um::kBreederName.size() - uma::kBreederName.size();
    b.Put(um::kBreederCode, std::string(codePad, ' ') + ZeroPadded(br.code, uma::kBreederCode.size()));
    b.PutWideText(um::kBreederName.Part(namePad + 1, um::kBreederName.size()), br.name);
  } else {
    b.PutNumber(um::kBreederCode, br.code);
    b.PutWideText(um::kBreederName, br.name);
  }
  b.PutWideText(um::kBreedingArea, br.area);
  b.PutNumber(um::kOwnerCode, o.code);
  b.PutWideText(um::kOwnerName, o.name);

  // Totals over the career before the demo weekend.
  long long flatPrize = 0, jumpPrize = 0, flatEarned = 0, jumpEarned = 0;
  Placings all, jra, turfStraight, turfRight, turfLeft, dirtStraight, dirtRight, dirtLeft, jumps;
  Placings going[3][4], band[6];
  int styles[4] = {};
  const std::size_t past = h.runs.empty() ? 0 : h.runs.size() - 1;
  for (std::size_t k = 0; k < past; ++k) {
    const Run& run = w.runs[static_cast<std::size_t>(h.runs[k])];
    const Race& r = w.races[static_cast<std::size_t>(run.race)];
    all.Add(run.position);
    for (int c : run.corners) {
      if (c == 0) continue;
      double rel = static_cast<double>(c) / std::max(1, r.registered);
      ++styles[c == 1 ? 0 : rel <= 0.35 ? 1 : rel <= 0.7 ? 2 : 3];
      break;
    }
    if (!IsJraCourse(r.course)) continue;
    jra.Add(run.position);
    const int code = r.track.trackCode;
    const bool jump = r.track.surface == Surface::Jump;
    (jump ? jumpPrize : flatPrize) += run.prize;
    if (run.position == 1) (jump ? jumpEarned : flatEarned) += r.prize[0] / 2;
    if (code == 10) turfStraight.Add(run.position);
    else if (code >= 11 && code <= 16) turfLeft.Add(run.position);
    else if (code >= 17 && code <= 22) turfRight.Add(run.position);
    else if (code == 23) dirtLeft.Add(run.position);
    else if (code == 24) dirtRight.Add(run.position);
    else if (code == 29) dirtStraight.Add(run.position);
    else jumps.Add(run.position);
    const int s = jump ? 2 : r.track.surface == Surface::Dirt ? 1 : 0;
    const int g = (s == 1 ? r.dirtGoing : r.turfGoing) - 1;
    going[s][std::clamp(g, 0, 3)].Add(run.position);
    if (!jump) {
      int d = r.track.distance;
      band[(s == 1 ? 3 : 0) + (d <= 1600 ? 0 : d <= 2200 ? 1 : 2)].Add(run.position);
    }
  }
  b.PutNumber(um::kMainPrizeFlat, flatPrize);
  b.PutNumber(um::kMainPrizeJump, jumpPrize);
  b.PutNumber(um::kAddedPrizeFlat, 0);
  b.PutNumber(um::kAddedPrizeJump, 0);
  b.PutNumber(um::kEarnedPrizeFlat, flatEarned);
  b.PutNumber(um::kEarnedPrizeJump, jumpEarned);
  PutPlacings(b, um::kPlacingsAll, all);
  PutPlacings(b, um::kPlacingsJra, jra);
  PutPlacings(b, um::kPlacingsTurfStraight, turfStraight);
  PutPlacings(b, um::kPlacingsTurfRight, turfRight);
  PutPlacings(b, um::kPlacingsTurfLeft, turfLeft);
  PutPlacings(b, um::kPlacingsDirtStraight, dirtStraight);
  PutPlacings(b, um::kPlacingsDirtRight, dirtRight);
  PutPlacings(b, um::kPlacingsDirtLeft, dirtLeft);
  PutPlacings(b, um::kPlacingsJump, jumps);
  const FieldSpan byGoing = um::kPlacingsByGoing.Part(1, um::kPlacingsWidth);
  for (std::size_t s = 0; s < 3; ++s)
    for (std::size_t g = 0; g < 4; ++g) PutPlacings(b, byGoing.Nth(4 * s + g, um::kPlacingsWidth), going[s][g]);
  const FieldSpan bands[6] = {um::kPlacingsTurfShort, um::kPlacingsTurfMiddle, um::kPlacingsTurfLong,
                              um::kPlacingsDirtShort, um::kPlacingsDirtMiddle, um::kPlacingsDirtLong};
  for (std::size_t i = 0; i < 6; ++i) PutPlacings(b, bands[i], band[i]);
  const FieldSpan style = um::kRunningStyles.Part(1, um::kPlacingCount);
  for (std::size_t i = 0; i < 4; ++i) b.PutNumber(style.Nth(i, um::kPlacingCount), styles[i]);
  b.PutNumber(um::kRegisteredRuns, static_cast<long long>(past));
  return b.Take();
}

}  // namespace

std::string MakeHorseMaster(const World& w, const Horse& h) { return BuildMaster(w, h, false); }

std::string MakeLegacyHorseMaster(const World& w, const Horse& h) {
  // Narrow the three widened fields back: the inverse of the conversion
  // the day loading applies.
  const std::string master = BuildMaster(w, h, true);
  std::string old(kLegacyUmLength, ' ');
  old[kLegacyUmLength - 2] = '\r';
  old[kLegacyUmLength - 1] = '\n';
  // Each legacy field takes the right end of its UM span.
  auto narrow = [&](FieldSpan to, FieldSpan from) {
    old.replace(to.from - 1, to.size(), master, from.to - to.size(), to.size());
  };
  narrow(uma::kHead, um::kHead);
  for (std::size_t i = 0; i < uma::kAncestors; ++i) {
    const FieldSpan to = uma::kAncestor.Nth(i, uma::kAncestor.size());
    const FieldSpan from = um::kAncestor.Nth(i, um::kAncestor.size());
    narrow(to.Part(uma::kAncestorId.from, uma::kAncestorId.to), from.Part(um::kAncestorId.from, um::kAncestorId.to));
    narrow(to.Part(uma::kAncestorName.from, uma::kAncestorName.to),
           from.Part(um::kAncestorName.from, um::kAncestorName.to));
  }
  narrow(uma::kAfterPedigree, um::kAfterPedigree);
  narrow(uma::kBreederCode, um::kBreederCode);
  narrow(uma::kBreederName, um::kBreederName);
  narrow(uma::kAfterBreeder, um::kAfterBreeder);
  return old;
}

// ------------------------------------------------------------------ odds

std::string MakeOddsRecord(const World& w, const Race& r, char source) {
  RecordBuffer b(kOddsLength);
  const int n = static_cast<int>(r.runs.size());
  std::vector<double> p(19, 0.0);
  for (int ru : r.runs) {
    const Run& x = w.runs[static_cast<std::size_t>(ru)];
    p[static_cast<std::size_t>(x.horseNumber)] = x.forecastProb;
  }
  b.Put(odds::kDate, DateText(r.date));
  b.Put(odds::kCourse, source == 'K' ? KolCourseCode(r.course) : r.course);
  b.Put(odds::kMeetingNumber, TwoDigits(r.meeting));
  b.Put(odds::kDayNumber, TwoDigits(r.day));
  b.Put(odds::kRaceNumber, TwoDigits(r.number));
  b.Put(odds::kSource, std::string(1, source));
  b.PutNumber(odds::kRunners, n);
  const double winCap = source == 'J' ? 999.9 : 9999.9, pairCap = source == 'J' ? 9999.9 : 99999.9;
  auto tenths = [](double v) { return static_cast<double>(static_cast<long long>(v * 10 + 0.5)) / 10; };
  for (int h = 1; h <= n; ++h) {
    double win = std::min(winCap, std::max(1.1, tenths(0.8 / p[static_cast<std::size_t>(h)])));
    b.Put(odds::WinSpan(static_cast<std::size_t>(h)), FormatFixed(win, static_cast<int>(odds::kOddsWidth), 1));
    if (source == 'J') {
      double place = std::max(1.0, tenths(1.0 + (win - 1.0) / 4.2));
      b.Put(odds::PlaceSpan(static_cast<std::size_t>(h)), FormatFixed(place, static_cast<int>(odds::kOddsWidth), 1));
    }
  }
  std::size_t index = 0;
  for (int a = 1; a <= 17; ++a)
    for (int c = a + 1; c <= 18; ++c, ++index) {
      if (c > n) continue;
      double pa = p[static_cast<std::size_t>(a)], pc = p[static_cast<std::size_t>(c)];
      double chance = pa * pc / (1 - pa) + pc * pa / (1 - pc);
      double v = std::min(pairCap, std::max(1.0, tenths(0.775 / chance)));
      b.Put(odds::QuinellaSpan(index + 1), FormatFixed(v, static_cast<int>(odds::kPairOddsWidth), 1));
    }
  return b.Take();
}

}  // namespace furlong::demo
