#pragma once
// The builder of the demo world (BuildWorld), shared by the files that hold
// its parts: DemoWorld.cpp puts the world together, the demo weekend alone
// or a season weekend by weekend; DemoWeekendCards.cpp holds the demo
// weekend's race cards; DemoProgramme.cpp the race days and the season's
// programme; DemoHorses.cpp the horses and their breeding; DemoCareers.cpp
// the careers that brought them to their races; DemoPastRaces.cpp the races
// of those careers and their results. Not for use outside the demo library.
#include <array>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "demo/DemoRaceRun.h"
#include "demo/DemoWorld.h"

namespace furlong::demo {

// The year of the demo weekend.
inline constexpr int kYear = 2024;

// One run of a career being planned, before it has a race.
struct PlannedRun {
  int date = 0;
  bool win = false;
  bool jump = false;
  int away = 0;  // 0 JRA, 1 local career (no race record), 2 local graded race, 3 overseas
};

// The class and race type (11-19) of a race.
struct RaceClass {
  ClassKind cls = ClassKind::Maiden;
  int type = 13;
};

// A horse that is not one of the demo's, named as the winner or the second
// of an earlier race in its runners' records.
struct Phantom {
  std::string id, name;
};

// The weather and the going of a racecourse on a race day.
struct CourseDay {
  int weather = 1, turf = 1, dirt = 1;
};

// A race of a race day: its date, racecourse, meeting and day numbers
// (JRA's numbering) and race number.
Race RaceOn(int date, const std::string& course, int number);
// First to fifth prize of a race, in hundreds of yen.
std::array<int, 5> Prizes(const Race& r);
// The race symbol a JRA race's grade, kind and conditions give it.
std::string RaceSymbol(const Race& r);
// The start time (hhmm) of race `number` of a race day, `later` minutes
// after its usual time.
int StartTime(int number, int later = 0);
// The weather and going of the day on a race.
void PutCourseDay(Race& r, const CourseDay& cd);

// Weeks between two runs of a horse.
int GapWeeks(Rng& rng);
// The class that `level` wins (0 to 4 and more) put a horse in.
ClassKind ClassOfLevel(int level);
// The Saturday on or before a date.
int SaturdayOnOrBefore(int serial);

// What out of the ordinary happens in race `number` of the demo weekend's
// card `card` (the index of kCards).
Happening HappeningOnCard(int card, int number);

class WorldBuilder {
 public:
  WorldBuilder(World& w, int weeks) : w_(w), rng_(w.rng), weeks_(weeks) {}
  void Build();

 private:
  World& w_;
  Rng& rng_;
  int weeks_ = 1;

  // ---- DemoWorld.cpp: the world put together.
  void BuildSeason();
  void FillSeasonRace(int raceIndex);
  bool CanRun(int horse, const Race& r) const;
  void AddCurrentRun(int horse, int raceIndex);
  void RunCurrentRace(int raceIndex, int card);
  // A season's horses: those that have run in it, their wins so far and the
  // date from which they may run again.
  std::vector<int> pool_;
  std::vector<int> wins_, ready_;

  // ---- DemoWeekendCards.cpp: the demo weekend's meetings from their cards.
  void MakeDemoMeetings();

  // ---- DemoProgramme.cpp: race days and the season's meetings.
  CourseDay& DayAt(int date, const std::string& course);
  void AddCardRace(Meeting& m, Race r, int lo, int hi);
  void MakeSeasonMeetings();
  Race SeasonRace(int date, const std::string& course, int number, bool jumpRace);
  std::map<std::pair<int, std::string>, CourseDay> courseDays_;
  // The races of each date and racecourse.
  std::map<std::pair<int, std::string>, std::vector<int>> racesAt_;
  // Race days of the season's earlier weekends: their racecourses' cards
  // are the season's own meetings.
  std::set<int> seasonDates_;
  // Happenings of the season's races, by race index.
  std::map<int, Happening> seasonHappenings_;

  // ---- DemoHorses.cpp: the horses, their ids and breeding.
  std::string NewHorseId(int birthYear);
  const Phantom& PhantomBornIn(int year);
  int NewHorse(const Race& race);
  std::map<int, int> nextSerial_;
  std::map<int, std::vector<Phantom>> phantoms_;
  int legacyCount_ = 0;

  // ---- DemoCareers.cpp: the careers that brought the horses to their races.
  std::vector<PlannedRun> PlanCareer(const Horse& h, const Race& current, int wins, int runsWanted, int jumpRuns);
  std::vector<int> CareerDates(int earliest, int last, int total, int needed);
  void PlaceWins(std::vector<PlannedRun>& plan, int flat, int wins, int earliest, int cutoff);
  void AddLocalSpell(std::vector<PlannedRun>& plan, int flat);
  void AddLocalGradedRace(std::vector<PlannedRun>& plan, int flat);
  void AddOverseasRace(std::vector<PlannedRun>& plan, int flat, const Race& current);
  RaceClass PastRunClass(const Horse& h, const PlannedRun& p, bool first, int winsBefore);
  void AddPastRuns(int horse, const std::vector<PlannedRun>& plan);
  void TakePosition(Race& r, Run& run, const Horse& h, bool win, bool nextIsWin);
  void FinishHorse(int horse);
  int RiderOfPastRun(const Horse& h, int j);
  // The careers of horses new to a season end before it.
  int careerEnd_ = std::numeric_limits<int>::max();

  // ---- DemoPastRaces.cpp: the races of those careers and their results.
  int FindOrMakeRace(int horse, const PlannedRun& p, ClassKind cls, int raceType);
  int FindOrMakeRaceOn(int horse, int date, const PlannedRun& p, ClassKind cls, int raceType, bool strict);
  std::vector<std::string> CoursesInTurn(const Horse& h, int date, bool jump);
  std::vector<std::string> CoursesRacing(int date) const;
  int FreeRaceNumber(int date, const std::string& course, bool jump, ClassKind cls, bool strict);
  TrackDef ChooseTrack(const Horse& h, const std::string& course, bool jump);
  int MakeRace(int date, const std::string& course, int number, ClassKind cls, int raceType, const TrackDef& track,
               const Horse& maker);
  void GiveConditions(Race& r, const Horse& maker);
  int AwayRace(const PlannedRun& p, const Horse& h);
  int MakeAwayRace(const PlannedRun& p, const std::string& course, const Horse& h, const std::vector<bool>& used);
  int AddPastRace(Race r);
  void FinishHistoricalRaces();
  void NameWinnerAndSecond(Race& r);
  // Set while an earlier run finds no room at the month's racecourses.
  bool anyCourse_ = false;
};

}  // namespace furlong::demo
