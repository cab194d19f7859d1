// The demo's horses: their ids, their age and sex for the race that calls
// for them, their connections, breeding and aptitudes, the shape of the
// career that brought them there, and the other horses (phantoms) named as
// winners and seconds in the races they ran.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "demo/DemoRiders.h"
#include "demo/DemoWorldBuilder.h"
#include "demo/RecordBuffer.h"

namespace furlong::demo {

namespace {

using C = ClassKind;

// Horses whose only horse master is in the legacy layout.
constexpr int kMaxLegacyMasters = 8;

// The age of a horse new to a race: two for a two-year-olds' race, three for
// a three-year-olds', older ones more often in the higher classes.
int AgeFor(Rng& rng, const Race& race) {
  const bool jump = race.track.surface == Surface::Jump;
  int age = 2;
  if (race.raceType != 11) {
    std::vector<double> w;
    if (jump) w = {10, 35, 30, 18, 7, 0};
    else if (race.cls == C::Win1) w = {40, 35, 15, 7, 3, 0};
    else if (race.cls == C::Win2) w = {25, 40, 22, 10, 3, 0};
    else if (race.cls == C::Win3) w = {15, 40, 28, 12, 5, 0};
    else w = {18, 30, 25, 15, 8, 4};
    age = 3 + static_cast<int>(rng.Weighted(w));
  }
  if (race.raceType == 12) age = 3;
  if (race.raceType == 14) age = std::max(age, 4);
  return age;
}

// 1 colt, 2 filly, 3 gelding: geldings are many over jumps and among the
// older horses.
int SexFor(Rng& rng, const Race& race, int age) {
  if (race.fillies) return 2;
  if (age == 2) return rng.Chance(0.58) ? 1 : 2;
  const bool jump = race.track.surface == Surface::Jump;
  return 1 + static_cast<int>(rng.Weighted(jump ? std::vector<double>{50, 15, 35}
                                                : std::vector<double>{55, 30, age >= 4 ? 15.0 : 3.0}));
}

// Trainer (mostly of the side of the country the racecourse lies in),
// owner and breeder.
void GiveConnections(Rng& rng, const NameBook& ns, Horse& h, const Race& race) {
  const int poolIndex = RiderPoolIndex(race.course, race.date);
  bool east = poolIndex == 0 || (poolIndex == 2 && rng.Chance(0.6));
  if (rng.Chance(0.2)) east = !east;
  do {
    h.trainer = rng.Int(0, static_cast<int>(ns.trainers.size()) - 1);
  } while (ns.trainers[static_cast<std::size_t>(h.trainer)].east != east);
  h.owner = rng.Int(0, static_cast<int>(ns.owners.size()) - 1);
  h.breeder = rng.Int(0, static_cast<int>(ns.breeders.size()) - 1);
}

// Sire (the first of the book the most popular) and the three generations
// of the pedigree, with new mares on the dam's side.
void Breed(Rng& rng, NameBook& ns, Horse& h) {
  std::vector<double> sirePopularity;
  for (std::size_t i = 0; i < ns.sires.size(); ++i) sirePopularity.push_back(static_cast<double>(ns.sires.size() - i));
  h.sire = static_cast<int>(rng.Weighted(sirePopularity));
  const Stallion& s = ns.sires[static_cast<std::size_t>(h.sire)];
  const Stallion& ds = rng.Pick(ns.damSires);
  const Stallion& dds = rng.Pick(ns.damSires);
  h.pedigree = {s.self, ns.NewMare(rng), s.sire, s.dam, ds.self, ns.NewMare(rng), s.sireSire,
                s.sireDam, s.damSire, s.damDam, ds.sire, ds.dam, dds.sire, ns.NewMare(rng)};
}

// Quality, running style, the surface and distance it suits (near the
// race's for a flat horse) and its body weight.
void GiveAptitudes(Rng& rng, Horse& h, const Race& race) {
  h.quality = rng.Uniform();
  h.style = static_cast<int>(rng.Weighted({12, 36, 34, 18}));
  if (race.track.surface == Surface::Jump) {
    h.jumper = true;
    h.surface = rng.Chance(0.6) ? Surface::Turf : Surface::Dirt;
    h.distance = rng.Int(18, 26) * 100;
  } else {
    h.surface = race.track.surface;
    if (rng.Chance(0.15)) h.surface = h.surface == Surface::Turf ? Surface::Dirt : Surface::Turf;
    h.distance = std::clamp(race.track.distance + static_cast<int>(std::lround(rng.Normal(0, 2.5))) * 100, 1000, 3000);
  }
  int body = static_cast<int>(std::lround(h.sex == 2 ? rng.Normal(230, 10) : rng.Normal(242, 11))) * 2;
  h.bodyBase = std::clamp(body, 400, 560);
}

// The wins and runs a horse of `age` has behind it when it comes to a race:
// what the race's class asks for, a longer record for an older horse.
struct CareerShape {
  int wins = 0, runsWanted = 0, jumpRuns = 0;
};

CareerShape CareerShapeFor(Rng& rng, const Race& race, int age) {
  const bool jump = race.track.surface == Surface::Jump;
  CareerShape c;
  if (race.raceType == 11 || (!jump && (race.cls == C::Newcomer || race.cls == C::Maiden))) {
    switch (race.cls) {
      case C::Newcomer: break;
      case C::Maiden: c.runsWanted = static_cast<int>(rng.Weighted({5, 28, 25, 20, 14, 8})); break;
      case C::Win1:
        c.wins = 1;
        c.runsWanted = rng.Int(1, 4);
        break;
      default:
        c.wins = rng.Chance(0.35) ? 2 : 1;
        c.runsWanted = c.wins + rng.Int(0, 2);
        break;
    }
    return c;
  }
  if (jump) {
    c.wins = rng.Chance(0.35) ? 1 : 0;
    c.jumpRuns = static_cast<int>(rng.Weighted({25, 30, 25, 20}));
  } else if (race.cls == C::Open) {
    c.wins = 4 + static_cast<int>(rng.Weighted({35, 30, 20, 10, 5}));
  } else {
    c.wins = race.cls == C::Win1 ? 1 : race.cls == C::Win2 ? 2 : 3;
  }
  static const int lo[6] = {2, 4, 7, 10, 13, 13}, hi[6] = {10, 16, 22, 27, 30, 30};
  int a = std::min(age - 3, 5);
  const int atLeast = std::max(c.wins + (rng.Chance(0.9) ? 2 : 0), lo[a]);
  c.runsWanted = rng.Int(atLeast, std::max(atLeast, hi[a]));
  c.runsWanted = std::min(c.runsWanted, 30 - c.jumpRuns);
  return c;
}

}  // namespace

std::string WorldBuilder::NewHorseId(int birthYear) {
  auto it = nextSerial_.find(birthYear);
  if (it == nextSerial_.end()) it = nextSerial_.emplace(birthYear, 100 + rng_.Int(0, 60)).first;
  it->second += rng_.Int(1, 3);
  // A season needs more than ten thousand horses of a year: the next block
  // of numbers follows.
  return ZeroPadded(birthYear, 4) + ZeroPadded(10 + it->second / 10000, 2) + ZeroPadded(it->second % 10000, 4);
}

// One of the other horses of a year: a new one while the year has few, else
// now and then, else one met before.
const Phantom& WorldBuilder::PhantomBornIn(int year) {
  auto& bucket = phantoms_[year];
  if (bucket.size() < 40 || rng_.Chance(0.25)) {
    Phantom p;
    p.id = NewHorseId(year);
    p.name = w_.names.NewHorseName(rng_, rng_.Chance(0.4));
    bucket.push_back(std::move(p));
    return bucket.back();
  }
  return rng_.Pick(bucket);
}

// A new horse for a race, with the career before it; returns its index.
int WorldBuilder::NewHorse(const Race& race) {
  Horse h;
  const int age = AgeFor(rng_, race);
  h.birthYear = YearOf(race.date) - age;
  h.sex = SexFor(rng_, race, age);
  h.id = NewHorseId(h.birthYear);
  h.name = w_.names.NewHorseName(rng_, h.sex == 2);
  h.birthDate = DaySerial(h.birthYear, rng_.Int(2, 5), rng_.Int(1, 28));
  h.coat = 1 + static_cast<int>(rng_.Weighted({20, 3, 40, 20, 8, 1.5, 7, 0, 0, 0, 0.5}));
  h.symbol = rng_.Chance(0.06) ? 4 : rng_.Chance(0.03) ? 6 : 0;
  GiveConnections(rng_, w_.names, h, race);
  Breed(rng_, w_.names, h);
  GiveAptitudes(rng_, h, race);
  const std::vector<int> pool = JockeyPool(w_.names, race.course, race.date);
  h.mainJockey = rng_.Pick(pool);
  if (age >= 5 && legacyCount_ < kMaxLegacyMasters && rng_.Chance(0.12)) {
    h.legacyMaster = true;
    ++legacyCount_;
  }
  const CareerShape career = CareerShapeFor(rng_, race, age);
  // Stronger horses in the open races carry the better records.
  if (race.cls == C::Open && race.raceType != 11) h.quality = h.quality * 0.8;

  w_.horses.push_back(h);
  const int index = static_cast<int>(w_.horses.size()) - 1;
  std::vector<PlannedRun> plan = PlanCareer(w_.horses.back(), race, career.wins, career.runsWanted, career.jumpRuns);
  for (auto& p : plan)
    if (p.away == 1) w_.horses.back().symbol = 5;  // came back from local racing
  AddPastRuns(index, plan);
  return index;
}

}  // namespace furlong::demo
