// The race (RA) and runner (SE) records of the demo world.
#include "demo/DemoRecords.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "demo/DemoRecordParts.h"
#include "demo/RecordBuffer.h"
#include "store/Record.h"
#include "store/RecordLayout.h"

namespace furlong::demo {

namespace {

std::string ConditionCode(const Race& r) {
  switch (r.cls) {
    case ClassKind::Newcomer: return "701";
    case ClassKind::Maiden: return "703";
    case ClassKind::Win1: return "005";
    case ClassKind::Win2: return "010";
    case ClassKind::Win3: return "016";
    case ClassKind::Open: return "999";
  }
  return "000";
}

// The runs of a race with a finishing position.
int Finishers(const World& w, const Race& r) {
  int n = 0;
  for (int ru : r.runs)
    if (w.runs[static_cast<std::size_t>(ru)].position > 0) ++n;
  return n;
}

// The race's name, grade, kind, symbol and weight rule, and its class
// condition by age.
void PutConditions(RecordBuffer& b, const Race& r) {
  b.PutNumber(ra::kSpecialNumber, r.specialNumber);
  if (r.named) {
    b.PutWideText(ra::kRaceName, r.name.full);
    b.PutWideText(ra::kShortName10, r.name.short10);
    b.PutWideText(ra::kShortName6, r.name.short6);
    b.PutWideText(ra::kShortName3, r.name.short3);
  }
  b.Put(ra::kRaceNameKind, r.named ? "1" : "0");
  b.PutNumber(ra::kEdition, r.edition);
  b.Put(ra::kGrade, std::string(1, r.grade));
  b.PutNumber(ra::kRaceType, r.raceType);
  b.Put(ra::kRaceSymbol, r.symbol);
  b.Put(ra::kWeightRule, std::string(1, r.weightRule));
  const std::string code = ConditionCode(r);
  std::string byAge[4] = {"000", "000", "000", "000"};  // 2, 3, 4, 5 and up
  switch (r.raceType) {
    case 11: case 21: byAge[0] = code; break;
    case 12: case 22: byAge[1] = code; break;
    case 14: case 19: case 23: byAge[2] = byAge[3] = code; break;
    default: byAge[1] = byAge[2] = byAge[3] = code; break;
  }
  const FieldSpan byAgeFields[4] = {ra::kCondition2yo, ra::kCondition3yo, ra::kCondition4yo, ra::kCondition5yoUp};
  for (int i = 0; i < 4; ++i) b.Put(byAgeFields[i], byAge[i]);
  b.Put(ra::kConditionYoungest, code);
}

// First to fifth prizes; the added prizes and the changed ones are nil.
void PutPrizes(RecordBuffer& b, const Race& r) {
  const FieldSpan prize = ra::kPrizes.Part(1, ra::kPrizeWidth);
  for (std::size_t i = 0; i < 7; ++i) b.PutNumber(prize.Nth(i, ra::kPrizeWidth), i < 5 ? r.prize[i] : 0);
  for (FieldSpan all : {ra::kPrizesBefore, ra::kAddedPrizes, ra::kAddedPrizesBefore})
    for (std::size_t i = 0; i < all.size() / ra::kPrizeWidth; ++i)
      b.PutNumber(all.Part(1, ra::kPrizeWidth).Nth(i, ra::kPrizeWidth), 0);
}

// The leader's furlong splits, the first three and four furlongs, the last
// three and four, and a jump race's time per mile.
void PutLaps(RecordBuffer& b, const Race& r) {
  for (std::size_t i = 0; i < ra::kLapTimes.size() / ra::kLapWidth; ++i) {
    int lap = r.finished && i < r.laps.size() ? r.laps[i] : 0;
    b.PutNumber(ra::kLapTimes.Part(1, ra::kLapWidth).Nth(i, ra::kLapWidth), lap);
  }
  int front3 = 0, front4 = 0, last4 = 0;
  const std::size_t laps = r.finished ? r.laps.size() : 0;
  for (std::size_t i = 0; i < laps; ++i) {
    if (i < 3) front3 += r.laps[i];
    if (i < 4) front4 += r.laps[i];
    if (i + 4 >= laps) last4 += r.laps[i];
  }
  const bool jump = r.track.surface == Surface::Jump;
  b.Put(ra::kJumpMileTime, jump && r.finished ? RaceTime(r.winnerTime * 1600 / r.track.distance) : "0000");
  b.PutNumber(ra::kFront3F, front3);
  b.PutNumber(ra::kFront4F, front4);
  b.PutNumber(ra::kLast3F, r.finished ? r.lastThree : 0);
  b.PutNumber(ra::kLast4F, last4);
}

// Running order at each corner the race passes, as horse numbers.
void PutCornerOrders(RecordBuffer& b, const World& w, const Race& r) {
  int block = 0;
  for (int c = 1; c <= 4; ++c) {
    std::vector<std::pair<int, int>> at;  // corner position, horse number
    for (int ru : r.runs) {
      const Run& x = w.runs[static_cast<std::size_t>(ru)];
      if (x.corners[static_cast<std::size_t>(c - 1)] > 0) at.emplace_back(x.corners[static_cast<std::size_t>(c - 1)], x.horseNumber);
    }
    if (at.empty()) continue;
    std::sort(at.begin(), at.end());
    std::string order;
    for (auto& [pos, num] : at) order += (order.empty() ? "" : ",") + std::to_string(num);
    const FieldSpan orderAt = ra::kCornerOrder.Nth(static_cast<std::size_t>(block++), ra::kCornerOrder.size());
    b.PutNumber(orderAt.Part(ra::kCornerOrderCorner.from, ra::kCornerOrderCorner.to), c);
    b.PutNumber(orderAt.Part(ra::kCornerOrderLap.from, ra::kCornerOrderLap.to), 1);
    b.PutText(orderAt.Part(ra::kCornerOrderText.from, ra::kCornerOrderText.to), order);
  }
}

// The runner's horse, trainer, owner, weight, blinkers and jockey.
void PutRunnerAndConnections(RecordBuffer& b, const World& w, const Race& r, const Run& run) {
  const Horse& h = w.horses[static_cast<std::size_t>(run.horse)];
  const auto& names = w.names;
  const Trainer& t = names.trainers[static_cast<std::size_t>(h.trainer)];
  const Owner& o = names.owners[static_cast<std::size_t>(h.owner)];
  const Jockey& j = names.jockeys[static_cast<std::size_t>(run.jockey)];
  b.PutNumber(se::kBracket, run.bracket);
  b.PutNumber(se::kHorseNumber, run.horseNumber);
  b.Put(se::kHorseId, h.id);
  b.PutWideText(se::kHorseName, h.name);
  b.PutNumber(se::kHorseSymbol, h.symbol);
  b.PutNumber(se::kSex, h.sex);
  b.Put(se::kBreed, "1");
  b.PutNumber(se::kCoatColour, h.coat);
  b.PutNumber(se::kAge, YearOf(r.date) - h.birthYear);
  b.Put(se::kTrainerRegion, t.east ? "1" : "2");
  b.PutNumber(se::kTrainerCode, t.code);
  b.PutWideText(se::kTrainerShort, t.shortName);
  b.PutNumber(se::kOwnerCode, o.code);
  b.PutWideText(se::kOwnerName, o.name);
  b.PutWideText(se::kOwnerColours, o.colours);
  b.PutNumber(se::kWeightCarried, run.weight);
  b.PutNumber(se::kWeightCarriedBefore, 0);
  b.Put(se::kBlinkers, run.blinkers ? "1" : "0");
  b.PutNumber(se::kJockeyCode, j.code);
  b.PutNumber(se::kJockeyCodeBefore, 0);
  b.PutWideText(se::kJockeyShort, j.shortName);
  b.PutNumber(se::kApprenticeKind, j.apprentice);
  b.Put(se::kApprenticeKindBefore, "0");
}

void PutBodyWeight(RecordBuffer& b, const Run& run) {
  b.PutNumber(se::kBodyWeight, run.bodyWeight);
  if (run.bodyChangeKind == 0) {
    b.Put(se::kBodyWeightSign, run.bodyChange > 0 ? "+" : run.bodyChange < 0 ? "-" : " ");
    b.PutNumber(se::kBodyWeightChange, run.bodyChange < 0 ? -run.bodyChange : run.bodyChange);
  } else if (run.bodyChangeKind == 2) {
    b.Put(se::kBodyWeightChange, "999");
  }
}

// The run's result, all nil for a race not yet run: position, time,
// corners, odds, prize, the horse it beat or lost to, the margin and the
// running style.
void PutRunResult(RecordBuffer& b, const World& w, const Race& r, const Run& run) {
  const Horse& h = w.horses[static_cast<std::size_t>(run.horse)];
  b.PutNumber(se::kAbnormality, run.abnormal);
  const bool result = r.finished;
  b.PutNumber(se::kArrivalOrder, result ? run.position : 0);
  b.PutNumber(se::kFinishingPosition, result ? run.position : 0);
  b.Put(se::kDeadHeatKind, run.deadHeat ? "1" : "0");
  b.Put(se::kDeadHeatCount, run.deadHeat ? "1" : "0");
  b.Put(se::kRaceTime, result && run.position > 0 ? RaceTime(run.time) : "0000");
  for (std::size_t c = 0; c < 4; ++c) b.PutNumber(se::kCorner1.Nth(c, se::kCorner1.size()), result ? run.corners[c] : 0);
  b.PutNumber(se::kWinOdds, result ? run.odds : 0);
  b.PutNumber(se::kWinPopularity, result ? run.popularity : 0);
  b.PutNumber(se::kPrizeMoney, result ? run.prize : 0);
  b.PutNumber(se::kAddedPrize, 0);
  b.PutNumber(se::kLast4F, 0);
  b.PutNumber(se::kLast3F, result && run.position > 0 ? run.lastThree : 0);
  if (result && run.position > 0) {
    const bool won = run.position == 1 && h.id == r.winnerId;
    b.Put(se::kOtherHorseId, won ? r.secondId : r.winnerId);
    b.PutWideText(se::kOtherHorseName, won ? r.secondName : r.winnerName);
  }
  if (result && run.hasTimeDiff && run.position > 0) {
    int diff = run.timeDiff < 0 ? -run.timeDiff : run.timeDiff;
    b.Put(se::kTimeDifference, std::string(run.timeDiff < 0 || (run.position == 1) ? "-" : "+") + ZeroPadded(diff, 3));
  } else {
    b.Put(se::kTimeDifference, "0000");
  }
  b.Put(se::kRecordUpdateKind, "0");
  b.Put(se::kMiningKind, "0");
  b.PutNumber(se::kRunningStyle, result && run.position > 0 ? RunningStyle(run, r) : 0);
}

}  // namespace

std::string MakeRaceRecord(const World& w, const Race& r) {
  RecordBuffer b = StartRaceRecord(kRaLength, "RA", r);
  b.PutNumber(ra::kWeekday, WeekdayCode(r.date));
  PutConditions(b, r);
  b.PutNumber(ra::kDistance, r.track.distance);
  b.PutNumber(ra::kDistanceBefore, 0);
  b.PutNumber(ra::kTrackCode, r.track.trackCode);
  b.PutNumber(ra::kTrackCodeBefore, 0);
  if (r.track.surface == Surface::Turf && IsJraCourse(r.course)) b.Put(ra::kCourseKind, "A ");
  PutPrizes(b, r);
  b.PutNumber(ra::kStartTime, r.startTime);
  b.PutNumber(ra::kStartTimeBefore, 0);
  b.PutNumber(ra::kRegisteredRunners, r.registered);
  b.PutNumber(ra::kStarters, Starters(w, r));
  b.PutNumber(ra::kFinishers, r.finished ? (r.current ? Finishers(w, r) : r.registered) : 0);
  b.PutNumber(ra::kWeather, r.weather);
  b.PutNumber(ra::kTurfGoing, r.turfGoing);
  b.PutNumber(ra::kDirtGoing, r.dirtGoing);
  PutLaps(b, r);
  if (r.current && r.finished) PutCornerOrders(b, w, r);
  b.Put(ra::kRecordUpdateKind, "0");
  return b.Take();
}

std::string MakeRunnerRecord(const World& w, const Run& run) {
  const Race& r = w.races[static_cast<std::size_t>(run.race)];
  RecordBuffer b = StartRaceRecord(kSeLength, "SE", r);
  PutRunnerAndConnections(b, w, r, run);
  PutBodyWeight(b, run);
  PutRunResult(b, w, r, run);
  return b.Take();
}

}  // namespace furlong::demo
