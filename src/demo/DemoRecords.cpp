#include "demo/DemoRecords.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "demo/RecordBuffer.h"
#include "store/Record.h"
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
  b.Put(3, std::string(1, r.dataKind));
  int created = r.date + (r.dataKind == '7' ? 3 : 1);
  // A race card is published the day before the race.
  if (r.current) created = r.finished ? r.date : r.date - 1;
  b.Put(4, DateText(created));
}

void PutRaceKey(RecordBuffer& b, const Race& r) {
  b.Put(12, DateText(r.date));
  b.Put(20, r.course);
  b.Put(22, TwoDigits(r.meeting));
  b.Put(24, TwoDigits(r.day));
  b.Put(26, TwoDigits(r.number));
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
  b.Put(1, "RA");
  PutStamp(b, r);
  PutRaceKey(b, r);
  b.PutNumber(28, 1, WeekdayCode(r.date));
  b.PutNumber(29, 4, r.specialNumber);
  if (r.named) {
    b.PutWideText(33, 60, r.name.full);
    b.PutWideText(573, 20, r.name.short10);
    b.PutWideText(593, 12, r.name.short6);
    b.PutWideText(605, 6, r.name.short3);
  }
  b.Put(611, r.named ? "1" : "0");
  b.PutNumber(612, 3, r.edition);
  b.Put(615, std::string(1, r.grade));
  b.PutNumber(617, 2, r.raceType);
  b.Put(619, r.symbol);
  b.Put(622, std::string(1, r.weightRule));
  const std::string code = ConditionCode(r);
  std::string byAge[4] = {"000", "000", "000", "000"};  // 2, 3, 4, 5 and up
  switch (r.raceType) {
    case 11: case 21: byAge[0] = code; break;
    case 12: case 22: byAge[1] = code; break;
    case 14: case 19: case 23: byAge[2] = byAge[3] = code; break;
    default: byAge[1] = byAge[2] = byAge[3] = code; break;
  }
  for (int i = 0; i < 4; ++i) b.Put(static_cast<std::size_t>(623 + 3 * i), byAge[i]);
  b.Put(635, code);
  b.PutNumber(698, 4, r.track.distance);
  b.PutNumber(702, 4, 0);
  b.PutNumber(706, 2, r.track.trackCode);
  b.PutNumber(708, 2, 0);
  if (r.track.surface == Surface::Turf && IsJraCourse(r.course)) b.Put(710, "A ");
  for (int i = 0; i < 7; ++i) b.PutNumber(static_cast<std::size_t>(714 + 8 * i), 8, i < 5 ? r.prize[static_cast<std::size_t>(i)] : 0);
  for (std::size_t c = 770; c < 874; c += 8) b.PutNumber(c, 8, 0);
  b.PutNumber(874, 4, r.startTime);
  b.PutNumber(878, 4, 0);
  b.PutNumber(882, 2, r.registered);
  const int starters = Starters(w, r);
  std::vector<int> finishers;
  FinishersInOrder(w, r, finishers);
  b.PutNumber(884, 2, starters);
  b.PutNumber(886, 2, r.finished ? (r.current ? static_cast<int>(finishers.size()) : r.registered) : 0);
  b.PutNumber(888, 1, r.weather);
  b.PutNumber(889, 1, r.turfGoing);
  b.PutNumber(890, 1, r.dirtGoing);
  for (int i = 0; i < 25; ++i) {
    int lap = r.finished && static_cast<std::size_t>(i) < r.laps.size() ? r.laps[static_cast<std::size_t>(i)] : 0;
    b.PutNumber(static_cast<std::size_t>(891 + 3 * i), 3, lap);
  }
  int front3 = 0, front4 = 0, last4 = 0;
  const std::size_t laps = r.finished ? r.laps.size() : 0;
  for (std::size_t i = 0; i < laps; ++i) {
    if (i < 3) front3 += r.laps[i];
    if (i < 4) front4 += r.laps[i];
    if (i + 4 >= laps) last4 += r.laps[i];
  }
  const bool jump = r.track.surface == Surface::Jump;
  b.Put(966, jump && r.finished ? RaceTime(r.winnerTime * 1600 / r.track.distance) : "0000");
  b.PutNumber(970, 3, front3);
  b.PutNumber(973, 3, front4);
  b.PutNumber(976, 3, r.finished ? r.lastThree : 0);
  b.PutNumber(979, 3, last4);
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
      const std::size_t col = 982 + 72 * static_cast<std::size_t>(block++);
      b.PutNumber(col, 1, c);
      b.PutNumber(col + 1, 1, 1);
      b.PutText(col + 2, 70, order);
    }
  }
  b.Put(1270, "0");
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
  b.Put(1, "SE");
  PutStamp(b, r);
  PutRaceKey(b, r);
  b.PutNumber(28, 1, run.bracket);
  b.PutNumber(29, 2, run.horseNumber);
  b.Put(31, h.id);
  b.PutWideText(41, 36, h.name);
  b.PutNumber(77, 2, h.symbol);
  b.PutNumber(79, 1, h.sex);
  b.Put(80, "1");
  b.PutNumber(81, 2, h.coat);
  b.PutNumber(83, 2, YearOf(r.date) - h.birthYear);
  b.Put(85, t.east ? "1" : "2");
  b.PutNumber(86, 5, t.code);
  b.PutWideText(91, 8, t.shortName);
  b.PutNumber(99, 6, o.code);
  b.PutWideText(105, 64, o.name);
  b.PutWideText(169, 60, o.colours);
  b.PutNumber(289, 3, run.weight);
  b.PutNumber(292, 3, 0);
  b.Put(295, run.blinkers ? "1" : "0");
  b.PutNumber(297, 5, j.code);
  b.PutNumber(302, 5, 0);
  b.PutWideText(307, 8, j.shortName);
  b.PutNumber(323, 1, j.apprentice);
  b.Put(324, "0");
  b.PutNumber(325, 3, run.bodyWeight);
  if (run.bodyChangeKind == 0) {
    b.Put(328, run.bodyChange > 0 ? "+" : run.bodyChange < 0 ? "-" : " ");
    b.PutNumber(329, 3, run.bodyChange < 0 ? -run.bodyChange : run.bodyChange);
  } else if (run.bodyChangeKind == 2) {
    b.Put(329, "999");
  }
  b.PutNumber(332, 1, run.abnormal);
  const bool result = r.finished;
  b.PutNumber(333, 2, result ? run.position : 0);
  b.PutNumber(335, 2, result ? run.position : 0);
  b.Put(337, run.deadHeat ? "1" : "0");
  b.Put(338, run.deadHeat ? "1" : "0");
  b.Put(339, result && run.position > 0 ? RaceTime(run.time) : "0000");
  for (int c = 0; c < 4; ++c) b.PutNumber(static_cast<std::size_t>(352 + 2 * c), 2, result ? run.corners[static_cast<std::size_t>(c)] : 0);
  b.PutNumber(360, 4, result ? run.odds : 0);
  b.PutNumber(364, 2, result ? run.popularity : 0);
  b.PutNumber(366, 8, result ? run.prize : 0);
  b.PutNumber(374, 8, 0);
  b.PutNumber(388, 3, 0);
  b.PutNumber(391, 3, result && run.position > 0 ? run.lastThree : 0);
  if (result && run.position > 0) {
    const bool won = run.position == 1 && h.id == r.winnerId;
    b.Put(394, won ? r.secondId : r.winnerId);
    b.PutWideText(404, 36, won ? r.secondName : r.winnerName);
  }
  if (result && run.hasTimeDiff && run.position > 0) {
    int diff = run.timeDiff < 0 ? -run.timeDiff : run.timeDiff;
    b.Put(532, std::string(run.timeDiff < 0 || (run.position == 1) ? "-" : "+") + ZeroPadded(diff, 3));
  } else {
    b.Put(532, "0000");
  }
  b.Put(536, "0");
  b.Put(537, "0");
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
  b.PutNumber(553, 1, style);
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

int Payout(double returnRate, double chance, int entries, int normalEntries) {
  double yen = returnRate * 100.0 / chance * normalEntries / entries;
  int amount = static_cast<int>(yen / 10) * 10;
  return std::clamp(amount, 100, 999999990);
}

}  // namespace

std::string MakePayoutRecord(const World& w, const Race& r) {
  RecordBuffer b(kHrLength);
  b.Put(1, "HR");
  PutStamp(b, r);
  PutRaceKey(b, r);
  const int starters = Starters(w, r);
  b.PutNumber(28, 2, r.registered);
  b.PutNumber(30, 2, starters);
  std::string refundHorse(28, '0');
  bool refund = false;
  for (int ru : r.runs) {
    const Run& x = w.runs[static_cast<std::size_t>(ru)];
    if (x.abnormal == 1) {
      refundHorse[static_cast<std::size_t>(x.horseNumber - 1)] = '1';
      refund = true;
    }
  }
  b.Put(32, std::string(9, '0'));
  b.Put(41, std::string(9, '0'));
  b.Put(50, std::string(9, refund ? '1' : '0'));
  b.Put(59, refundHorse);
  b.Put(87, std::string(8, '0'));
  b.Put(95, std::string(8, '0'));

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
    std::size_t col = 103 + 13 * e;
    b.PutNumber(col, 2, h);
    b.PutNumber(col + 2, 9, amount);
    b.PutNumber(col + 11, 2, pop[h]);
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
    std::size_t col = 142 + 13 * e;
    b.PutNumber(col, 2, h);
    b.PutNumber(col + 2, 9, amount);
    b.PutNumber(col + 11, 2, pop[h]);
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
    std::size_t col = 246 + 16 * e;
    b.PutNumber(col, 2, key.first);
    b.PutNumber(col + 2, 2, key.second);
    b.PutNumber(col + 4, 9, Payout(0.775, quin[key], static_cast<int>(quinPaid.size()), 1));
    b.PutNumber(col + 13, 3, Popularity(quinAll, quin[key]));
  }
  for (std::size_t e = 0; e < widePaid.size() && e < 7; ++e) {
    auto key = widePaid[e];
    std::size_t col = 294 + 16 * e;
    b.PutNumber(col, 2, key.first);
    b.PutNumber(col + 2, 2, key.second);
    b.PutNumber(col + 4, 9, Payout(0.775, wide[key], static_cast<int>(widePaid.size()), 3));
    b.PutNumber(col + 13, 3, Popularity(wideAll, wide[key]));
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
      std::size_t col = 207 + 13 * e;
      b.PutNumber(col, 1, key.first);
      b.PutNumber(col + 1, 1, key.second);
      b.PutNumber(col + 2, 9, Payout(0.775, bq[key], static_cast<int>(bqPaid.size()), 1));
      b.PutNumber(col + 11, 2, Popularity(bqAll, bq[key]));
    }
  }
  // Exacta, trio and trifecta.
  for (std::size_t e = 0; e < exPaid.size() && e < 6; ++e) {
    auto key = exPaid[e];
    std::size_t col = 454 + 16 * e;
    b.PutNumber(col, 2, key.first);
    b.PutNumber(col + 2, 2, key.second);
    b.PutNumber(col + 4, 9, Payout(0.75, exacta[key], static_cast<int>(exPaid.size()), 1));
    b.PutNumber(col + 13, 3, Popularity(exAll, exacta[key]));
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
    std::size_t col = 550 + 18 * e;
    for (int i = 0; i < 3; ++i) b.PutNumber(col + 2 * static_cast<std::size_t>(i), 2, key[static_cast<std::size_t>(i)]);
    b.PutNumber(col + 6, 9, Payout(0.75, trio[key], static_cast<int>(trioPaid.size()), 1));
    b.PutNumber(col + 15, 3, Popularity(trioAll, trio[key]));
  }
  for (std::size_t e = 0; e < triPaid.size() && e < 6; ++e) {
    auto key = triPaid[e];
    std::size_t col = 604 + 19 * e;
    for (int i = 0; i < 3; ++i) b.PutNumber(col + 2 * static_cast<std::size_t>(i), 2, key[static_cast<std::size_t>(i)]);
    b.PutNumber(col + 6, 9, Payout(0.725, trifecta[key], static_cast<int>(triPaid.size()), 1));
    b.PutNumber(col + 15, 4, Popularity(triAll, trifecta[key]));
  }
  return b.Take();
}

// ------------------------------------------------------------------ UM

namespace {

struct Placings {
  int count[6] = {};
  void Add(int position) { ++count[position >= 1 && position <= 5 ? position - 1 : 5]; }
};

void PutPlacings(RecordBuffer& b, std::size_t col, const Placings& p) {
  for (int i = 0; i < 6; ++i) b.PutNumber(col + 3 * static_cast<std::size_t>(i), 3, p.count[i]);
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
  b.Put(1, "UM");
  b.Put(3, "2");
  b.Put(4, DateText(w.masterDate));
  b.Put(12, h.id);
  b.Put(22, "0");
  b.Put(23, DateText(h.registeredDate));
  b.Put(31, "00000000");
  b.Put(39, DateText(h.birthDate));
  b.PutWideText(47, 36, h.name);
  b.Put(179, "1");
  b.PutNumber(199, 2, h.symbol);
  b.PutNumber(201, 1, h.sex);
  b.Put(202, "1");
  b.PutNumber(203, 2, h.coat);
  for (std::size_t i = 0; i < 14; ++i) {
    const std::size_t col = 205 + 46 * i;
    const Ancestor& a = h.pedigree[i];
    b.Put(col, legacy ? "  " + a.regNo.substr(2) : a.regNo);
    b.PutWideText(col + 10, 36, a.name);
  }
  b.Put(849, t.east ? "1" : "2");
  b.PutNumber(850, 5, t.code);
  b.PutWideText(855, 8, t.shortName);
  if (legacy) {
    b.Put(883, "  " + ZeroPadded(br.code, 6));
    b.PutWideText(893, 70, br.name);
  } else {
    b.PutNumber(883, 8, br.code);
    b.PutWideText(891, 72, br.name);
  }
  b.PutWideText(963, 20, br.area);
  b.PutNumber(983, 6, o.code);
  b.PutWideText(989, 64, o.name);

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
  b.PutNumber(1053, 9, flatPrize);
  b.PutNumber(1062, 9, jumpPrize);
  b.PutNumber(1071, 9, 0);
  b.PutNumber(1080, 9, 0);
  b.PutNumber(1089, 9, flatEarned);
  b.PutNumber(1098, 9, jumpEarned);
  PutPlacings(b, 1107, all);
  PutPlacings(b, 1125, jra);
  PutPlacings(b, 1143, turfStraight);
  PutPlacings(b, 1161, turfRight);
  PutPlacings(b, 1179, turfLeft);
  PutPlacings(b, 1197, dirtStraight);
  PutPlacings(b, 1215, dirtRight);
  PutPlacings(b, 1233, dirtLeft);
  PutPlacings(b, 1251, jumps);
  for (int s = 0; s < 3; ++s)
    for (int g = 0; g < 4; ++g) PutPlacings(b, 1269 + 72 * static_cast<std::size_t>(s) + 18 * static_cast<std::size_t>(g), going[s][g]);
  for (int i = 0; i < 6; ++i) PutPlacings(b, 1485 + 18 * static_cast<std::size_t>(i), band[i]);
  for (int i = 0; i < 4; ++i) b.PutNumber(1593 + 3 * static_cast<std::size_t>(i), 3, styles[i]);
  b.PutNumber(1605, 3, static_cast<long long>(past));
  return b.Take();
}

}  // namespace

std::string MakeHorseMaster(const World& w, const Horse& h) { return BuildMaster(w, h, false); }

std::string MakeLegacyHorseMaster(const World& w, const Horse& h) {
  // Narrow the three widened fields back: the inverse of the conversion
  // the day loading applies.
  const std::string um = BuildMaster(w, h, true);
  auto cols = [&](std::size_t from, std::size_t to) { return um.substr(from - 1, to - from + 1); };
  std::string old;
  old.reserve(kLegacyUmLength);
  old += cols(1, 204);
  for (std::size_t i = 0; i < 14; ++i) {
    old += cols(205 + 46 * i + 2, 205 + 46 * i + 9);
    old += cols(215 + 46 * i, 250 + 46 * i);
  }
  old += cols(849, 882);
  old += cols(885, 890);
  old += cols(893, 962);
  old += cols(963, 1607);
  old += "\r\n";
  if (old.size() != kLegacyUmLength) throw std::logic_error("legacy horse master of the wrong length");
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
  b.Put(1, DateText(r.date));
  b.Put(9, source == 'K' ? KolCourseCode(r.course) : r.course);
  b.Put(11, TwoDigits(r.meeting));
  b.Put(13, TwoDigits(r.day));
  b.Put(15, TwoDigits(r.number));
  b.Put(17, std::string(1, source));
  b.PutNumber(18, 2, n);
  const double winCap = source == 'J' ? 999.9 : 9999.9, pairCap = source == 'J' ? 9999.9 : 99999.9;
  auto tenths = [](double v) { return static_cast<double>(static_cast<long long>(v * 10 + 0.5)) / 10; };
  for (int h = 1; h <= n; ++h) {
    double win = std::min(winCap, std::max(1.1, tenths(0.8 / p[static_cast<std::size_t>(h)])));
    b.Put(20 + 6 * static_cast<std::size_t>(h - 1), FormatFixed(win, 6, 1));
    if (source == 'J') {
      double place = std::max(1.0, tenths(1.0 + (win - 1.0) / 4.2));
      b.Put(128 + 6 * static_cast<std::size_t>(h - 1), FormatFixed(place, 6, 1));
    }
  }
  std::size_t index = 0;
  for (int a = 1; a <= 17; ++a)
    for (int c = a + 1; c <= 18; ++c, ++index) {
      if (c > n) continue;
      double pa = p[static_cast<std::size_t>(a)], pc = p[static_cast<std::size_t>(c)];
      double chance = pa * pc / (1 - pa) + pc * pa / (1 - pc);
      double v = std::min(pairCap, std::max(1.0, tenths(0.775 / chance)));
      b.Put(236 + 8 * index, FormatFixed(v, 8, 1));
    }
  return b.Take();
}

}  // namespace furlong::demo
