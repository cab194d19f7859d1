// Running a race of the demo meetings or of the season: see DemoRaceRun.h.
#include "demo/DemoRaceRun.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <vector>

#include "demo/DemoRiders.h"
#include "demo/DemoTimeModel.h"

namespace furlong::demo {

namespace {

// Plackett-Luce weight of a strength: no exponentials, so it is the same
// on every platform.
double ChanceWeight(double strength, double weakest) {
  double x = 1.0 + (strength - weakest) / 18.0;
  if (x < 0.05) x = 0.05;
  return x * x * x * x;
}

// The rank (1 lowest) of each score; equal scores keep their order.
std::vector<int> Ranks(const std::vector<double>& score) {
  std::vector<int> idx(score.size()), rank(score.size());
  for (std::size_t i = 0; i < idx.size(); ++i) idx[i] = static_cast<int>(i);
  std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) {
    return score[static_cast<std::size_t>(a)] < score[static_cast<std::size_t>(b)];
  });
  for (std::size_t i = 0; i < idx.size(); ++i) rank[static_cast<std::size_t>(idx[i])] = static_cast<int>(i) + 1;
  return rank;
}

// One race being run. Runners are counted k = 0 .. n - 1 in the race's run
// order; the finishing order lists them by k.
class RaceRunning {
 public:
  RaceRunning(World& w, Race& r, Happening here)
      : w_(w), rng_(w.rng), r_(r), here_(here), n_(static_cast<int>(r.runs.size())),
        jump_(r.track.surface == Surface::Jump) {}

  void RunIt() {
    SaddleUp();
    if (here_ == Happening::Scratched) ScratchOne();
    std::vector<double> forecast = Chances(4.5, false);
    for (int k = 0; k < n_; ++k) RunAt(k).forecastProb = forecast[static_cast<std::size_t>(k)];
    if (!r_.finished) return;
    const std::vector<int> starters = OpenTheBetting();
    std::vector<int> order = DrawFinishingOrder(starters);
    const int pulledUp = here_ == Happening::PulledUp ? PullUpOne(order) : -1;
    const std::vector<int> position = TimeTheRace(static_cast<int>(order.size()));
    const std::vector<int> earlyRank = PlaceAtCorners(order, pulledUp);
    RecordFinishers(order, position, earlyRank);
    NameWinnerAndSecond(order);
  }

 private:
  World& w_;
  Rng& rng_;
  Race& r_;
  const Happening here_;
  const int n_;
  const bool jump_;
  std::vector<double> strength_;  // by k

  Run& RunAt(int k) { return w_.runs[static_cast<std::size_t>(r_.runs[static_cast<std::size_t>(k)])]; }

  // The draw, the riders, the weights carried, the weigh-in and each
  // runner's strength on the day.
  void SaddleUp() {
    std::vector<int> numbers(static_cast<std::size_t>(n_));
    for (int k = 0; k < n_; ++k) numbers[static_cast<std::size_t>(k)] = k + 1;
    rng_.Shuffle(numbers);
    const std::vector<int> brackets = BracketsOf(n_);
    const std::vector<int> pool = JockeyPool(w_.names, r_.course, r_.date);
    std::vector<bool> ridden(w_.names.jockeys.size(), false);
    strength_.assign(static_cast<std::size_t>(n_), 0.0);
    for (int k = 0; k < n_; ++k) {
      Run& ru = RunAt(k);
      Horse& h = w_.horses[static_cast<std::size_t>(ru.horse)];
      ru.horseNumber = numbers[static_cast<std::size_t>(k)];
      ru.bracket = brackets[static_cast<std::size_t>(ru.horseNumber)];
      ru.jockey = RiderFor(h, pool, ridden);
      const int index = static_cast<int>(h.runs.size()) - 1;
      ru.blinkers = h.blinkersFrom >= 0 && index >= h.blinkersFrom;
      ru.weight = WeightCarried(w_, r_, h, ru.jockey);
      WeighIn(ru, h, index > 0 ? &w_.runs[static_cast<std::size_t>(h.runs[static_cast<std::size_t>(index - 1)])] : nullptr);
      strength_[static_cast<std::size_t>(k)] = Strength(h);
      ru.strength = strength_[static_cast<std::size_t>(k)];
    }
  }

  // The horse's own jockey when he rides at this racecourse and is still
  // free, else one of the free riders here.
  int RiderFor(const Horse& h, const std::vector<int>& pool, std::vector<bool>& ridden) {
    int jockey = h.mainJockey;
    if (ridden[static_cast<std::size_t>(jockey)] || std::find(pool.begin(), pool.end(), jockey) == pool.end()) {
      std::vector<int> free;
      for (int j : pool)
        if (!ridden[static_cast<std::size_t>(j)]) free.push_back(j);
      if (free.empty()) throw std::logic_error("demo store: more runners than riders at a racecourse");
      jockey = rng_.Pick(free);
    }
    ridden[static_cast<std::size_t>(jockey)] = true;
    return jockey;
  }

  // The body weight and its change since the previous run (`prev`, none
  // for a debut).
  void WeighIn(Run& ru, const Horse& h, const Run* prev) {
    if (!r_.finished) {
      ru.bodyWeight = 0;  // weighed shortly before the race
      ru.bodyChangeKind = 1;
    } else if (!prev) {
      ru.bodyWeight = h.bodyBase - (r_.raceType == 11 ? 10 : 0);
      ru.bodyChangeKind = 1;
    } else if (prev->bodyWeight == 0) {
      ru.bodyWeight = h.bodyBase;
      ru.bodyChangeKind = 2;
    } else {
      int change = 2 * static_cast<int>(std::lround(rng_.Normal(0.2, 2.4)));
      ru.bodyWeight = std::clamp(prev->bodyWeight + change, 400, 560);
      ru.bodyChange = ru.bodyWeight - prev->bodyWeight;
      ru.bodyChangeKind = 0;
    }
  }

  // Its quality, less what the surface and the distance cost a flat horse,
  // and the form of the day.
  double Strength(const Horse& h) {
    double fit = 0;
    if (!jump_ && h.surface != r_.track.surface) fit -= 6;
    if (!jump_) fit -= std::abs(r_.track.distance - h.distance) / 100.0 * 1.5;
    return 100 - 30 * h.quality + fit + rng_.Normal(0, 4);
  }

  void ScratchOne() {
    Run& ru = RunAt(rng_.Int(0, n_ - 1));
    ru.abnormal = 1;
    ru.bodyWeight = 0;
    ru.bodyChangeKind = 2;
  }

  // Chances by k: the public's (win odds), a forecaster's (predicted odds)
  // and the race's own (the result), each the strengths seen through its
  // own noise.
  std::vector<double> Chances(double noise, bool startersOnly) {
    std::vector<double> s(static_cast<std::size_t>(n_));
    double weakest = 1e9;
    for (int k = 0; k < n_; ++k) {
      s[static_cast<std::size_t>(k)] = strength_[static_cast<std::size_t>(k)] + (noise > 0 ? rng_.Normal(0, noise) : 0);
      if (!(startersOnly && RunAt(k).abnormal == 1)) weakest = std::min(weakest, s[static_cast<std::size_t>(k)]);
    }
    std::vector<double> p(static_cast<std::size_t>(n_), 0.0);
    double total = 0;
    for (int k = 0; k < n_; ++k) {
      if (startersOnly && RunAt(k).abnormal == 1) continue;
      p[static_cast<std::size_t>(k)] = ChanceWeight(s[static_cast<std::size_t>(k)], weakest);
      total += p[static_cast<std::size_t>(k)];
    }
    for (double& x : p) x /= total;
    return p;
  }

  // The public's chances, win odds and popularity; returns the starters
  // from the favourite down.
  std::vector<int> OpenTheBetting() {
    std::vector<double> market = Chances(3.0, true);
    std::vector<int> byOdds;
    for (int k = 0; k < n_; ++k) {
      Run& ru = RunAt(k);
      ru.marketProb = market[static_cast<std::size_t>(k)];
      if (ru.abnormal == 1) continue;
      ru.odds = std::clamp(static_cast<int>(std::lround(8.0 / ru.marketProb)), 11, 9999);
      byOdds.push_back(k);
    }
    std::sort(byOdds.begin(), byOdds.end(), [&](int a, int b) {
      if (RunAt(a).odds != RunAt(b).odds) return RunAt(a).odds < RunAt(b).odds;
      return RunAt(a).horseNumber < RunAt(b).horseNumber;
    });
    for (std::size_t i = 0; i < byOdds.size(); ++i) RunAt(byOdds[i]).popularity = static_cast<int>(i) + 1;
    return byOdds;
  }

  // The result: starters drawn one by one in proportion to their chances.
  std::vector<int> DrawFinishingOrder(const std::vector<int>& starters) {
    std::vector<double> truth = Chances(0.0, true);
    std::vector<int> order, left = starters;
    std::sort(left.begin(), left.end());
    while (!left.empty()) {
      std::vector<double> w;
      for (int k : left) w.push_back(truth[static_cast<std::size_t>(k)]);
      std::size_t pick = rng_.Weighted(w);
      order.push_back(left[pick]);
      left.erase(left.begin() + static_cast<std::ptrdiff_t>(pick));
    }
    return order;
  }

  // A runner of the back half pulled up: out of the order; returns it.
  int PullUpOne(std::vector<int>& order) {
    const int starters = static_cast<int>(order.size());
    std::size_t at = static_cast<std::size_t>(rng_.Int(starters / 2, starters - 1));
    const int pulledUp = order[at];
    order.erase(order.begin() + static_cast<std::ptrdiff_t>(at));
    RunAt(pulledUp).abnormal = 4;
    return pulledUp;
  }

  // The race's times and margins for `m` finishers; returns their
  // finishing positions in the finishing order (equal in a dead heat).
  std::vector<int> TimeTheRace(int m) {
    r_.winnerTime = WinnerTime(rng_, r_);
    r_.lastThree = RaceLastThree(rng_, r_);
    r_.gaps = Gaps(rng_, m, jump_);
    std::vector<int> position(static_cast<std::size_t>(m));
    for (int i = 0; i < m; ++i) position[static_cast<std::size_t>(i)] = i + 1;
    if (here_ == Happening::DeadHeatFirst) {
      position[1] = 1;
      r_.gaps[1] = 0;
    }
    if (here_ == Happening::DeadHeatThird) {
      position[3] = 3;
      r_.gaps[3] = r_.gaps[2];
    }
    if (!jump_) r_.laps = Laps(rng_, r_);
    return position;
  }

  // Running positions: where each runner raced early, drifting towards
  // where it finished. The field is the finishing order and then the
  // pulled-up runner; returns the early ranks by that field.
  std::vector<int> PlaceAtCorners(const std::vector<int>& order, int pulledUp) {
    std::vector<int> field = order;
    if (pulledUp >= 0) field.push_back(pulledUp);
    const int f = static_cast<int>(field.size());
    std::vector<double> early(static_cast<std::size_t>(f));
    for (int i = 0; i < f; ++i) {
      const Horse& h = w_.horses[static_cast<std::size_t>(RunAt(field[static_cast<std::size_t>(i)]).horse)];
      early[static_cast<std::size_t>(i)] = kStyleEarly[h.style] + rng_.Normal(0, 0.12);
    }
    const std::vector<int> earlyRank = Ranks(early);
    const int mask = CornerMask(r_.track);
    bool firstCorner = true;
    for (int c = 1; c <= 4; ++c) {
      if (!(mask & (1 << (c - 1)))) continue;
      const double t = CornerTime(r_.track, c);
      std::vector<double> score(static_cast<std::size_t>(f));
      for (int i = 0; i < f; ++i) {
        double e = earlyRank[static_cast<std::size_t>(i)], fin = i + 1;
        score[static_cast<std::size_t>(i)] = e + (fin - e) * t + rng_.Normal(0, 0.9);
      }
      const std::vector<int> rank = Ranks(score);
      for (int i = 0; i < f; ++i) {
        Run& ru = RunAt(field[static_cast<std::size_t>(i)]);
        if (ru.abnormal == 4 && !firstCorner) continue;  // pulled up after the first corner
        ru.corners[static_cast<std::size_t>(c - 1)] = rank[static_cast<std::size_t>(i)];
      }
      firstCorner = false;
    }
    return earlyRank;
  }

  // Each finisher's position, dead heat, time, margin, last three furlongs
  // and prize (a dead heat shares the two places' prizes).
  void RecordFinishers(const std::vector<int>& order, const std::vector<int>& position,
                       const std::vector<int>& earlyRank) {
    const int m = static_cast<int>(order.size());
    const int mask = CornerMask(r_.track);
    int margin = 0;
    for (int i = 1; i < m; ++i)
      if (position[static_cast<std::size_t>(i)] > 1) {
        margin = r_.gaps[static_cast<std::size_t>(i)];
        break;
      }
    for (int i = 0; i < m; ++i) {
      Run& ru = RunAt(order[static_cast<std::size_t>(i)]);
      const int gap = r_.gaps[static_cast<std::size_t>(i)];
      ru.position = position[static_cast<std::size_t>(i)];
      ru.deadHeat = (here_ == Happening::DeadHeatFirst && i <= 1) || (here_ == Happening::DeadHeatThird && (i == 2 || i == 3));
      ru.time = r_.winnerTime + gap;
      ru.timeDiff = ru.position == 1 ? -margin : gap;
      ru.hasTimeDiff = true;
      double behind = mask & 8 ? (ru.corners[3] - 1) * 1.6 : (earlyRank[static_cast<std::size_t>(i)] - 1) * 1.5;
      int g4 = std::max(0, static_cast<int>(std::lround(behind + rng_.Normal(0, 0.8))));
      ru.lastThree = RunnerLastThree(r_, gap, g4);
      int p = ru.position;
      if (ru.deadHeat)
        ru.prize = (r_.prize[static_cast<std::size_t>(p - 1)] + r_.prize[static_cast<std::size_t>(p)]) / 20 * 10;
      else
        ru.prize = p <= 5 ? r_.prize[static_cast<std::size_t>(p - 1)] : 0;
    }
  }

  void NameWinnerAndSecond(const std::vector<int>& order) {
    const Horse& winner = w_.horses[static_cast<std::size_t>(RunAt(order[0]).horse)];
    const Horse& second = w_.horses[static_cast<std::size_t>(RunAt(order[1]).horse)];
    r_.winnerId = winner.id;
    r_.winnerName = winner.name;
    r_.secondId = second.id;
    r_.secondName = second.name;
  }
};

}  // namespace

void RunRace(World& w, Race& r, Happening happening) { RaceRunning(w, r, happening).RunIt(); }

}  // namespace furlong::demo
