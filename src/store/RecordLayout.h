#pragma once
// The record layouts, by name: the one place besides Record.h that knows a
// column. Every field is a span of 1-based byte columns; readers call the
// accessors (`se::HorseNumber(se)`, `ra::Distance(ra)`, `hr::Wide(hr, e)`),
// writers put bytes at `span.from`.
#include <array>
#include <cstddef>
#include <string_view>

#include "store/Record.h"

namespace furlong {

struct FieldSpan {
  std::size_t from = 0;  // first column, 1-based
  std::size_t to = 0;    // last column, inclusive
  constexpr std::size_t size() const { return to - from + 1; }
  // The span `n` entries of `stride` bytes further on.
  constexpr FieldSpan Nth(std::size_t n, std::size_t stride) const {
    return {from + n * stride, to + n * stride};
  }
  // Bytes `first`..`last` (1-based) within this field.
  constexpr FieldSpan Part(std::size_t first, std::size_t last) const {
    return {from + first - 1, from + last - 1};
  }
};

constexpr std::string_view Field(std::string_view rec, FieldSpan f) { return Field(rec, f.from, f.to); }
constexpr int FieldNumber(std::string_view rec, FieldSpan f) { return FieldNumber(rec, f.from, f.to); }

// A field of a record, named for the layout check.
struct NamedField {
  std::string_view name;
  FieldSpan span;
};

#define FURLONG_FIELD(Name, From, To)                                              \
  inline constexpr FieldSpan k##Name{From, To};                                    \
  constexpr std::string_view Name(std::string_view rec) { return Field(rec, k##Name); }

// The head that RA, SE and HR records share.
namespace head {
FURLONG_FIELD(Type, 1, 2)
FURLONG_FIELD(DataKind, 3, 3)
FURLONG_FIELD(CreationDate, 4, 11)
FURLONG_FIELD(Key, 12, 27)       // RaceKey
FURLONG_FIELD(Date, 12, 19)      // yyyymmdd
FURLONG_FIELD(DateCourse, 12, 21)  // date and racecourse: names a meeting's files
FURLONG_FIELD(Year, 12, 15)
FURLONG_FIELD(YearShort, 14, 15)  // the last two digits of the year
FURLONG_FIELD(MonthDay, 16, 19)
FURLONG_FIELD(Month, 16, 17)
FURLONG_FIELD(Day, 18, 19)
FURLONG_FIELD(Course, 20, 21)
FURLONG_FIELD(MeetingNumber, 22, 23)
FURLONG_FIELD(MeetingDayRace, 22, 27)  // meeting number, day number, race number
FURLONG_FIELD(DayNumber, 24, 25)
FURLONG_FIELD(RaceNumber, 26, 27)
inline constexpr std::array kFields{
    NamedField{"Type", kType},
    NamedField{"DataKind", kDataKind},
    NamedField{"CreationDate", kCreationDate},
    NamedField{"Key", kKey},
};
}  // namespace head

// RA: one race.
namespace ra {
using namespace head;
FURLONG_FIELD(Weekday, 28, 28)
FURLONG_FIELD(SpecialNumber, 29, 32)
FURLONG_FIELD(RaceName, 33, 92)
FURLONG_FIELD(ShortName10, 573, 592)
FURLONG_FIELD(ShortName6, 593, 604)
FURLONG_FIELD(ShortName3, 605, 610)
FURLONG_FIELD(RaceNameKind, 611, 611)
FURLONG_FIELD(Edition, 612, 614)
FURLONG_FIELD(Grade, 615, 615)
FURLONG_FIELD(RaceType, 617, 618)
FURLONG_FIELD(RaceSymbol, 619, 621)
FURLONG_FIELD(WeightRule, 622, 622)
FURLONG_FIELD(Condition2yo, 623, 625)
FURLONG_FIELD(Condition3yo, 626, 628)
FURLONG_FIELD(Condition4yo, 629, 631)
FURLONG_FIELD(Condition5yoUp, 632, 634)
FURLONG_FIELD(ConditionYoungest, 635, 637)
FURLONG_FIELD(Distance, 698, 701)
FURLONG_FIELD(DistanceBefore, 702, 705)  // before a change
FURLONG_FIELD(TrackCode, 706, 707)
FURLONG_FIELD(TrackKind, 706, 706)  // the first digit of the track code
FURLONG_FIELD(TrackCodeBefore, 708, 709)
FURLONG_FIELD(CourseKind, 710, 711)
inline constexpr std::size_t kPrizeWidth = 8;  // 100 yen
inline constexpr FieldSpan kPrizes{714, 769};              // 7 × 8, first place first
inline constexpr FieldSpan kPrizesBefore{770, 809};        // 5 × 8
inline constexpr FieldSpan kAddedPrizes{810, 849};         // 5 × 8
inline constexpr FieldSpan kAddedPrizesBefore{850, 873};   // 3 × 8
FURLONG_FIELD(StartTime, 874, 877)
FURLONG_FIELD(StartHour, 874, 875)
FURLONG_FIELD(StartMinute, 876, 877)
FURLONG_FIELD(StartTimeBefore, 878, 881)
FURLONG_FIELD(RegisteredRunners, 882, 883)
FURLONG_FIELD(Starters, 884, 885)
FURLONG_FIELD(Finishers, 886, 887)
FURLONG_FIELD(Weather, 888, 888)
FURLONG_FIELD(TurfGoing, 889, 889)
FURLONG_FIELD(DirtGoing, 890, 890)
inline constexpr std::size_t kLapWidth = 3;  // 0.1 s
inline constexpr FieldSpan kLapTimes{891, 965};  // 25 × 3, the first furlong first
FURLONG_FIELD(JumpMileTime, 966, 969)  // a race time text
FURLONG_FIELD(Front3F, 970, 972)
FURLONG_FIELD(Front4F, 973, 975)
FURLONG_FIELD(Last3F, 976, 978)
FURLONG_FIELD(Last4F, 979, 981)
// Running order at the corners: four blocks of 72 bytes, block b at
// kCornerOrder.Nth(b, 72); within a block the corner, the lap and the order text.
inline constexpr FieldSpan kCornerOrders{982, 1269};
inline constexpr FieldSpan kCornerOrder{982, 1053};
inline constexpr FieldSpan kCornerOrderCorner{1, 1};
inline constexpr FieldSpan kCornerOrderLap{2, 2};
inline constexpr FieldSpan kCornerOrderText{3, 72};
FURLONG_FIELD(RecordUpdateKind, 1270, 1270)
inline constexpr std::array kFields{
    NamedField{"Weekday", kWeekday},
    NamedField{"SpecialNumber", kSpecialNumber},
    NamedField{"RaceName", kRaceName},
    NamedField{"ShortName10", kShortName10},
    NamedField{"ShortName6", kShortName6},
    NamedField{"ShortName3", kShortName3},
    NamedField{"RaceNameKind", kRaceNameKind},
    NamedField{"Edition", kEdition},
    NamedField{"Grade", kGrade},
    NamedField{"RaceType", kRaceType},
    NamedField{"RaceSymbol", kRaceSymbol},
    NamedField{"WeightRule", kWeightRule},
    NamedField{"Condition2yo", kCondition2yo},
    NamedField{"Condition3yo", kCondition3yo},
    NamedField{"Condition4yo", kCondition4yo},
    NamedField{"Condition5yoUp", kCondition5yoUp},
    NamedField{"ConditionYoungest", kConditionYoungest},
    NamedField{"Distance", kDistance},
    NamedField{"DistanceBefore", kDistanceBefore},
    NamedField{"TrackCode", kTrackCode},
    NamedField{"TrackCodeBefore", kTrackCodeBefore},
    NamedField{"CourseKind", kCourseKind},
    NamedField{"Prizes", kPrizes},
    NamedField{"PrizesBefore", kPrizesBefore},
    NamedField{"AddedPrizes", kAddedPrizes},
    NamedField{"AddedPrizesBefore", kAddedPrizesBefore},
    NamedField{"StartTime", kStartTime},
    NamedField{"StartTimeBefore", kStartTimeBefore},
    NamedField{"RegisteredRunners", kRegisteredRunners},
    NamedField{"Starters", kStarters},
    NamedField{"Finishers", kFinishers},
    NamedField{"Weather", kWeather},
    NamedField{"TurfGoing", kTurfGoing},
    NamedField{"DirtGoing", kDirtGoing},
    NamedField{"LapTimes", kLapTimes},
    NamedField{"JumpMileTime", kJumpMileTime},
    NamedField{"Front3F", kFront3F},
    NamedField{"Front4F", kFront4F},
    NamedField{"Last3F", kLast3F},
    NamedField{"Last4F", kLast4F},
    NamedField{"CornerOrders", kCornerOrders},
    NamedField{"RecordUpdateKind", kRecordUpdateKind},
};
}  // namespace ra

// SE: one runner in one race.
namespace se {
using namespace head;
FURLONG_FIELD(Bracket, 28, 28)
FURLONG_FIELD(HorseNumber, 29, 30)
FURLONG_FIELD(HorseId, 31, 40)
FURLONG_FIELD(HorseName, 41, 76)
FURLONG_FIELD(HorseNameShort, 41, 58)  // the first nine full-width characters
FURLONG_FIELD(HorseSymbol, 77, 78)
FURLONG_FIELD(Sex, 79, 79)
FURLONG_FIELD(Breed, 80, 80)
FURLONG_FIELD(CoatColour, 81, 82)
FURLONG_FIELD(Age, 83, 84)
FURLONG_FIELD(TrainerRegion, 85, 85)  // 1 east, 2 west
FURLONG_FIELD(TrainerCode, 86, 90)
FURLONG_FIELD(TrainerShort, 91, 98)
FURLONG_FIELD(OwnerCode, 99, 104)
FURLONG_FIELD(OwnerName, 105, 168)
FURLONG_FIELD(OwnerColours, 169, 228)
FURLONG_FIELD(WeightCarried, 289, 291)  // 0.1 kg
FURLONG_FIELD(WeightCarriedBefore, 292, 294)
FURLONG_FIELD(Blinkers, 295, 295)
FURLONG_FIELD(JockeyCode, 297, 301)
FURLONG_FIELD(JockeyCodeBefore, 302, 306)
FURLONG_FIELD(JockeyShort, 307, 314)
FURLONG_FIELD(ApprenticeKind, 323, 323)
FURLONG_FIELD(ApprenticeKindBefore, 324, 324)
FURLONG_FIELD(BodyWeight, 325, 327)
FURLONG_FIELD(BodyWeightSign, 328, 328)
FURLONG_FIELD(BodyWeightChange, 329, 331)
FURLONG_FIELD(Abnormality, 332, 332)
FURLONG_FIELD(ArrivalOrder, 333, 334)
FURLONG_FIELD(FinishingPosition, 335, 336)
FURLONG_FIELD(DeadHeatKind, 337, 337)
FURLONG_FIELD(DeadHeatCount, 338, 338)
FURLONG_FIELD(RaceTime, 339, 342)  // minutes 1, seconds 2, tenths 1
FURLONG_FIELD(RaceTimeMinutes, 339, 339)
FURLONG_FIELD(RaceTimeSeconds, 340, 342)  // seconds and tenths, in 0.1 s
inline constexpr FieldSpan kCorners{352, 359};
inline constexpr FieldSpan kCorner1{352, 353};  // corner m (0-3) is kCorner1.Nth(m, 2)
constexpr std::string_view Corner(std::string_view rec, std::size_t m) { return Field(rec, kCorner1.Nth(m, 2)); }
FURLONG_FIELD(WinOdds, 360, 363)  // 0.1
FURLONG_FIELD(WinPopularity, 364, 365)
FURLONG_FIELD(PrizeMoney, 366, 373)
FURLONG_FIELD(AddedPrize, 374, 381)
FURLONG_FIELD(Last4F, 388, 390)  // 0.1 s
FURLONG_FIELD(Last3F, 391, 393)  // 0.1 s
FURLONG_FIELD(OtherHorseId, 394, 403)  // the winner, or for the winner the second
FURLONG_FIELD(OtherHorseName, 404, 439)
FURLONG_FIELD(TimeDifference, 532, 535)
FURLONG_FIELD(RecordUpdateKind, 536, 536)
FURLONG_FIELD(MiningKind, 537, 537)
FURLONG_FIELD(RunningStyle, 553, 553)  // 1 led, 2 stalked, 3 mid-field, 4 closed
inline constexpr std::array kFields{
    NamedField{"Bracket", kBracket},
    NamedField{"HorseNumber", kHorseNumber},
    NamedField{"HorseId", kHorseId},
    NamedField{"HorseName", kHorseName},
    NamedField{"HorseSymbol", kHorseSymbol},
    NamedField{"Sex", kSex},
    NamedField{"Breed", kBreed},
    NamedField{"CoatColour", kCoatColour},
    NamedField{"Age", kAge},
    NamedField{"TrainerRegion", kTrainerRegion},
    NamedField{"TrainerCode", kTrainerCode},
    NamedField{"TrainerShort", kTrainerShort},
    NamedField{"OwnerCode", kOwnerCode},
    NamedField{"OwnerName", kOwnerName},
    NamedField{"OwnerColours", kOwnerColours},
    NamedField{"WeightCarried", kWeightCarried},
    NamedField{"WeightCarriedBefore", kWeightCarriedBefore},
    NamedField{"Blinkers", kBlinkers},
    NamedField{"JockeyCode", kJockeyCode},
    NamedField{"JockeyCodeBefore", kJockeyCodeBefore},
    NamedField{"JockeyShort", kJockeyShort},
    NamedField{"ApprenticeKind", kApprenticeKind},
    NamedField{"ApprenticeKindBefore", kApprenticeKindBefore},
    NamedField{"BodyWeight", kBodyWeight},
    NamedField{"BodyWeightSign", kBodyWeightSign},
    NamedField{"BodyWeightChange", kBodyWeightChange},
    NamedField{"Abnormality", kAbnormality},
    NamedField{"ArrivalOrder", kArrivalOrder},
    NamedField{"FinishingPosition", kFinishingPosition},
    NamedField{"DeadHeatKind", kDeadHeatKind},
    NamedField{"DeadHeatCount", kDeadHeatCount},
    NamedField{"RaceTime", kRaceTime},
    NamedField{"Corners", kCorners},
    NamedField{"WinOdds", kWinOdds},
    NamedField{"WinPopularity", kWinPopularity},
    NamedField{"PrizeMoney", kPrizeMoney},
    NamedField{"AddedPrize", kAddedPrize},
    NamedField{"Last4F", kLast4F},
    NamedField{"Last3F", kLast3F},
    NamedField{"OtherHorseId", kOtherHorseId},
    NamedField{"OtherHorseName", kOtherHorseName},
    NamedField{"TimeDifference", kTimeDifference},
    NamedField{"RecordUpdateKind", kRecordUpdateKind},
    NamedField{"MiningKind", kMiningKind},
    NamedField{"RunningStyle", kRunningStyle},
};
}  // namespace se

// HR: the payouts of one race. Entries follow each other without gaps.
namespace hr {
using namespace head;
FURLONG_FIELD(RegisteredRunners, 28, 29)
FURLONG_FIELD(Starters, 30, 31)
FURLONG_FIELD(NotSoldFlags, 32, 40)        // one flag a bet kind
FURLONG_FIELD(SpecialPayoutFlags, 41, 49)
FURLONG_FIELD(RefundFlags, 50, 58)
FURLONG_FIELD(RefundedHorses, 59, 86)      // one flag a horse number
FURLONG_FIELD(RefundedBrackets, 87, 94)    // one flag a bracket
FURLONG_FIELD(RefundedSameBrackets, 95, 102)
struct Table {
  FieldSpan first;        // entry 0
  std::size_t entries;
  FieldSpan pair;         // horse number / pair within an entry
  FieldSpan amount;       // yen
  FieldSpan popularity;
  constexpr FieldSpan Entry(std::size_t e) const { return first.Nth(e, first.size()); }
  constexpr FieldSpan All() const { return {first.from, first.from + entries * first.size() - 1}; }
};
inline constexpr Table kWin{{103, 115}, 3, {1, 2}, {3, 11}, {12, 13}};
inline constexpr Table kPlace{{142, 154}, 5, {1, 2}, {3, 11}, {12, 13}};
inline constexpr Table kBracketQuinella{{207, 219}, 3, {1, 2}, {3, 11}, {12, 13}};
inline constexpr Table kQuinella{{246, 261}, 3, {1, 4}, {5, 13}, {14, 16}};
inline constexpr Table kWide{{294, 309}, 7, {1, 4}, {5, 13}, {14, 16}};
inline constexpr Table kExacta{{454, 469}, 6, {1, 4}, {5, 13}, {14, 16}};
inline constexpr Table kTrio{{550, 567}, 3, {1, 6}, {7, 15}, {16, 18}};
inline constexpr Table kTrifecta{{604, 622}, 6, {1, 6}, {7, 15}, {16, 19}};

// One payout entry: its horse number (or pair), amount and popularity texts.
struct Entry {
  std::string_view pair, amount, popularity;
};
constexpr Entry EntryOf(std::string_view rec, const Table& t, std::size_t e) {
  const FieldSpan s = t.Entry(e);
  return {Field(rec, s.Part(t.pair.from, t.pair.to)), Field(rec, s.Part(t.amount.from, t.amount.to)),
          Field(rec, s.Part(t.popularity.from, t.popularity.to))};
}
constexpr Entry Win(std::string_view rec, std::size_t e) { return EntryOf(rec, kWin, e); }
constexpr Entry Place(std::string_view rec, std::size_t e) { return EntryOf(rec, kPlace, e); }
constexpr Entry BracketQuinella(std::string_view rec, std::size_t e) { return EntryOf(rec, kBracketQuinella, e); }
constexpr Entry Quinella(std::string_view rec, std::size_t e) { return EntryOf(rec, kQuinella, e); }
constexpr Entry Wide(std::string_view rec, std::size_t e) { return EntryOf(rec, kWide, e); }
inline constexpr std::array kFields{
    NamedField{"RegisteredRunners", kRegisteredRunners},
    NamedField{"Starters", kStarters},
    NamedField{"NotSoldFlags", kNotSoldFlags},
    NamedField{"SpecialPayoutFlags", kSpecialPayoutFlags},
    NamedField{"RefundFlags", kRefundFlags},
    NamedField{"RefundedHorses", kRefundedHorses},
    NamedField{"RefundedBrackets", kRefundedBrackets},
    NamedField{"RefundedSameBrackets", kRefundedSameBrackets},
    NamedField{"Win", kWin.All()},
    NamedField{"Place", kPlace.All()},
    NamedField{"BracketQuinella", kBracketQuinella.All()},
    NamedField{"Quinella", kQuinella.All()},
    NamedField{"Wide", kWide.All()},
    NamedField{"Exacta", kExacta.All()},
    NamedField{"Trio", kTrio.All()},
    NamedField{"Trifecta", kTrifecta.All()},
};
}  // namespace hr

// UM: one horse (horse master).
namespace um {
FURLONG_FIELD(Type, 1, 2)
FURLONG_FIELD(DataKind, 3, 3)
FURLONG_FIELD(CreationDate, 4, 11)
FURLONG_FIELD(HorseId, 12, 21)
FURLONG_FIELD(Deregistered, 22, 22)
FURLONG_FIELD(RegisteredDate, 23, 30)
FURLONG_FIELD(DeregisteredDate, 31, 38)
FURLONG_FIELD(BirthDate, 39, 46)
FURLONG_FIELD(HorseName, 47, 82)
FURLONG_FIELD(AtJraStables, 179, 179)
FURLONG_FIELD(HorseSymbol, 199, 200)
FURLONG_FIELD(Sex, 201, 201)
FURLONG_FIELD(Breed, 202, 202)
FURLONG_FIELD(CoatColour, 203, 204)
inline constexpr FieldSpan kHead{1, 204};  // up to the pedigree
inline constexpr FieldSpan kPedigree{205, 848};
inline constexpr std::size_t kAncestors = 14;
inline constexpr FieldSpan kAncestor{205, 250};  // ancestor i is kAncestor.Nth(i, 46)
inline constexpr FieldSpan kAncestorId{1, 10};   // within an ancestor
inline constexpr FieldSpan kAncestorName{11, 46};
FURLONG_FIELD(SireName, 215, 250)
FURLONG_FIELD(DamName, 261, 296)
inline constexpr FieldSpan kAfterPedigree{849, 882};
FURLONG_FIELD(TrainerRegion, 849, 849)
FURLONG_FIELD(TrainerCode, 850, 854)
FURLONG_FIELD(TrainerShort, 855, 862)
FURLONG_FIELD(BreederCode, 883, 890)
FURLONG_FIELD(BreederName, 891, 962)
inline constexpr FieldSpan kAfterBreeder{963, 1607};  // to the end of the record
FURLONG_FIELD(BreedingArea, 963, 982)
FURLONG_FIELD(OwnerCode, 983, 988)
FURLONG_FIELD(OwnerName, 989, 1052)
inline constexpr FieldSpan kPrizeMoney{1053, 1106};  // six 9-digit totals
inline constexpr FieldSpan kMainPrizeFlat{1053, 1061};
inline constexpr FieldSpan kMainPrizeJump{1062, 1070};
inline constexpr FieldSpan kAddedPrizeFlat{1071, 1079};
inline constexpr FieldSpan kAddedPrizeJump{1080, 1088};
inline constexpr FieldSpan kEarnedPrizeFlat{1089, 1097};
inline constexpr FieldSpan kEarnedPrizeJump{1098, 1106};
// Placings: six 3-digit counts (1st, 2nd, 3rd, 4th, 5th, unplaced).
inline constexpr FieldSpan kPlacingsAll{1107, 1124};
inline constexpr FieldSpan kPlacingsJra{1125, 1142};
inline constexpr FieldSpan kPlacingsTurfStraight{1143, 1160};
inline constexpr FieldSpan kPlacingsTurfRight{1161, 1178};
inline constexpr FieldSpan kPlacingsTurfLeft{1179, 1196};
inline constexpr FieldSpan kPlacingsDirtStraight{1197, 1214};
inline constexpr FieldSpan kPlacingsDirtRight{1215, 1232};
inline constexpr FieldSpan kPlacingsDirtLeft{1233, 1250};
inline constexpr FieldSpan kPlacingsJump{1251, 1268};
// By surface (turf, dirt, jump) and going (1-4): surface s, going g at
// kPlacingsByGoing.Part(1, 18).Nth(4 * s + g, 18).
inline constexpr FieldSpan kPlacingsByGoing{1269, 1484};
inline constexpr FieldSpan kPlacingsTurfShort{1485, 1502};
inline constexpr FieldSpan kPlacingsTurfMiddle{1503, 1520};
inline constexpr FieldSpan kPlacingsTurfLong{1521, 1538};
inline constexpr FieldSpan kPlacingsDirtShort{1539, 1556};
inline constexpr FieldSpan kPlacingsDirtMiddle{1557, 1574};
inline constexpr FieldSpan kPlacingsDirtLong{1575, 1592};
inline constexpr std::size_t kPlacingCount = 3;  // digits of one count
inline constexpr std::size_t kPlacingsWidth = 6 * kPlacingCount;
inline constexpr FieldSpan kRunningStyles{1593, 1604};  // 4 × 3: led, stalked, mid-field, closed
FURLONG_FIELD(RegisteredRuns, 1605, 1607)
inline constexpr std::array kFields{
    NamedField{"DataKind", kDataKind},
    NamedField{"CreationDate", kCreationDate},
    NamedField{"HorseId", kHorseId},
    NamedField{"Deregistered", kDeregistered},
    NamedField{"RegisteredDate", kRegisteredDate},
    NamedField{"DeregisteredDate", kDeregisteredDate},
    NamedField{"BirthDate", kBirthDate},
    NamedField{"HorseName", kHorseName},
    NamedField{"AtJraStables", kAtJraStables},
    NamedField{"HorseSymbol", kHorseSymbol},
    NamedField{"Sex", kSex},
    NamedField{"Breed", kBreed},
    NamedField{"CoatColour", kCoatColour},
    NamedField{"Pedigree", kPedigree},
    NamedField{"TrainerRegion", kTrainerRegion},
    NamedField{"TrainerCode", kTrainerCode},
    NamedField{"TrainerShort", kTrainerShort},
    NamedField{"BreederCode", kBreederCode},
    NamedField{"BreederName", kBreederName},
    NamedField{"BreedingArea", kBreedingArea},
    NamedField{"OwnerCode", kOwnerCode},
    NamedField{"OwnerName", kOwnerName},
    NamedField{"PrizeMoney", kPrizeMoney},
    NamedField{"PlacingsAll", kPlacingsAll},
    NamedField{"PlacingsJra", kPlacingsJra},
    NamedField{"PlacingsTurfStraight", kPlacingsTurfStraight},
    NamedField{"PlacingsTurfRight", kPlacingsTurfRight},
    NamedField{"PlacingsTurfLeft", kPlacingsTurfLeft},
    NamedField{"PlacingsDirtStraight", kPlacingsDirtStraight},
    NamedField{"PlacingsDirtRight", kPlacingsDirtRight},
    NamedField{"PlacingsDirtLeft", kPlacingsDirtLeft},
    NamedField{"PlacingsJump", kPlacingsJump},
    NamedField{"PlacingsByGoing", kPlacingsByGoing},
    NamedField{"PlacingsTurfShort", kPlacingsTurfShort},
    NamedField{"PlacingsTurfMiddle", kPlacingsTurfMiddle},
    NamedField{"PlacingsTurfLong", kPlacingsTurfLong},
    NamedField{"PlacingsDirtShort", kPlacingsDirtShort},
    NamedField{"PlacingsDirtMiddle", kPlacingsDirtMiddle},
    NamedField{"PlacingsDirtLong", kPlacingsDirtLong},
    NamedField{"RunningStyles", kRunningStyles},
    NamedField{"RegisteredRuns", kRegisteredRuns},
};
}  // namespace um

// The predicted odds record of a .yoz file (one race; 1459 bytes and CR LF).
namespace odds {
FURLONG_FIELD(Key, 1, 16)  // the racecourse code is the source's own
FURLONG_FIELD(Date, 1, 8)
FURLONG_FIELD(Course, 9, 10)
FURLONG_FIELD(MeetingNumber, 11, 12)
FURLONG_FIELD(DayNumber, 13, 14)
FURLONG_FIELD(RaceNumber, 15, 16)
FURLONG_FIELD(Source, 17, 17)  // "J" JRDB, "K" KOL
FURLONG_FIELD(Runners, 18, 19)
inline constexpr std::size_t kOddsWidth = 6;
inline constexpr std::size_t kPairOddsWidth = 8;
inline constexpr FieldSpan kWin{20, 127};       // 18 × 6, horse 1 first
inline constexpr FieldSpan kPlace{128, 235};    // 18 × 6
inline constexpr FieldSpan kQuinella{236, 1459};  // 153 × 8, in pair order
// Horse h (1-18) or pair q (1-153).
constexpr FieldSpan WinSpan(std::size_t h) { return FieldSpan{kWin.from, kWin.from + kOddsWidth - 1}.Nth(h - 1, kOddsWidth); }
constexpr FieldSpan PlaceSpan(std::size_t h) {
  return FieldSpan{kPlace.from, kPlace.from + kOddsWidth - 1}.Nth(h - 1, kOddsWidth);
}
constexpr FieldSpan QuinellaSpan(std::size_t q) {
  return FieldSpan{kQuinella.from, kQuinella.from + kPairOddsWidth - 1}.Nth(q - 1, kPairOddsWidth);
}
constexpr std::string_view Win(std::string_view rec, std::size_t h) { return Field(rec, WinSpan(h)); }
constexpr std::string_view Place(std::string_view rec, std::size_t h) { return Field(rec, PlaceSpan(h)); }
constexpr std::string_view Quinella(std::string_view rec, std::size_t q) { return Field(rec, QuinellaSpan(q)); }
inline constexpr std::array kFields{
    NamedField{"Key", kKey},         NamedField{"Source", kSource}, NamedField{"Runners", kRunners},
    NamedField{"Win", kWin},         NamedField{"Place", kPlace},   NamedField{"Quinella", kQuinella},
};
}  // namespace odds

// The legacy horse master (UMA; 1575 bytes and CR LF): narrower pedigree
// and breeder fields, the rest as in UM. Each field converts into the UM
// span of the same name, right-aligned.
namespace uma {
inline constexpr FieldSpan kHead{1, 204};
inline constexpr std::size_t kAncestors = 14;
inline constexpr FieldSpan kAncestor{205, 248};  // ancestor i is kAncestor.Nth(i, 44)
inline constexpr FieldSpan kAncestorId{1, 8};    // within an ancestor: breeding registration number
inline constexpr FieldSpan kAncestorName{9, 44};
inline constexpr FieldSpan kPedigree{205, 820};
inline constexpr FieldSpan kAfterPedigree{821, 854};
FURLONG_FIELD(BreederCode, 855, 860)
FURLONG_FIELD(BreederName, 861, 930)
inline constexpr FieldSpan kAfterBreeder{931, 1575};
inline constexpr std::array kFields{
    NamedField{"Head", kHead},
    NamedField{"Pedigree", kPedigree},
    NamedField{"AfterPedigree", kAfterPedigree},
    NamedField{"BreederCode", kBreederCode},
    NamedField{"BreederName", kBreederName},
    NamedField{"AfterBreeder", kAfterBreeder},
};
}  // namespace uma

// A race time text (se::RaceTime, 4 bytes): minutes, seconds, tenths.
namespace race_time {
inline constexpr FieldSpan kMinutes{1, 1};
inline constexpr FieldSpan kSeconds{2, 3};
inline constexpr FieldSpan kTenths{4, 4};
inline constexpr FieldSpan kSecondsAndTenths{2, 4};
}  // namespace race_time

// The source lines of the predicted odds archives. Odds are tenths.
// JRDB: a line of at least 955 bytes per race.
namespace jrdb {
inline constexpr std::size_t kLineLength = 955;
// The date (yymmdd) in the archive's name, "OZyymmdd.lzh": its JRDB member
// is "Ozyymmdd.txt", and its lines carry no date of their own.
inline constexpr FieldSpan kArchiveNameDate{3, 8};
FURLONG_FIELD(Course, 1, 2)  // the racecourse codes of the race records
FURLONG_FIELD(YearShort, 3, 4)
FURLONG_FIELD(MeetingNumber, 5, 5)  // one character: 1-9, then a, b, c
FURLONG_FIELD(DayNumber, 6, 6)      // likewise
FURLONG_FIELD(RaceNumber, 7, 8)
FURLONG_FIELD(Runners, 9, 10)
inline constexpr std::size_t kOddsWidth = 5;
inline constexpr FieldSpan kWin{11, 100};        // 18 × 5, horse 1 first
inline constexpr FieldSpan kPlace{101, 190};     // 18 × 5
inline constexpr FieldSpan kQuinella{191, 955};  // 153 × 5, in pair order
constexpr FieldSpan WinSpan(std::size_t h) { return kWin.Part(1, kOddsWidth).Nth(h - 1, kOddsWidth); }
constexpr FieldSpan PlaceSpan(std::size_t h) { return kPlace.Part(1, kOddsWidth).Nth(h - 1, kOddsWidth); }
constexpr FieldSpan QuinellaSpan(std::size_t q) { return kQuinella.Part(1, kOddsWidth).Nth(q - 1, kOddsWidth); }
inline constexpr std::array kFields{
    NamedField{"Course", kCourse},       NamedField{"YearShort", kYearShort},
    NamedField{"MeetingNumber", kMeetingNumber}, NamedField{"DayNumber", kDayNumber},
    NamedField{"RaceNumber", kRaceNumber}, NamedField{"Runners", kRunners},
    NamedField{"Win", kWin},             NamedField{"Place", kPlace},
    NamedField{"Quinella", kQuinella},
};
}  // namespace jrdb

// KOL: a line of at least 1502 bytes per race.
namespace kol {
inline constexpr std::size_t kLineLength = 1502;
FURLONG_FIELD(Course, 1, 2)  // KOL's own racecourse codes
FURLONG_FIELD(MeetingDayRace, 7, 12)  // meeting number, day number, race number
FURLONG_FIELD(RaceNumber, 11, 12)
FURLONG_FIELD(Date, 13, 20)  // yyyymmdd
FURLONG_FIELD(Year, 13, 16)
FURLONG_FIELD(Month, 17, 18)
FURLONG_FIELD(Day, 19, 20)
FURLONG_FIELD(Runners, 110, 111)
inline constexpr std::size_t kOddsWidth = 5;
inline constexpr std::size_t kQuinellaWidth = 7;
inline constexpr FieldSpan kWin{162, 251};              // 18 × 5, horse 1 first
inline constexpr FieldSpan kBracketQuinella{252, 431};  // 36 × 5, in bracket pair order
inline constexpr FieldSpan kQuinella{432, 1502};        // 153 × 7, in pair order
constexpr FieldSpan WinSpan(std::size_t h) { return kWin.Part(1, kOddsWidth).Nth(h - 1, kOddsWidth); }
constexpr FieldSpan BracketQuinellaSpan(std::size_t p) {
  return kBracketQuinella.Part(1, kOddsWidth).Nth(p - 1, kOddsWidth);
}
constexpr FieldSpan QuinellaSpan(std::size_t q) {
  return kQuinella.Part(1, kQuinellaWidth).Nth(q - 1, kQuinellaWidth);
}
inline constexpr std::array kFields{
    NamedField{"Course", kCourse}, NamedField{"MeetingDayRace", kMeetingDayRace},
    NamedField{"Date", kDate},     NamedField{"Runners", kRunners},
    NamedField{"Win", kWin},       NamedField{"BracketQuinella", kBracketQuinella},
    NamedField{"Quinella", kQuinella},
};
}  // namespace kol

#undef FURLONG_FIELD

}  // namespace furlong
