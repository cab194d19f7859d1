#include "store/DayTables.h"

namespace furlong {

void DayTables::BlankAll() {
  for (auto& r : RaceRecords) r.Blank();
  for (auto& race : RunnerRecords)
    for (auto& r : race) r.Blank();
  for (auto& race : HorseRecords)
    for (auto& r : race) r.Blank();
  for (auto& race : PastRunRecords)
    for (auto& runner : race)
      for (auto& r : runner) r.Blank();
  for (auto& race : PastRaceRecords)
    for (auto& runner : race)
      for (auto& r : runner) r.Blank();
  for (auto& r : PayoutRecords) r.Blank();
  for (auto& r : PredictedOddsRecords) r.Blank();
  for (auto& p : Payouts) p = RacePayouts{};
  for (auto& race : Results)
    for (auto& r : race) r = ResultTexts{};
  hasRace.fill(false);
  meeting.clear();
}

}  // namespace furlong
