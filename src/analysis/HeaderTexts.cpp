#include "analysis/HeaderTexts.h"

#include <algorithm>

#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"

namespace furlong {
namespace {

// The combined condition text of the race type and the four age columns.
std::string CombinedCondition(std::string_view ra) {
  const int type = FieldNumber(ra, ra::kRaceType);
  const int c2 = FieldNumber(ra, ra::kCondition2yo);
  const int c3 = FieldNumber(ra, ra::kCondition3yo);
  const int c4 = FieldNumber(ra, ra::kCondition4yo);
  const int c5 = FieldNumber(ra, ra::kCondition5yoUp);
  const std::string& gap = SJ("  ");
  switch (type) {
    case 11:
    case 21:
      return ConditionText(c2, 2);
    case 12:
    case 22:
      return ConditionText(c3, 3);
    case 13:
    case 18:
    case 23:
      if (c3 >= 1 && c3 <= 100) return ConditionText(c3, 3) + gap + ConditionText(c4, 4) + gap + ConditionText(c5, 5);
      return ConditionText(c3, 3);
    case 14:
    case 19:
    case 24:
      if (c4 >= 1 && c4 <= 100) return ConditionText(c4, 4) + gap + ConditionText(c5, 5);
      return ConditionText(c4, 4);
    default:
      return {};
  }
}

}  // namespace

RaceHeader MakeRaceHeader(std::string_view ra) {
  RaceHeader header{{}, kTurfGreen};

  // Label1: date, weekday, racecourse, meeting, day, race and start time.
  std::string& l1 = header.labels[0];
  std::string_view monthDay = ra::MonthDay(ra);
  std::string_view start = ra::StartTime(ra);
  l1 += ra::Year(ra);
  l1 += SJ("年");
  l1 += monthDay.substr(0, 2);
  l1 += SJ("月");
  l1 += monthDay.substr(std::min<std::size_t>(2, monthDay.size()));
  l1 += SJ("日(");
  l1 += WeekdayText(FieldNumber(ra, ra::kWeekday));
  l1 += ")";
  l1 += CourseShortName(ra::Course(ra));
  l1 += ra::MeetingNumber(ra);
  l1 += SJ("回");
  l1 += ra::DayNumber(ra);
  l1 += SJ("日");
  l1 += ra::RaceNumber(ra);
  l1 += "R   ";
  l1 += start.substr(0, 2);
  l1 += ".";
  l1 += start.substr(std::min<std::size_t>(2, start.size()));
  l1 += SJ("発走  ");

  // Label2: edition of a graded race and the race name as stored.
  std::string& l2 = header.labels[1];
  const int edition = FieldNumber(ra, ra::kEdition);
  if (edition >= 1) {
    l2 += SJ("第");
    l2 += std::to_string(edition);
    l2 += SJ("回 ");
  }
  l2 += ra::RaceName(ra);

  // Label3: runners as the record holds them, distance, track, grade, type, symbol.
  std::string& l3 = header.labels[2];
  l3 += FormatInt(FieldNumber(ra, ra::kRegisteredRunners), 2);
  l3 += SJ("頭  ");
  l3 += FormatInt(FieldNumber(ra, ra::kDistance), 4);
  l3 += SJ("ﾒｰﾄﾙ ");
  const int track = FieldNumber(ra, ra::kTrackCode);
  l3 += TrackText(track);
  l3 += " ";
  l3 += GradeText(ra::Grade(ra));
  l3 += " ";
  l3 += RaceTypeText(FieldNumber(ra, ra::kRaceType));
  l3 += " ";
  l3 += RaceSymbolText(ra::RaceSymbol(ra));

  // Label4: weight rule and conditions.
  std::string& l4 = header.labels[3];
  l4 += WeightRuleText(ra::WeightRule(ra));
  l4 += " ";
  l4 += CombinedCondition(ra);

  header.panelColour = IsTurnedDirt(track) ? kDirtMaroon : kTurfGreen;
  return header;
}

RaceHeader MakeRaceHeader(const DayTables& day, int slot) {
  if (slot < 0 || slot >= kRaceSlots) return RaceHeader{{}, kTurfGreen};
  return MakeRaceHeader(day.RaceRecords[static_cast<std::size_t>(slot)].view());
}

}  // namespace furlong
