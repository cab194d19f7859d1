// The payout record (HR) of a race of the demo meetings: who is refunded,
// which combinations of finishers are paid for each kind of bet (dead
// heats pay more than one), and what they pay, from Harville's chances over
// the public's view of the starters.
#include "demo/DemoRecords.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <map>
#include <utility>
#include <vector>

#include "demo/DemoRecordParts.h"
#include "demo/RecordBuffer.h"
#include "store/Record.h"
#include "store/RecordLayout.h"

namespace furlong::demo {

namespace {

using Pair = std::pair<int, int>;      // horse (or bracket) numbers
using Triple = std::array<int, 3>;

struct Pool {
  std::vector<int> nums;  // horse numbers of the starters
  std::vector<double> p;  // their chances (summing to 1)
};

// The starters as the payouts see them.
struct Field {
  Pool pool;
  std::map<int, int> pos, bracket, odds, pop;  // by horse number
  std::vector<int> byPlace;                    // the finishers, by position and horse number

  // A set of finishers is paid for the top k when they can all be among the
  // first k: the horses strictly ahead of the worst of them, plus the set,
  // number at most k. Dead heats give more than one paid set.
  bool Paid(std::initializer_list<int> horses, int k) const {
    int worst = 0;
    for (int h : horses) {
      int p = pos.at(h);
      if (p == 0) return false;
      worst = std::max(worst, p);
    }
    int ahead = 0;
    for (auto& [h, p] : pos) {
      if (p == 0 || p >= worst) continue;
      if (std::find(horses.begin(), horses.end(), h) == horses.end()) ++ahead;
    }
    return ahead + static_cast<int>(horses.size()) <= k;
  }

  // Finishing order, horse number breaking a dead heat.
  bool Before(int a, int c) const { return pos.at(a) != pos.at(c) ? pos.at(a) < pos.at(c) : a < c; }
};

Field FieldOf(const World& w, const Race& r) {
  Field f;
  for (int ru : r.runs) {
    const Run& x = w.runs[static_cast<std::size_t>(ru)];
    if (x.abnormal == 1) continue;
    f.pool.nums.push_back(x.horseNumber);
    f.pool.p.push_back(x.marketProb);
    f.pos[x.horseNumber] = x.position;
    f.bracket[x.horseNumber] = x.bracket;
    f.odds[x.horseNumber] = x.odds;
    f.pop[x.horseNumber] = x.popularity;
  }
  for (auto& [h, p] : f.pos)
    if (p > 0) f.byPlace.push_back(h);
  std::sort(f.byPlace.begin(), f.byPlace.end(), [&](int a, int c) { return f.Before(a, c); });
  return f;
}

// Harville probability that the horses finish in this order at the front.
double OrderChance(const Pool& pool, std::initializer_list<std::size_t> idx) {
  double prob = 1, used = 0;
  for (std::size_t i : idx) {
    prob *= pool.p[i] / (1 - used);
    used += pool.p[i];
  }
  return prob;
}

// Chances of every combination: finishing first and second in either order
// (quinella) or this order (exacta), both in the first three (wide), the
// first three in any order (trio) or this order (trifecta).
struct Chances {
  std::map<Pair, double> quin, wide, exacta;
  std::map<Triple, double> trio, trifecta;
};

Chances HarvilleChances(const Pool& pool) {
  Chances ch;
  const std::size_t n = pool.nums.size();
  for (std::size_t a = 0; a < n; ++a)
    for (std::size_t c = 0; c < n; ++c) {
      if (a == c) continue;
      double ac = OrderChance(pool, {a, c});
      int x = pool.nums[a], y = pool.nums[c];
      ch.exacta[{x, y}] = ac;
      ch.quin[{std::min(x, y), std::max(x, y)}] += ac;
      for (std::size_t d = 0; d < n; ++d) {
        if (d == a || d == c) continue;
        double acd = OrderChance(pool, {a, c, d});
        int z = pool.nums[d];
        ch.trifecta[{x, y, z}] = acd;
        Triple s = {x, y, z};
        std::sort(s.begin(), s.end());
        ch.trio[s] += acd;
        ch.wide[{std::min(x, y), std::max(x, y)}] += acd;
        ch.wide[{std::min(x, z), std::max(x, z)}] += acd;
        ch.wide[{std::min(y, z), std::max(y, z)}] += acd;
      }
    }
  return ch;
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

void PutCombination(RecordBuffer& b, const hr::Table& t, std::size_t e, const Pair& key, long long amount,
                    int popularity) {
  PutPayout(b, t, e, {key.first, key.second}, amount, popularity);
}

void PutCombination(RecordBuffer& b, const hr::Table& t, std::size_t e, const Triple& key, long long amount,
                    int popularity) {
  PutPayout(b, t, e, {key[0], key[1], key[2]}, amount, popularity);
}

// The first `most` paid combinations of one bet: each pays `returnRate` of
// the pool over its chance, shared between the paid combinations where a
// dead heat makes more of them than the `normalEntries` a race pays.
template <class Key>
void PutPaid(RecordBuffer& b, const hr::Table& t, std::size_t most, const std::vector<Key>& paid,
             const std::map<Key, double>& chance, double returnRate, int normalEntries) {
  std::vector<double> all;
  for (auto& kv : chance) all.push_back(kv.second);
  for (std::size_t e = 0; e < paid.size() && e < most; ++e) {
    const Key& key = paid[e];
    PutCombination(b, t, e, key, Payout(returnRate, chance.at(key), static_cast<int>(paid.size()), normalEntries),
                   Popularity(all, chance.at(key)));
  }
}

// Refunds: the scratched horses.
void PutRefunds(RecordBuffer& b, const World& w, const Race& r) {
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
}

// Win from the win odds; place (three places, two in a field of seven or
// fewer) from them too.
void PutWinAndPlace(RecordBuffer& b, const Field& f, int starters) {
  std::vector<int> winners;
  for (int h : f.byPlace)
    if (f.Paid({h}, 1)) winners.push_back(h);
  for (std::size_t e = 0; e < winners.size() && e < 3; ++e) {
    int h = winners[e];
    int amount = std::max(100, f.odds.at(h) * 10 / static_cast<int>(winners.size()) / 10 * 10);
    PutPayout(b, hr::kWin, e, {h}, amount, f.pop.at(h));
  }
  const int placesPaid = starters <= 7 ? 2 : 3;
  std::vector<int> placed;
  for (int h : f.byPlace)
    if (f.Paid({h}, placesPaid)) placed.push_back(h);
  for (std::size_t e = 0; e < placed.size() && e < 5; ++e) {
    int h = placed[e];
    int base = 100 + (f.odds.at(h) - 10) * 22 / 10;
    int amount = std::max(100, base * placesPaid / static_cast<int>(placed.size()) / 10 * 10);
    PutPayout(b, hr::kPlace, e, {h}, amount, f.pop.at(h));
  }
}

// Quinella, wide, bracket quinella (sold for fields of nine or more) and
// exacta.
void PutPairs(RecordBuffer& b, const Field& f, const Chances& ch, int starters) {
  std::vector<Pair> quinPaid, widePaid, exPaid;
  for (std::size_t i = 0; i < f.byPlace.size(); ++i)
    for (std::size_t k = i + 1; k < f.byPlace.size(); ++k) {
      int x = f.byPlace[i], y = f.byPlace[k];
      Pair key{std::min(x, y), std::max(x, y)};
      if (f.Paid({x, y}, 2)) {
        quinPaid.push_back(key);
        exPaid.emplace_back(x, y);
        if (f.pos.at(x) == f.pos.at(y)) exPaid.emplace_back(y, x);
      }
      if (f.Paid({x, y}, 3)) widePaid.push_back(key);
    }
  std::sort(quinPaid.begin(), quinPaid.end());
  std::sort(widePaid.begin(), widePaid.end());
  PutPaid(b, hr::kQuinella, 3, quinPaid, ch.quin, 0.775, 1);
  PutPaid(b, hr::kWide, 7, widePaid, ch.wide, 0.775, 3);
  if (starters >= 9) {
    auto bracketsOf = [&](const Pair& key) {
      int x = f.bracket.at(key.first), y = f.bracket.at(key.second);
      return Pair{std::min(x, y), std::max(x, y)};
    };
    std::map<Pair, double> bq;
    for (auto& [key, chance] : ch.quin) bq[bracketsOf(key)] += chance;
    std::vector<Pair> bqPaid;
    for (auto& key : quinPaid)
      if (const Pair bk = bracketsOf(key); std::find(bqPaid.begin(), bqPaid.end(), bk) == bqPaid.end())
        bqPaid.push_back(bk);
    PutPaid(b, hr::kBracketQuinella, 3, bqPaid, bq, 0.775, 1);
  }
  PutPaid(b, hr::kExacta, 6, exPaid, ch.exacta, 0.75, 1);
}

// Trio and trifecta: every order consistent with the positions is a
// winning trifecta.
void PutTriples(RecordBuffer& b, const Field& f, const Chances& ch) {
  std::vector<Triple> trioPaid, triPaid;
  auto before = [&](int a, int c) { return f.Before(a, c); };
  for (std::size_t i = 0; i < f.byPlace.size(); ++i)
    for (std::size_t k = i + 1; k < f.byPlace.size(); ++k)
      for (std::size_t m = k + 1; m < f.byPlace.size(); ++m) {
        int x = f.byPlace[i], y = f.byPlace[k], z = f.byPlace[m];
        if (!f.Paid({x, y, z}, 3)) continue;
        Triple s = {x, y, z};
        std::sort(s.begin(), s.end());
        trioPaid.push_back(s);
        Triple o = {x, y, z};
        std::sort(o.begin(), o.end(), before);
        do {
          if (f.pos.at(o[0]) <= f.pos.at(o[1]) && f.pos.at(o[1]) <= f.pos.at(o[2])) triPaid.push_back(o);
        } while (std::next_permutation(o.begin(), o.end(), before));
      }
  std::sort(trioPaid.begin(), trioPaid.end());
  PutPaid(b, hr::kTrio, 3, trioPaid, ch.trio, 0.75, 1);
  PutPaid(b, hr::kTrifecta, 6, triPaid, ch.trifecta, 0.725, 1);
}

}  // namespace

std::string MakePayoutRecord(const World& w, const Race& r) {
  RecordBuffer b = StartRaceRecord(kHrLength, "HR", r);
  const int starters = Starters(w, r);
  b.PutNumber(hr::kRegisteredRunners, r.registered);
  b.PutNumber(hr::kStarters, starters);
  PutRefunds(b, w, r);
  const Field field = FieldOf(w, r);
  const Chances chances = HarvilleChances(field.pool);
  PutWinAndPlace(b, field, starters);
  PutPairs(b, field, chances, starters);
  PutTriples(b, field, chances);
  return b.Take();
}

}  // namespace furlong::demo
