#pragma once
// The demo's simulated racing world: the races of the demo meetings, their
// runners, and every runner's career back to its debut, with the races of
// those earlier runs. Records are made from it in DemoRecords.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "demo/DemoCalendar.h"
#include "demo/DemoNames.h"

namespace furlong::demo {

enum class ClassKind { Newcomer, Maiden, Win1, Win2, Win3, Open };

struct Race {
  int date = 0;
  std::string course;  // racecourse code
  int meeting = 1, day = 1, number = 1;
  bool current = false;   // a race of the demo meetings
  bool finished = true;   // run, with results
  bool filed = true;      // has a race record (a local race of a local career has none)
  char dataKind = '7';    // 7 JRA results, A local, B overseas
  int raceType = 13;      // 11 2-year-olds, 12 3-year-olds, 13 3 and up, 14 4 and up, 18/19 jump
  ClassKind cls = ClassKind::Win1;
  char grade = ' ';       // A-C graded, D listed local, E special
  bool fillies = false;
  std::string symbol = "A03";
  char weightRule = '4';
  int edition = 0;
  int specialNumber = 0;
  bool named = false;
  RaceName name;
  TrackDef track{};
  int startTime = 1000;   // hhmm
  int registered = 0;
  int weather = 1, turfGoing = 1, dirtGoing = 1;
  int winnerTime = 0;     // tenths of a second
  int lastThree = 0;      // the race's last three furlongs in tenths (the last furlong for jumps)
  std::vector<int> gaps;  // tenths behind the winner, by finishing position - 1
  std::vector<int> laps;  // furlong splits in tenths (flat races)
  std::array<int, 5> prize{};  // first to fifth, in hundreds of yen
  std::vector<int> runs;  // the runs of the demo's horses in this race
  std::vector<char> positionTaken, numberTaken, popularityTaken;
  std::string winnerId, winnerName, secondId, secondName;
};

struct Run {
  int horse = -1, race = -1;
  int horseNumber = 0, bracket = 0;
  int position = 0;     // confirmed finishing position, 0 none
  int abnormal = 0;     // 0 normal, 1 scratched, 4 pulled up
  bool deadHeat = false;
  bool local = false;   // a run in local racing
  int popularity = 0;
  int odds = 0;         // win odds in tenths
  int weight = 0;       // weight carried in tenths of a kilogram
  bool blinkers = false;
  int jockey = -1;
  int bodyWeight = 0;   // kilograms; 0 not measured
  int bodyChange = 0;   // signed kilograms
  int bodyChangeKind = 0;  // 0 a value, 1 blank (first run), 2 no value ("999")
  std::array<int, 4> corners{};
  int time = 0;         // tenths
  int lastThree = 0;    // tenths
  int timeDiff = 0;     // tenths, negative for the winner (its margin)
  bool hasTimeDiff = false;
  int prize = 0;        // hundreds of yen
  double strength = 0;  // the demo meetings: the runner's chance
  double marketProb = 0, forecastProb = 0;
};

struct Horse {
  std::string id;    // HorseId, ten digits
  std::string name;  // Shift-JIS
  int sex = 1;       // 1 colt, 2 filly, 3 gelding
  int birthYear = 2020;
  int birthDate = 0;
  int registeredDate = 0;
  int coat = 3;
  int symbol = 0;
  int trainer = 0, owner = 0, breeder = 0, sire = 0;
  std::array<Ancestor, 14> pedigree;
  double quality = 0.5;  // 0 best .. 1 weakest of its class
  int style = 1;         // 0 leads, 1 stalks, 2 mid-field, 3 closes
  Surface surface = Surface::Turf;
  int distance = 1600;
  bool jumper = false;
  int bodyBase = 470;
  int mainJockey = 0;
  int blinkersFrom = -1;  // index into runs from which it wears blinkers
  bool legacyMaster = false;
  std::vector<int> runs;  // chronological; the demo meeting's run is the last
};

struct Meeting {
  int date = 0;
  std::string course;
  std::vector<int> races;  // race numbers 1-12 in order
  char oddsSource = ' ';   // predicted odds of the meeting's own file: ' ' none, 'J', 'K'
  bool inDayOddsFile = false;
};

struct World {
  explicit World(std::uint32_t seed);
  Rng rng;
  NameBook names;
  std::vector<Horse> horses;
  std::vector<Race> races;
  std::vector<Run> runs;
  std::vector<Meeting> meetings;
  int masterDate = 0;  // creation date of the horse masters
  int demoSaturday = 0;  // the Saturday of the demo weekend, the last of the season
};

// Builds the whole world for a seed: the demo weekend and, before it, the
// other weekends of a season of `weeks` race weekends (every race of those
// run). Deterministic.
World BuildWorld(std::uint32_t seed, int weeks = 1);

// A race of the weekends before the demo weekend.
bool InSeason(const World& w, const Race& r);
// Whether a horse ran in one of those races.
bool RanInSeason(const World& w, const Horse& h);

// Brackets of an n-runner field, by horse number 1..n (index 0 unused).
std::vector<int> BracketsOf(int n);

}  // namespace furlong::demo
