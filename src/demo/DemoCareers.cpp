// The careers that brought the demo's horses to their races: the dates of
// their earlier runs, which of them they won, spells in local racing and
// abroad, the class each run was in, where they finished, and their riders,
// weights and body weights.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "demo/DemoRiders.h"
#include "demo/DemoWorldBuilder.h"

namespace furlong::demo {

namespace {

using C = ClassKind;

// The free slot in [lo, hi] nearest to `want` (taken[] marks used slots).
int NearestFree(std::vector<char>& taken, int want, int lo, int hi) {
  for (int d = 0; d <= hi - lo; ++d) {
    for (int s : {want - d, want + d}) {
      if (s >= lo && s <= hi && !taken[static_cast<std::size_t>(s)]) {
        taken[static_cast<std::size_t>(s)] = 1;
        return s;
      }
    }
  }
  throw std::logic_error("demo store: no free slot in a race");
}

// Popularity-based win odds in tenths for a field of n.
int OddsForPopularity(Rng& rng, int popularity, int n) {
  static const double base[18] = {2.6, 4.4, 6.5, 8.8, 11.5, 15, 19.5, 25, 32, 40, 50, 62, 78, 95, 120, 150, 190, 240};
  double v = base[std::clamp(popularity, 1, 18) - 1];
  if (n < 12) v /= 1.0 + (12 - n) * 0.06;
  v *= 1.0 + rng.Normal(0, 0.1);
  return std::clamp(static_cast<int>(v * 10 + 0.5), 11, 9999);
}

// Wins in the runs before run j of a plan.
int WinsBefore(const std::vector<PlannedRun>& plan, int j) {
  int c = 0;
  for (int i = 0; i < j; ++i) c += plan[static_cast<std::size_t>(i)].win ? 1 : 0;
  return c;
}

}  // namespace

int GapWeeks(Rng& rng) {
  double u = rng.Uniform();
  if (u < 0.05) return rng.Int(1, 2);
  if (u < 0.65) return rng.Int(3, 6);
  if (u < 0.90) return rng.Int(7, 12);
  return rng.Int(13, 30);
}

ClassKind ClassOfLevel(int level) {
  switch (level) {
    case 0: return C::Maiden;
    case 1: return C::Win1;
    case 2: return C::Win2;
    case 3: return C::Win3;
    default: return C::Open;
  }
}

int SaturdayOnOrBefore(int serial) { return serial - (Weekday(serial) + 1) % 7; }

// The earlier runs of a horse coming to `current`: their dates, flat runs
// before jump runs, the wins among them, and now and then a spell in local
// racing, a local graded race or a race abroad.
std::vector<PlannedRun> WorldBuilder::PlanCareer(const Horse& h, const Race& current, int wins, int runsWanted,
                                                 int jumpRuns) {
  const int earliest = DaySerial(h.birthYear + 2, 6, 1);
  const int cutoff = DaySerial(h.birthYear + 3, 9, 10);  // the last maiden races of its age
  const int total = runsWanted + jumpRuns;
  const int needed = total == 0 ? 0 : std::max(1, wins + jumpRuns);
  // A season's new horse ran before the season began, unless it is too
  // young for that: then it ran at the racecourses the season leaves free.
  const int last = earliest + 7 * 3 * needed < careerEnd_ ? std::min(current.date, careerEnd_) : current.date;
  const std::vector<int> dates = CareerDates(earliest, last, total, needed);
  const int n = static_cast<int>(dates.size());
  jumpRuns = std::min(jumpRuns, n - wins);
  const int flat = n - jumpRuns;

  std::vector<PlannedRun> plan(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    plan[static_cast<std::size_t>(i)].date = dates[static_cast<std::size_t>(i)];
    plan[static_cast<std::size_t>(i)].jump = i >= flat;
  }
  if (wins > 0 && flat >= wins) PlaceWins(plan, flat, wins, earliest, cutoff);

  const int age = YearOf(current.date) - h.birthYear;
  // A spell in local racing, with no race records of its own.
  if (!h.jumper && age >= 4 && flat >= 8 && rng_.Chance(0.08)) AddLocalSpell(plan, flat);
  // A graded race at a local racecourse for an open dirt horse.
  if (wins >= 4 && h.surface == Surface::Dirt && rng_.Chance(0.4)) AddLocalGradedRace(plan, flat);
  // The Hong Kong international races in December for a turf horse of the
  // championship race.
  if (current.grade == 'A' && age >= 4 && h.surface == Surface::Turf && rng_.Chance(0.7))
    AddOverseasRace(plan, flat, current);
  return plan;
}

// Up to `total` dates going back from `last`, a few weeks apart and none
// before `earliest`; tried again with shorter gaps until `needed` fit.
// Returned oldest first.
std::vector<int> WorldBuilder::CareerDates(int earliest, int last, int total, int needed) {
  std::vector<int> dates;
  for (int attempt = 0; attempt < 40; ++attempt) {
    dates.clear();
    int d = last;
    for (int k = 0; k < total; ++k) {
      int weeks = attempt < 10 ? GapWeeks(rng_) : rng_.Int(2, 4);
      int nd = d - 7 * weeks;
      if (rng_.Chance(0.4)) nd += Weekday(nd) == 6 ? 1 : -1;
      if (nd < earliest) break;
      dates.push_back(nd);
      d = nd;
    }
    if (static_cast<int>(dates.size()) >= needed) break;
  }
  std::reverse(dates.begin(), dates.end());
  return dates;
}

// The wins among the first `flat` runs: the maiden win while maiden races
// are still run for its age (`cutoff`), the others any time after it.
void WorldBuilder::PlaceWins(std::vector<PlannedRun>& plan, int flat, int wins, int earliest, int cutoff) {
  std::vector<int> eligible;
  for (int i = 0; i <= flat - wins; ++i)
    if (plan[static_cast<std::size_t>(i)].date <= cutoff) eligible.push_back(i);
  if (eligible.empty()) {
    int latest = std::min(cutoff, plan[0].date - 14);
    int moved = SaturdayOnOrBefore(rng_.Int(earliest, latest));
    if (moved < earliest) moved += 7;
    plan[0].date = moved;
    eligible.push_back(0);
  }
  int first = rng_.Pick(eligible);
  plan[static_cast<std::size_t>(first)].win = true;
  std::vector<int> later;
  for (int i = first + 1; i < flat; ++i) later.push_back(i);
  rng_.Shuffle(later);
  for (int k = 0; k < wins - 1; ++k) plan[static_cast<std::size_t>(later[static_cast<std::size_t>(k)])].win = true;
}

// Two to four runs in a row without a win move to local racing, a few days
// earlier (local racing runs on weekdays).
void WorldBuilder::AddLocalSpell(std::vector<PlannedRun>& plan, int flat) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    int len = rng_.Int(2, 4), s = rng_.Int(1, flat - len - 1);
    bool clear = true;
    for (int i = s; i < s + len; ++i) clear = clear && !plan[static_cast<std::size_t>(i)].win;
    if (!clear) continue;
    for (int i = s; i < s + len; ++i) {
      plan[static_cast<std::size_t>(i)].away = 1;
      plan[static_cast<std::size_t>(i)].date -= rng_.Int(1, 3);
    }
    break;
  }
}

// A lost open-class run becomes a local graded race, midweek.
void WorldBuilder::AddLocalGradedRace(std::vector<PlannedRun>& plan, int flat) {
  std::vector<int> c;
  for (int i = 0; i < flat; ++i)
    if (!plan[static_cast<std::size_t>(i)].win && plan[static_cast<std::size_t>(i)].away == 0 && WinsBefore(plan, i) >= 4)
      c.push_back(i);
  if (c.empty()) return;
  const int j = rng_.Pick(c);
  plan[static_cast<std::size_t>(j)].away = 2;
  plan[static_cast<std::size_t>(j)].date -= Weekday(plan[static_cast<std::size_t>(j)].date) == 0 ? 4 : 3;
}

// The latest lost run after two wins that lies well apart from its
// neighbours moves to the second Sunday of December, abroad.
void WorldBuilder::AddOverseasRace(std::vector<PlannedRun>& plan, int flat, const Race& current) {
  const int n = static_cast<int>(plan.size());
  for (int i = flat - 1; i >= 0; --i) {
    PlannedRun& run = plan[static_cast<std::size_t>(i)];
    if (run.win || run.away != 0 || WinsBefore(plan, i) < 2) continue;
    const int year = YearOf(run.date) - (MonthOf(run.date) < 6 ? 1 : 0);
    const int firstSunday = DaySerial(year, 12, 1) + (7 - Weekday(DaySerial(year, 12, 1))) % 7;
    const int day = firstSunday + 7;
    const int before = i > 0 ? plan[static_cast<std::size_t>(i - 1)].date : 0;
    const int after = i + 1 < n ? plan[static_cast<std::size_t>(i + 1)].date : current.date;
    if (day >= before + 14 && day <= after - 14) {
      run.away = 3;
      run.date = day;
      break;
    }
  }
}

// The class and race type of a planned JRA run: by the wins before it and
// the horse's age, newcomer races for a first run of a young horse, old
// maidens against winners.
RaceClass WorldBuilder::PastRunClass(const Horse& h, const PlannedRun& p, bool first, int winsBefore) {
  const int cutoff = DaySerial(h.birthYear + 3, 9, 10);
  const int age = YearOf(p.date) - h.birthYear, month = MonthOf(p.date);
  RaceClass c;
  if (p.jump) {
    c.cls = C::Maiden;
    c.type = month <= 5 ? 19 : 18;
    return c;
  }
  int level = std::min(winsBefore, 4);
  if (level == 0) {
    if (first && (age == 2 || (age == 3 && month <= 2)) && rng_.Chance(0.85)) c.cls = C::Newcomer;
    else if (p.date <= cutoff) c.cls = C::Maiden;
    else c.cls = C::Win1;  // an old maiden runs against winners
  } else {
    c.cls = ClassOfLevel(level);
  }
  if (age == 2) c.type = 11;
  else if (age == 3 && (month <= 5 || c.cls == C::Maiden || c.cls == C::Newcomer)) c.type = 12;
  else if (age >= 4 && month <= 5) c.type = 14;
  else c.type = 13;
  if ((c.type == 11 || c.type == 12) && (c.cls == C::Win2 || c.cls == C::Win3)) c.cls = C::Open;
  return c;
}

// Each planned run in a race of its date, found or made, with the place
// the plan gives it. A run no race has room for is left out.
void WorldBuilder::AddPastRuns(int horse, const std::vector<PlannedRun>& plan) {
  int winsBefore = 0;
  for (std::size_t j = 0; j < plan.size(); ++j) {
    const PlannedRun& p = plan[j];
    const Horse& h = w_.horses[static_cast<std::size_t>(horse)];
    const RaceClass c = PastRunClass(h, p, j == 0, winsBefore);
    int raceIndex;
    if (p.away != 0) {
      raceIndex = AwayRace(p, h);
    } else {
      raceIndex = FindOrMakeRace(horse, p, c.cls, c.type);
      if (raceIndex < 0) continue;
    }

    Run run;
    run.horse = horse;
    run.race = raceIndex;
    run.local = p.away == 1 || p.away == 2;
    bool nextIsWin = j + 1 < plan.size() && plan[j + 1].win;
    TakePosition(w_.races[static_cast<std::size_t>(raceIndex)], run, w_.horses[static_cast<std::size_t>(horse)], p.win,
                 nextIsWin);
    w_.runs.push_back(run);
    const int runIndex = static_cast<int>(w_.runs.size()) - 1;
    w_.races[static_cast<std::size_t>(raceIndex)].runs.push_back(runIndex);
    w_.horses[static_cast<std::size_t>(horse)].runs.push_back(runIndex);
    if (p.win) ++winsBefore;
  }
}

// A run's finishing position (by its quality, a little better before a
// win), horse number, popularity and win odds in an earlier race.
void WorldBuilder::TakePosition(Race& r, Run& run, const Horse& h, bool win, bool nextIsWin) {
  const int n = r.registered;
  if (win) {
    run.position = NearestFree(r.positionTaken, 1, 1, 1);
  } else {
    double frac = h.quality * 0.8 + 0.1 + rng_.Normal(0, 0.2) - (nextIsWin ? 0.15 : 0.0);
    if (!r.filed) frac *= 0.6;  // a JRA horse usually does well against local horses
    frac = std::clamp(frac, 0.0, 1.0);
    run.position = NearestFree(r.positionTaken, 2 + static_cast<int>(std::lround(frac * (n - 2))), 2, n);
  }
  run.horseNumber = NearestFree(r.numberTaken, rng_.Int(1, n), 1, n);
  int wantPop = win ? 1 + static_cast<int>(std::lround(std::fabs(rng_.Normal(0, 1.8))))
                    : run.position + static_cast<int>(std::lround(rng_.Normal(0, 2.5)));
  run.popularity = NearestFree(r.popularityTaken, std::clamp(wantPop, 1, n), 1, n);
  run.odds = OddsForPopularity(rng_, run.popularity, n);
}

// What a horse's earlier runs still lack once its career is complete:
// blinkers, the date it was registered, and for each run its rider, the
// weight carried and its body weight.
void WorldBuilder::FinishHorse(int horseIndex) {
  Horse& h = w_.horses[static_cast<std::size_t>(horseIndex)];
  const int past = static_cast<int>(h.runs.size()) - 1;  // the last run is the demo meeting's
  if (rng_.Chance(0.2)) h.blinkersFrom = rng_.Int(0, past);
  const Race& debut = w_.races[static_cast<std::size_t>(w_.runs[static_cast<std::size_t>(h.runs[0])].race)];
  h.registeredDate = debut.date - rng_.Int(60, 150);
  int body = h.bodyBase - (past > 0 && YearOf(debut.date) - h.birthYear == 2 ? 10 : 0);
  bool previousMeasured = false;
  for (int j = 0; j < past; ++j) {
    Run& run = w_.runs[static_cast<std::size_t>(h.runs[static_cast<std::size_t>(j)])];
    const Race& r = w_.races[static_cast<std::size_t>(run.race)];
    run.blinkers = h.blinkersFrom >= 0 && j >= h.blinkersFrom;
    run.jockey = RiderOfPastRun(h, j);
    run.weight = WeightCarried(w_, r, h, run.jockey);
    if (r.dataKind == 'B') {
      run.bodyWeight = 0;  // not weighed abroad
      run.bodyChangeKind = 2;
      previousMeasured = false;
      continue;
    }
    if (j == 0) {
      run.bodyChangeKind = 1;
    } else {
      int change = 2 * static_cast<int>(std::lround(rng_.Normal(YearOf(r.date) - h.birthYear <= 3 ? 0.4 : 0.1, 2.3)));
      body = std::clamp(body + change, 400, 560);
      run.bodyChange = change;
      run.bodyChangeKind = previousMeasured ? 0 : 2;
    }
    run.bodyWeight = body;
    previousMeasured = true;
  }
}

// The rider of a horse's run j: mostly its own jockey, and never one already
// on another of the demo's horses in that race.
int WorldBuilder::RiderOfPastRun(const Horse& h, int j) {
  const int runIndex = h.runs[static_cast<std::size_t>(j)];
  const Race& r = w_.races[static_cast<std::size_t>(w_.runs[static_cast<std::size_t>(runIndex)].race)];
  for (int attempt = 0;; ++attempt) {
    int jockey = attempt == 0 && rng_.Chance(0.65) ? h.mainJockey : rng_.Int(0, kRegularJockeys - 1);
    bool taken = false;
    for (int other : r.runs)
      if (other != runIndex && w_.runs[static_cast<std::size_t>(other)].jockey == jockey) taken = true;
    if (!taken || attempt > 50) return jockey;
  }
}

}  // namespace furlong::demo
