// The demo world put together: the demo weekend alone, or a season of
// race weekends before it, each weekend's fields and then its results.
#include "demo/DemoWorld.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "demo/DemoWorldBuilder.h"

namespace furlong::demo {

World::World(std::uint32_t seed) : rng(seed), names(rng) {}

std::vector<int> BracketsOf(int n) {
  std::vector<int> b(static_cast<std::size_t>(n) + 1, 0);
  if (n <= 8) {
    for (int i = 1; i <= n; ++i) b[static_cast<std::size_t>(i)] = i;
    return b;
  }
  // Eight brackets; the extra horses go to the highest brackets.
  int base = n / 8, extra = n % 8, horse = 1;
  for (int bracket = 1; bracket <= 8; ++bracket) {
    int count = base + (bracket > 8 - extra ? 1 : 0);
    for (int k = 0; k < count; ++k) b[static_cast<std::size_t>(horse++)] = bracket;
  }
  return b;
}

void WorldBuilder::RunCurrentRace(int raceIndex, int card) {
  Race& r = w_.races[static_cast<std::size_t>(raceIndex)];
  Happening here = Happening::None;
  if (card >= 0) {
    here = HappeningOnCard(card, r.number);
  } else if (const auto it = seasonHappenings_.find(raceIndex); it != seasonHappenings_.end()) {
    here = it->second;
  }
  RunRace(w_, r, here);
}

void WorldBuilder::AddCurrentRun(int horse, int raceIndex) {
  Run run;
  run.horse = horse;
  run.race = raceIndex;
  w_.runs.push_back(run);
  w_.horses[static_cast<std::size_t>(horse)].runs.push_back(static_cast<int>(w_.runs.size()) - 1);
  w_.races[static_cast<std::size_t>(raceIndex)].runs.push_back(static_cast<int>(w_.runs.size()) - 1);
}

void WorldBuilder::Build() {
  w_.masterDate = DaySerial(kYear, 11, 14);
  if (weeks_ > 1) {
    BuildSeason();
    return;
  }
  MakeDemoMeetings();
  for (std::size_t mi = 0; mi < w_.meetings.size(); ++mi) {
    for (int raceIndex : w_.meetings[mi].races) {
      const int n = w_.races[static_cast<std::size_t>(raceIndex)].registered;
      for (int k = 0; k < n; ++k) AddCurrentRun(NewHorse(w_.races[static_cast<std::size_t>(raceIndex)]), raceIndex);
    }
  }
  FinishHistoricalRaces();
  for (std::size_t h = 0; h < w_.horses.size(); ++h) FinishHorse(static_cast<int>(h));
  for (std::size_t mi = 0; mi < w_.meetings.size(); ++mi)
    for (int raceIndex : w_.meetings[mi].races) RunCurrentRace(raceIndex, static_cast<int>(mi));
}

// Whether a horse that has run in the season may take a place in a race:
// its age, jumping or flat, its surface and distance, and the class its
// wins so far put it in.
bool WorldBuilder::CanRun(int horse, const Race& r) const {
  const Horse& h = w_.horses[static_cast<std::size_t>(horse)];
  const int age = YearOf(r.date) - h.birthYear;
  const bool jump = r.track.surface == Surface::Jump;
  if (jump != h.jumper) return false;
  if ((r.raceType == 11 && age != 2) || (r.raceType == 12 && age != 3) || (r.raceType == 13 && age < 3) ||
      (r.raceType == 14 && age < 4))
    return false;
  if (jump) return true;
  if (r.cls == ClassKind::Newcomer || h.surface != r.track.surface || std::abs(h.distance - r.track.distance) > 600)
    return false;
  const int wins = wins_[static_cast<std::size_t>(horse)];
  ClassKind level = ClassOfLevel(std::min(wins, 4));
  if (wins == 0 && r.date > DaySerial(h.birthYear + 3, 9, 10)) level = ClassKind::Win1;  // an old maiden
  return level == r.cls;
}

// A field of the season: most runners come back from earlier weekends of
// the season when they are rested and fit the race; the rest are new to
// the season, with careers that ended before it began.
void WorldBuilder::FillSeasonRace(int raceIndex) {
  const Race& race = w_.races[static_cast<std::size_t>(raceIndex)];
  const int n = race.registered;
  std::vector<int> rested;
  for (int h : pool_)
    if (ready_[static_cast<std::size_t>(h)] <= race.date && CanRun(h, race)) rested.push_back(h);
  rng_.Shuffle(rested);
  const int back = std::min(static_cast<int>(rested.size()), static_cast<int>(std::lround(n * 0.85)));
  for (int k = 0; k < back; ++k) {
    const int h = rested[static_cast<std::size_t>(k)];
    ready_[static_cast<std::size_t>(h)] = std::numeric_limits<int>::max();
    AddCurrentRun(h, raceIndex);
  }
  for (int k = back; k < n; ++k) {
    const int h = NewHorse(w_.races[static_cast<std::size_t>(raceIndex)]);
    AddCurrentRun(h, raceIndex);
    FinishHorse(h);
    int wins = 0;
    for (int ru : w_.horses[static_cast<std::size_t>(h)].runs) wins += w_.runs[static_cast<std::size_t>(ru)].position == 1;
    wins_.resize(w_.horses.size(), 0);
    ready_.resize(w_.horses.size(), std::numeric_limits<int>::max());
    wins_[static_cast<std::size_t>(h)] = wins;
    pool_.push_back(h);
  }
}

// A season: one race weekend after the other, its fields and then its
// results, so that the next weekends can take its runners.
void WorldBuilder::BuildSeason() {
  MakeSeasonMeetings();
  const int seasonMeetings = static_cast<int>(w_.meetings.size());
  MakeDemoMeetings();
  careerEnd_ = w_.meetings.front().date - 1;
  std::size_t mi = 0;
  while (mi < w_.meetings.size()) {
    const int saturday = SaturdayOnOrBefore(w_.meetings[mi].date);
    std::size_t end = mi;
    while (end < w_.meetings.size() && SaturdayOnOrBefore(w_.meetings[end].date) == saturday) ++end;
    for (std::size_t k = mi; k < end; ++k)
      for (int raceIndex : w_.meetings[k].races) FillSeasonRace(raceIndex);
    for (std::size_t k = mi; k < end; ++k)
      for (int raceIndex : w_.meetings[k].races) {
        RunCurrentRace(raceIndex, static_cast<int>(k) - seasonMeetings);
        const Race& r = w_.races[static_cast<std::size_t>(raceIndex)];
        if (!r.finished) continue;
        for (int ru : r.runs) {
          const Run& run = w_.runs[static_cast<std::size_t>(ru)];
          wins_[static_cast<std::size_t>(run.horse)] += run.position == 1;
          ready_[static_cast<std::size_t>(run.horse)] = r.date + 7 * std::max(2, GapWeeks(rng_));
        }
      }
    mi = end;
  }
  FinishHistoricalRaces();
}

bool InSeason(const World& w, const Race& r) { return r.current && r.date < w.demoSaturday; }

bool RanInSeason(const World& w, const Horse& h) {
  for (int ru : h.runs)
    if (InSeason(w, w.races[static_cast<std::size_t>(w.runs[static_cast<std::size_t>(ru)].race)])) return true;
  return false;
}

World BuildWorld(std::uint32_t seed, int weeks) {
  World w(seed);
  w.demoSaturday = DaySerial(kYear, 11, 16);
  WorldBuilder(w, std::max(weeks, 1)).Build();
  return w;
}

}  // namespace furlong::demo
