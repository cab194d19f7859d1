// The races of the demo horses' earlier careers: a JRA race that a run
// joins or that is made for it, a race in local racing or abroad, and, once
// every career is in place, the results of those races.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "demo/DemoTimeModel.h"
#include "demo/DemoWorldBuilder.h"
#include "demo/RecordBuffer.h"

namespace furlong::demo {

namespace {

using C = ClassKind;

// The usual age of a race's runners.
int TypicalAge(const Race& r, Rng& rng) {
  if (r.raceType == 11) return 2;
  if (r.raceType == 12) return 3;
  return rng.Int(3, 6);
}

// A demo horse's run in a race that has its result: its time, margin,
// draw bracket and prize, and, but for a race abroad, its positions at the
// corners and its last three furlongs.
void FinishPastRun(Rng& rng, const Race& r, const Horse& h, Run& run) {
  const int n = r.registered;
  const int mask = CornerMask(r.track);
  const int gap = r.gaps[static_cast<std::size_t>(run.position - 1)];
  run.time = r.winnerTime + gap;
  run.timeDiff = run.position == 1 ? -(n >= 2 ? r.gaps[1] : 0) : gap;
  run.hasTimeDiff = true;
  run.bracket = BracketsOf(n)[static_cast<std::size_t>(run.horseNumber)];
  run.prize = run.position <= 5 ? r.prize[static_cast<std::size_t>(run.position - 1)] : 0;
  double early = 1.0 + std::clamp(kStyleEarly[h.style] + rng.Normal(0, 0.1), 0.0, 1.0) * (n - 1);
  if (r.dataKind == 'B') {
    // Races abroad come with the result and the time only.
    run.popularity = 0;
    run.odds = 0;
    return;
  }
  for (int c = 1; c <= 4; ++c)
    if (mask & (1 << (c - 1)))
      run.corners[static_cast<std::size_t>(c - 1)] = CornerPosition(rng, early, run.position, CornerTime(r.track, c), n);
  double behind = mask & 8 ? (run.corners[3] - 1) * 1.7 : (early - 1) * 1.5;
  int g4 = std::max(0, static_cast<int>(std::lround(behind + rng.Normal(0, 1.0))));
  run.lastThree = RunnerLastThree(r, gap, g4);
}

}  // namespace

// ---------------------------------------------------------------- JRA races

int WorldBuilder::FindOrMakeRace(int horse, const PlannedRun& p, ClassKind cls, int raceType) {
  const int other = Weekday(p.date) == 6 ? p.date + 1 : p.date - 1;
  for (int strict = 1; strict >= 0; --strict)
    for (int date : {p.date, other}) {
      int race = FindOrMakeRaceOn(horse, date, p, cls, raceType, strict == 1);
      if (race >= 0) return race;
    }
  // The careers of a season's new horses crowd the weeks before it: the
  // other racecourses take the overflow.
  if (weeks_ > 1 && !anyCourse_) {
    anyCourse_ = true;
    const int race = FindOrMakeRace(horse, p, cls, raceType);
    anyCourse_ = false;
    return race;
  }
  // A long season leaves the weeks before it no room for every earlier run
  // of its new horses: such a run is left out of the career.
  if (weeks_ > 1) return -1;
  throw std::logic_error("demo store: no room for a run on " + DateText(p.date));
}

// A race of one date for a run: one with room of its class near the
// distance the horse wants, else a new one at a free race number (any free
// number unless `strict`), else any distance or a higher class.
int WorldBuilder::FindOrMakeRaceOn(int horse, int date, const PlannedRun& p, ClassKind cls, int raceType,
                                   bool strict) {
  const Horse& h = w_.horses[static_cast<std::size_t>(horse)];
  const std::vector<std::string> order = CoursesInTurn(h, date, p.jump);
  const std::string& course = order.front();
  const TrackDef track = ChooseTrack(h, course, p.jump);

  // 0: same class and distance, 1: within 400 metres, 2: any distance,
  // 3: a higher class (not for a winner).
  auto fits = [&](const Race& r, int level) {
    if (r.current || r.raceType != raceType || r.track.surface != track.surface) return false;
    if (level == 3 ? (p.win || r.cls <= cls || cls == C::Newcomer || r.cls == C::Newcomer) : r.cls != cls) return false;
    if (level == 0 && r.track.distance != track.distance) return false;
    if (level == 1 && std::abs(r.track.distance - track.distance) > 400) return false;
    if (r.fillies && h.sex != 2) return false;
    if (static_cast<int>(r.runs.size()) >= r.registered - 1) return false;
    return !(p.win && r.positionTaken[1]);
  };
  auto join = [&](int level) {
    for (const std::string& c : order)
      for (int idx : racesAt_[{date, c}])
        if (fits(w_.races[static_cast<std::size_t>(idx)], level)) return idx;
    return -1;
  };
  for (int level = 0; level < 2; ++level)
    if (int idx = join(level); idx >= 0) return idx;

  for (const std::string& c : order) {
    const int number = FreeRaceNumber(date, c, p.jump, cls, strict);
    if (number == 0) continue;
    TrackDef t = c == course ? track : ChooseTrack(h, c, p.jump);
    return MakeRace(date, c, number, cls, raceType, t, h);
  }
  for (int level = 2; level < 4; ++level)
    if (int idx = join(level); idx >= 0) return idx;
  return -1;
}

// The racecourses of a date where a run may lie, in the order to try them:
// first one picked at random, mostly of the side of the country its
// trainer's stable is on.
std::vector<std::string> WorldBuilder::CoursesInTurn(const Horse& h, int date, bool jump) {
  std::vector<std::string> courses = CoursesRacing(date);
  if (jump) {
    courses.erase(std::remove_if(courses.begin(), courses.end(),
                                 [](const std::string& c) { return TracksOn(c, Surface::Jump).empty(); }),
                  courses.end());
  }
  const bool east = w_.names.trainers[static_cast<std::size_t>(h.trainer)].east;
  std::vector<std::string> home;
  for (auto& c : courses)
    if (IsEastCourse(c) == east) home.push_back(c);
  const std::string course = !home.empty() && rng_.Chance(0.75) ? rng_.Pick(home) : rng_.Pick(courses);
  std::vector<std::string> order = {course};
  for (auto& c : courses)
    if (c != course) order.push_back(c);
  return order;
}

// The JRA racecourses where earlier runs of a date can lie: the month's
// racecourses, or on a day of the season's own meetings, whose cards are
// full, the others.
std::vector<std::string> WorldBuilder::CoursesRacing(int date) const {
  std::vector<std::string> courses = ActiveCourses(date);
  if (seasonDates_.count(date) == 0 && !anyCourse_) return courses;
  std::vector<std::string> others;
  for (int code = 1; code <= 10; ++code) {
    const std::string c = ZeroPadded(code, 2);
    if (std::find(courses.begin(), courses.end(), c) == courses.end()) others.push_back(c);
  }
  return others;
}

// A race number still free at a racecourse on a date that suits the race's
// class (or a jump race); with `strict` unset any free number. 0 for none.
int WorldBuilder::FreeRaceNumber(int date, const std::string& course, bool jump, ClassKind cls, bool strict) {
  static const std::vector<int> jumpNumbers = {1, 2, 3, 4, 8};
  static const std::vector<int> prefs[6] = {{5, 6, 4},       {1, 2, 3, 4, 6, 7, 5}, {7, 8, 6, 12, 9, 5, 10},
                                            {9, 10, 12, 8, 7}, {10, 11, 9, 12, 8},  {11, 10, 9, 12}};
  const std::vector<int>& pref = jump ? jumpNumbers : prefs[static_cast<int>(cls)];
  std::vector<bool> used(13, false);
  for (int idx : racesAt_[{date, course}]) used[static_cast<std::size_t>(w_.races[static_cast<std::size_t>(idx)].number)] = true;
  for (int k : pref)
    if (!used[static_cast<std::size_t>(k)]) return k;
  for (int k = 1; k <= 12 && !strict; ++k)
    if (!used[static_cast<std::size_t>(k)]) return k;
  return 0;
}

TrackDef WorldBuilder::ChooseTrack(const Horse& h, const std::string& course, bool jump) {
  if (jump) {
    const std::vector<TrackDef> tracks = TracksOn(course, Surface::Jump);
    return rng_.Pick(tracks);
  }
  Surface s = h.surface;
  if (rng_.Chance(0.12)) s = s == Surface::Turf ? Surface::Dirt : Surface::Turf;
  auto tracks = TracksOn(course, s);
  if (tracks.empty()) tracks = TracksOn(course, s == Surface::Turf ? Surface::Dirt : Surface::Turf);
  int want = h.distance + static_cast<int>(std::lround(rng_.Normal(0, 200)));
  const TrackDef* best = &tracks.front();
  for (const TrackDef& t : tracks)
    if (std::abs(t.distance - want) < std::abs(best->distance - want)) best = &t;
  return *best;
}

// A new JRA race for a run of `maker`, the horse it is made for.
int WorldBuilder::MakeRace(int date, const std::string& course, int number, ClassKind cls, int raceType,
                           const TrackDef& track, const Horse& maker) {
  Race r = RaceOn(date, course, number);
  r.raceType = raceType;
  r.cls = cls;
  r.track = track;
  PutCourseDay(r, DayAt(date, course));
  r.startTime = StartTime(number, rng_.Int(0, 1) * 5);
  GiveConditions(r, maker);
  if (r.named) r.specialNumber = rng_.Int(1, 999);
  r.registered = std::min(r.registered, track.maxRunners);
  r.symbol = RaceSymbol(r);
  return AddPastRace(std::move(r));
}

// The conditions of a new race, by its kind: jump races; open races, now
// and then a graded one at the eleventh; special races ninth to eleventh;
// the others, now and then for fillies.
void WorldBuilder::GiveConditions(Race& r, const Horse& maker) {
  const bool young = r.raceType == 11 || r.raceType == 12;
  const int month = MonthOf(r.date);
  if (r.track.surface == Surface::Jump) {
    r.weightRule = '4';
    r.registered = rng_.Int(8, 14);
  } else if (r.cls == C::Open) {
    r.named = true;
    if (r.number == 11 && ((maker.quality < 0.25 && rng_.Chance(0.35)) || rng_.Chance(0.08))) {
      r.grade = young ? (rng_.Chance(0.3) ? 'B' : 'C') : "ABC"[rng_.Weighted({10, 30, 60})];
      static const std::vector<std::string> suffixes = {"記念", "カップ", "ステークス", "賞"};
      r.name = w_.names.SpecialRaceName(rng_, month, rng_.Pick(suffixes));
      r.edition = rng_.Int(10, 75);
      r.weightRule = r.grade == 'A' ? (young ? '3' : '4') : "214"[rng_.Weighted({50, 30, 20})];
    } else {
      r.grade = 'E';
      r.name = w_.names.SpecialRaceName(rng_, month, rng_.Chance(0.7) ? "ステークス" : "カップ");
      r.weightRule = young ? '3' : rng_.Chance(0.8) ? '2' : '1';
    }
    r.registered = rng_.Int(10, 18);
  } else if (r.number >= 9 && r.number <= 11 && r.cls != C::Newcomer && r.cls != C::Maiden) {
    r.named = true;
    r.grade = 'E';
    r.fillies = maker.sex == 2 && rng_.Chance(0.08);
    r.name = w_.names.SpecialRaceName(rng_, month, r.cls == C::Win3 ? "ステークス" : rng_.Chance(0.75) ? "特別" : "賞");
    r.weightRule = young ? '3' : (r.cls != C::Win1 && rng_.Chance(0.3)) ? '1' : '4';
    r.registered = rng_.Int(10, 18);
  } else {
    r.fillies = maker.sex == 2 && rng_.Chance(0.08);
    r.weightRule = young ? '3' : '4';
    r.registered = r.cls == C::Newcomer ? rng_.Int(8, 16) : r.cls == C::Maiden ? rng_.Int(12, 18) : rng_.Int(10, 18);
  }
}

// ---------------------------------------------------------------- local racing and abroad

// The race of a run in local racing or abroad: at Sha Tin, or at a local
// racecourse of the trainer's side of the country; demo horses at the same
// meeting share its race.
int WorldBuilder::AwayRace(const PlannedRun& p, const Horse& h) {
  std::string course;
  if (p.away == 3) {
    course = "G0";
  } else {
    const auto& locals = LocalCourses();
    bool east = w_.names.trainers[static_cast<std::size_t>(h.trainer)].east;
    course = locals[static_cast<std::size_t>(east ? rng_.Int(0, 3) : rng_.Int(4, 6))];
  }
  int raceIndex = -1;
  std::vector<bool> used(13, false);
  for (int idx : racesAt_[{p.date, course}]) {
    const Race& other = w_.races[static_cast<std::size_t>(idx)];
    used[static_cast<std::size_t>(other.number)] = true;
    if (other.filed == (p.away != 1) && static_cast<int>(other.runs.size()) < other.registered - 1) raceIndex = idx;
  }
  if (raceIndex < 0) raceIndex = MakeAwayRace(p, course, h, used);
  return raceIndex;
}

int WorldBuilder::MakeAwayRace(const PlannedRun& p, const std::string& course, const Horse& h,
                               const std::vector<bool>& used) {
  const int age = YearOf(p.date) - h.birthYear, month = MonthOf(p.date);
  TrackDef track = ChooseTrack(h, course, false);
  Race r;
  r.date = p.date;
  r.course = course;
  int y, m, d;
  CivilFromSerial(p.date, y, m, d);
  r.meeting = p.away == 3 ? 1 : m;  // local meetings of a few days each month
  r.day = p.away == 3 ? 1 : 1 + (d - 1) % 5;
  r.number = p.away == 2 ? 11 : p.away == 3 ? 8 : rng_.Int(1, 10);
  while (used[static_cast<std::size_t>(r.number)]) r.number = r.number % 12 + 1;
  r.filed = p.away != 1;
  r.dataKind = p.away == 3 ? 'B' : 'A';
  r.raceType = age >= 4 && month <= 5 ? 14 : 13;
  r.cls = p.away == 1 ? C::Win1 : C::Open;
  r.grade = p.away == 2 ? 'D' : p.away == 3 ? 'A' : ' ';
  r.symbol = "000";
  r.weightRule = p.away == 2 ? '2' : '4';
  if (p.away >= 2) {
    r.named = true;
    r.name = p.away == 3 ? NameBook::MakeRaceName("沙田国際", "カップ")
                         : w_.names.SpecialRaceName(rng_, month, "盃");
  }
  r.track = track;
  r.startTime = p.away == 3 ? 1640 : 1550 + rng_.Int(0, 4) * 35;
  r.registered = p.away == 1 ? rng_.Int(8, 12) : rng_.Int(12, std::max(12, track.maxRunners));
  PutCourseDay(r, DayAt(r.date, r.course));
  return AddPastRace(std::move(r));
}

// The common end of every earlier race: its prizes, the winner's time, the
// margins and splits its runs will take their places from, and its place
// among the races of its date and racecourse. Returns its index.
int WorldBuilder::AddPastRace(Race r) {
  const bool jump = r.track.surface == Surface::Jump;
  r.prize = Prizes(r);
  r.winnerTime = WinnerTime(rng_, r);
  r.lastThree = RaceLastThree(rng_, r);
  r.gaps = Gaps(rng_, r.registered, jump);
  if (!jump) r.laps = Laps(rng_, r);
  r.positionTaken.assign(static_cast<std::size_t>(r.registered) + 1, 0);
  r.numberTaken = r.positionTaken;
  r.popularityTaken = r.positionTaken;
  const auto key = std::make_pair(r.date, r.course);
  w_.races.push_back(std::move(r));
  const int index = static_cast<int>(w_.races.size()) - 1;
  racesAt_[key].push_back(index);
  return index;
}

// ---------------------------------------------------------------- results

// The results of the earlier races once every career is in place.
void WorldBuilder::FinishHistoricalRaces() {
  for (std::size_t ri = 0; ri < w_.races.size(); ++ri) {
    Race& r = w_.races[ri];
    if (r.current) continue;
    NameWinnerAndSecond(r);
    for (int ru : r.runs) {
      Run& run = w_.runs[static_cast<std::size_t>(ru)];
      FinishPastRun(rng_, r, w_.horses[static_cast<std::size_t>(run.horse)], run);
    }
  }
}

// The winner and the second of an earlier race: the demo's horses that
// finished there, or other horses of the runners' age.
void WorldBuilder::NameWinnerAndSecond(Race& r) {
  const int year = YearOf(r.date);
  int winnerRun = -1, secondRun = -1;
  for (int ru : r.runs) {
    int pos = w_.runs[static_cast<std::size_t>(ru)].position;
    if (pos == 1) winnerRun = ru;
    if (pos == 2) secondRun = ru;
  }
  auto name = [&](int runIndex, std::string& id, std::string& nm) {
    if (runIndex >= 0) {
      const Horse& h = w_.horses[static_cast<std::size_t>(w_.runs[static_cast<std::size_t>(runIndex)].horse)];
      id = h.id;
      nm = h.name;
    } else {
      const Phantom& p = PhantomBornIn(year - TypicalAge(r, rng_));
      id = p.id;
      nm = p.name;
    }
  };
  name(winnerRun, r.winnerId, r.winnerName);
  name(secondRun, r.secondId, r.secondName);
  if (r.secondId == r.winnerId) name(-1, r.secondId, r.secondName);
}

}  // namespace furlong::demo
