// The demo's time model: see DemoTimeModel.h.
#include "demo/DemoTimeModel.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace furlong::demo {

namespace {

using C = ClassKind;

struct Point {
  int distance;
  double seconds;
};

double Interpolate(const std::vector<Point>& table, int distance) {
  if (distance <= table.front().distance) return table.front().seconds * distance / table.front().distance;
  for (std::size_t i = 1; i < table.size(); ++i) {
    if (distance <= table[i].distance) {
      const Point &a = table[i - 1], &b = table[i];
      return a.seconds + (b.seconds - a.seconds) * (distance - a.distance) / (b.distance - a.distance);
    }
  }
  return table.back().seconds * distance / table.back().distance;
}

double BaseSeconds(Surface s, int distance) {
  static const std::vector<Point> turf = {{1000, 55.8},  {1200, 68.9},  {1400, 81.6},  {1500, 88.2},  {1600, 94.2},
                                          {1800, 107.4}, {2000, 120.4}, {2200, 133.6}, {2400, 146.6}, {2500, 152.9},
                                          {2600, 159.6}, {3000, 184.6}, {3200, 197.8}, {3400, 211.5}};
  static const std::vector<Point> dirt = {{1000, 59.7},  {1150, 68.6},  {1200, 71.9},  {1230, 73.8},
                                          {1300, 78.5},  {1400, 84.6},  {1500, 91.4},  {1600, 97.3},
                                          {1700, 104.6}, {1800, 112.4}, {1870, 116.8}, {1900, 119.3},
                                          {2000, 125.9}, {2100, 131.3}, {2400, 152.6}, {2500, 159.4}};
  if (s == Surface::Jump) return distance * 0.0668;
  return Interpolate(s == Surface::Turf ? turf : dirt, distance);
}

double ClassFactor(const Race& r) {
  if (r.track.surface == Surface::Jump) return 0.010;
  if (r.grade == 'A') return -0.006;
  if (r.grade == 'B') return r.raceType == 11 ? 0.002 : -0.0045;
  if (r.grade == 'C') return r.raceType == 11 ? 0.003 : -0.0035;
  bool young = r.raceType == 11;
  switch (r.cls) {
    case C::Newcomer: return young ? 0.018 : 0.012;
    case C::Maiden: return young ? 0.010 : 0.007;
    case C::Win1: return young ? 0.006 : 0.0035;
    case C::Win2: return 0.0015;
    case C::Win3: return 0.0;
    case C::Open: return young ? 0.003 : -0.002;
  }
  return 0;
}

double GoingFactor(Surface s, int going) {
  static const double turf[5] = {0, 0, 0.008, 0.018, 0.030};
  static const double dirt[5] = {0, 0, -0.004, -0.007, -0.009};
  return s == Surface::Dirt ? dirt[going] : turf[going];
}

double CourseFactor(const std::string& course, Surface s) {
  if (!IsJraCourse(course)) return course == "G0" ? 0.0 : 0.022;
  if (s == Surface::Dirt) return course == "01" || course == "02" ? -0.002 : 0.0;
  static const std::map<std::string, double> turf = {{"01", 0.006}, {"02", 0.006}, {"03", 0.003}, {"04", -0.003},
                                                     {"05", -0.003}, {"06", 0.002}, {"07", 0.002}, {"08", -0.002},
                                                     {"09", 0.0},   {"10", -0.001}};
  return turf.at(course);
}

int Going(const Race& r) { return r.track.surface == Surface::Dirt ? r.dirtGoing : r.turfGoing; }

// Splits `total` tenths into parts proportional to the weights, exactly.
std::vector<int> Apportion(int total, const std::vector<double>& weights) {
  double sum = 0;
  for (double w : weights) sum += w;
  std::vector<int> parts(weights.size());
  int given = 0;
  for (std::size_t i = 0; i < weights.size(); ++i) {
    parts[i] = static_cast<int>(total * weights[i] / sum);
    given += parts[i];
  }
  for (std::size_t i = 0; given < total; i = (i + 1) % parts.size(), ++given) ++parts[i];
  return parts;
}

}  // namespace

int WinnerTime(Rng& rng, const Race& r) {
  double f = 1.0 + ClassFactor(r) + GoingFactor(r.track.surface, Going(r)) + CourseFactor(r.course, r.track.surface) +
             rng.Normal(0, 0.004);
  return static_cast<int>(BaseSeconds(r.track.surface, r.track.distance) * f * 10 + 0.5);
}

int RaceLastThree(Rng& rng, const Race& r) {
  const int going = Going(r);
  double v;
  if (r.track.surface == Surface::Jump) {
    static const double g[5] = {0, 0, 0.2, 0.5, 0.9};
    v = std::clamp(13.0 + g[going] + rng.Normal(0, 0.35), 11.8, 15.5);
  } else if (r.track.surface == Surface::Turf) {
    static const double g[5] = {0, 0, 0.6, 1.5, 2.6};
    int d = r.track.distance;
    v = 34.3 + (d <= 1200 ? 0.5 : d <= 1400 ? 0.3 : d <= 1600 ? 0.0 : d <= 2000 ? -0.1 : d < 2600 ? 0.2 : 0.5);
    switch (r.cls) {
      case C::Newcomer: v -= 0.3; break;
      case C::Maiden: v += 0.4; break;
      case C::Win1: v += 0.2; break;
      case C::Win2: break;
      case C::Win3: v -= 0.1; break;
      case C::Open: v -= r.grade >= 'A' && r.grade <= 'C' ? 0.4 : 0.3; break;
    }
    if (r.course == "04" || r.course == "05" || r.course == "08") v -= 0.4;
    if (r.course == "01" || r.course == "02" || r.course == "03" || r.course == "06" || r.course == "10") v += 0.4;
    v = std::clamp(v + g[going] + rng.Normal(0, 0.5), 32.5, 39.0);
  } else {
    static const double g[5] = {0, 0, -0.3, -0.5, -0.7};
    v = 36.8 + (r.track.distance - 1400) / 1000.0;
    switch (r.cls) {
      case C::Newcomer: v += 0.8; break;
      case C::Maiden: v += 0.6; break;
      case C::Win1: v += 0.3; break;
      case C::Win2: break;
      case C::Win3: v -= 0.2; break;
      case C::Open: v -= 0.4; break;
    }
    if (!IsJraCourse(r.course)) v += 1.5;
    v = std::clamp(v + g[going] + rng.Normal(0, 0.6), 34.5, 42.0);
  }
  return static_cast<int>(v * 10 + 0.5);
}

std::vector<int> Gaps(Rng& rng, int n, bool jump) {
  std::vector<int> gaps(static_cast<std::size_t>(std::max(n, 1)), 0);
  for (int p = 2; p <= n; ++p) {
    static const std::vector<double> margin = {22, 30, 20, 13, 8, 4, 3};
    static const std::vector<double> later = {30, 30, 18, 10, 6, 4};
    int step;
    if (p == 2) {
      step = static_cast<int>(rng.Weighted(margin));
      if (step >= 5) step = rng.Int(5, 8);
    } else {
      step = static_cast<int>(rng.Weighted(later));
      if (step == 5) step = rng.Int(5, 7);
      if (rng.Chance(0.02)) step = rng.Int(8, 15);
      if (p > n * 2 / 3) step += rng.Int(0, 2);
    }
    if (jump) step = step * 3 + rng.Int(0, 2);
    gaps[static_cast<std::size_t>(p - 1)] = gaps[static_cast<std::size_t>(p - 2)] + step;
  }
  return gaps;
}

std::vector<int> Laps(Rng& rng, const Race& r) {
  const int d = r.track.distance;
  const int count = (d + 199) / 200;
  const int first = d - 200 * (count - 1);  // the first split may be short
  std::vector<double> early;
  for (int i = 0; i < count - 3; ++i) {
    double w = 1.0 + rng.Normal(0, 0.015);
    if (i == 0) w = 1.03 * first / 200.0;
    else if (i == 1) w = 0.94;
    else if (d >= 1800) w += 0.02;
    early.push_back(w);
  }
  std::vector<int> laps = Apportion(r.winnerTime - r.lastThree, early);
  std::vector<int> last = Apportion(r.lastThree, {0.995 + rng.Normal(0, 0.01), 0.985 + rng.Normal(0, 0.01), 1.02});
  laps.insert(laps.end(), last.begin(), last.end());
  return laps;
}

int CornerPosition(Rng& rng, double early, double finish, double t, int n) {
  int p = static_cast<int>(std::lround(early + (finish - early) * t + rng.Normal(0, 0.8)));
  return std::clamp(p, 1, n);
}

double CornerTime(const TrackDef& t, int corner) {
  if (CornerMask(t) == 0xC) return corner == 3 ? 0.2 : 0.5;
  static const double full[4] = {0.0, 0.05, 0.25, 0.55};
  return full[corner - 1];
}

int RunnerLastThree(const Race& r, int gap, int behindAtFourth) {
  if (r.track.surface == Surface::Jump)
    return std::clamp(r.lastThree + static_cast<int>(std::lround((gap - behindAtFourth) * 0.35)), r.lastThree - 10,
                      r.lastThree + 15);
  const bool turf = r.track.surface == Surface::Turf;
  const int v = std::clamp(r.lastThree + gap - behindAtFourth, r.lastThree - 30, r.lastThree + 45);
  return std::clamp(v, turf ? 318 : 345, turf ? 420 : 455);
}

}  // namespace furlong::demo
