#include "analysis/DetailedRaceCardTexts.h"

#include "analysis/PastRunIndices.h"
#include "analysis/RunnerCellTexts.h"
#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/RecordLayout.h"
#include "store/TextFormat.h"

namespace furlong {

namespace {
using L = DetailedPastRunLine;
}  // namespace

const std::array<DetailedPastRunColumn, 27> kDetailedPastRunColumns{{
    {"date", &L::date},
    {"interval", &L::interval},
    {"body_weight", &L::bodyWeight},
    {"weight_change", &L::weightChange},
    {"racecourse", &L::racecourse},
    {"class", &L::raceClass},
    {"weight_rule", &L::weightRule},
    {"race_name", &L::raceName},
    {"course_going", &L::courseGoing},
    {"distance", &L::distance},
    {"weight_carried", &L::weightCarried},
    {"blinkers", &L::blinkers},
    {"jockey", &L::jockey},
    {"runners", &L::runners},
    {"horse", &L::horse},
    {"popularity", &L::popularity},
    {"win_odds", &L::winOdds},
    {"corners", nullptr},
    {"development", &L::development},
    {"finish", &L::finish},
    {"time_difference", &L::timeDifference},
    {"front_3f", &L::front3F},
    {"last_3f", &L::last3F},
    {"ability", &L::ability},
    {"d_index", &L::dIndex},
    {"leg_power", &L::legPower},
    {"weight_value", &L::weightValue},
}};

namespace {

// Red for 8 days or less, blue for 60 or more, black in between.
CardColour IntervalColour(std::string_view days) {
  const double v = ParseStoredNumber(days);
  if (v <= 8) return CardColour::kRed;
  if (v >= 60) return CardColour::kBlue;
  return CardColour::kBlack;
}

// Colour by track: dirt maroon for a track code above 22 (dirt, jumps), turf
// green otherwise (a blank code included).
CardColour TrackColour(int trackCode) { return CountsAsDirt(trackCode) ? CardColour::kDirt : CardColour::kTurf; }

// " " + "%2d" of a two-digit field; " " and two spaces when blank or "00".
std::string SpacedNumber(std::string_view field) {
  if (IsBlank(field) || TrimSpaces(field) == "00") return "   ";
  return " " + FormatInt(ReadNumber(field), 2);
}

// Course and going of a past race: "芝右･良" and the like.
std::string CourseAndGoing(std::string_view pr) {
  const std::string& course = TrackCourseText(TrackCode(pr));
  std::string text = course.empty() ? std::string("     ") : course + SJ("･");
  text += GoingName(GoingCode(pr));
  return text;
}

// The development values of one run: " " and four "%4.1f" (four spaces for
// 0), each followed by "-" except the last and the blank ones.
std::string DevelopmentText(const std::array<double, 4>& values) {
  std::string text = " ";
  for (std::size_t i = 0; i < values.size(); ++i) {
    const bool blank = values[i] == 0;
    text += blank ? std::string("    ") : FormatFixed(values[i], 4, 1);
    text += (i == 3 || blank) ? ' ' : '-';
  }
  return text;
}

// A number field divided by 10, "%<width>.1f"; " " when blank or `none`.
std::string TenthsText(std::string_view field, int width, std::string_view none) {
  if (IsBlank(field) || TrimSpaces(field) == none) return " ";
  return FormatFixed(ReadNumber(field) / 10.0, width, 1);
}

// The texts of past run `k`; the own colours, before a local or overseas run
// greys them. The interval of a run without one keeps `above`, the colour of
// the interval on the line above.
DetailedPastRunLine PastRunLine(const DayTables& day, const RunnerAnalysis& a, std::size_t s, std::size_t r,
                                std::size_t k, CardColour above) {
  const std::string_view pr = day.PastRaceRecords[s][r][k].view();
  const std::string_view ps = day.PastRunRecords[s][r][k].view();
  const bool blank = IsBlank(ra::Year(pr));
  const CardColour byTrack = TrackColour(TrackCode(pr));
  DetailedPastRunLine l;
  l.date = {blank ? std::string(" ") : RaceDateText(pr)};
  l.interval = {a.PastInterval[k], above};
  if (IsBlank(l.interval.text)) {
    if (!blank) l.interval.text = " -- ";
  } else {
    l.interval.colour = IntervalColour(l.interval.text);
  }
  const std::string_view weight = se::BodyWeight(ps);
  l.bodyWeight = {weight == "000" ? std::string("---") : std::string(weight)};
  l.weightChange = {PrefixedCount(se::BodyWeightSign(ps), se::BodyWeightChange(ps))};
  l.racecourse = {std::string(CourseShortName(CourseCode(pr)))};
  l.raceClass = {ClassText(pr)};
  l.weightRule = {std::string(WeightRuleName(pr, " "))};
  l.raceName = {std::string(ra::ShortName3(pr))};
  l.courseGoing = {CourseAndGoing(pr)};
  l.distance = {std::string(ra::Distance(pr))};
  l.weightCarried = {TenthsText(se::WeightCarried(ps), 4, "")};
  l.blinkers = {se::Blinkers(ps) == "1" ? SJ(" ブ") : std::string("  ")};
  l.jockey = {std::string(se::JockeyShort(ps))};
  l.runners = {SpacedNumber(ra::RegisteredRunners(pr))};
  l.horse = {SpacedNumber(se::HorseNumber(ps))};
  l.popularity = {SpacedNumber(se::WinPopularity(ps)), PlacingColour(FieldNumber(ps, se::kWinPopularity))};
  l.winOdds = {TenthsText(se::WinOdds(ps), 5, "0000")};

  // Corner positions: red for the leader, blue in the front half of today's
  // field, black behind it; none drawn for a position below 1.
  const int runners = FieldNumber(day.RaceRecords[s].view(), ra::kRegisteredRunners);
  const std::string_view course = CourseCode(pr);
  const bool noCourse = IsBlank(course) || course == "00";
  for (std::size_t v = 0; v < 4; ++v) {
    const int p = static_cast<int>(ReadNumber(se::Corner(ps, v)));
    if (p < 1) continue;
    const CardColour colour =
        p == 1 ? CardColour::kRed : (runners > 0 && 2 * p <= runners ? CardColour::kBlue : CardColour::kBlack);
    l.corners[v] = {noCourse ? std::string("  ") : FormatInt(p, 2), colour};
  }

  l.development = {DevelopmentText(a.PastDevelopment[k]), byTrack};
  l.finish = {SpacedNumber(se::FinishingPosition(ps)), PlacingColour(FieldNumber(ps, se::kFinishingPosition))};
  const std::string difference = FormatRaceTime(se::TimeDifference(ps));
  l.timeDifference = {difference, !difference.empty() && difference[0] == '-' ? CardColour::kRed : CardColour::kBlack};
  l.front3F = {a.PastFront3F[k], byTrack};
  const std::string last3f = LastThreeFurlongsText(ps, pr);
  l.last3F = {" " + (last3f.empty() ? std::string(" ") : last3f), byTrack};
  l.ability = {a.PastAbility[k], byTrack};
  l.dIndex = {a.PastDIndex[k], byTrack};
  l.legPower = {TrimSpaces(a.PastLegPower[k]) == "400" ? std::string(" ") : " " + a.PastLegPower[k], byTrack};
  l.weightValue = {" " + a.PastWeightValue[k], byTrack};
  return l;
}

// The five past-run lines, 前走 first.
std::array<DetailedPastRunLine, kPastRuns> MakeDetailedPastRunLines(const DayTables& day, const RunnerAnalysis& a,
                                                                    int slot, int runner) {
  const std::size_t s = static_cast<std::size_t>(slot), r = static_cast<std::size_t>(runner);
  std::array<DetailedPastRunLine, kPastRuns> lines;
  // From the fifth-last run at the top down to the last run: an interval
  // that is missing keeps the colour of the line above.
  CardColour above = CardColour::kBlack;
  for (std::size_t k = lines.size(); k-- > 0;) {
    DetailedPastRunLine& l = lines[k];
    l = PastRunLine(day, a, s, r, k, above);
    above = l.interval.colour;
    if (!IsLocalOrOverseas(CourseCode(day.PastRaceRecords[s][r][k].view()))) continue;
    for (const DetailedPastRunColumn& column : kDetailedPastRunColumns)
      if (column.text) (l.*column.text).colour = CardColour::kGreyed;
    for (CardText& corner : l.corners) corner.colour = CardColour::kGreyed;
  }
  return lines;
}

}  // namespace

DetailedRecordTexts MakeDetailedRecordTexts(std::string_view um, const RunnerAnalysis& a) {
  struct Block {
    std::string label;  // Shift-JIS
    std::size_t from;
    CardColour colour;
  };
  static const std::array<Block, 5> kBlocks{{{SJ("全実績 "), um::kPlacingsAll.from, CardColour::kBlack},
                                             {SJ("芝・右 "), um::kPlacingsTurfRight.from, CardColour::kTurf},
                                             {SJ("芝・左 "), um::kPlacingsTurfLeft.from, CardColour::kTurf},
                                             {SJ("ダ・右 "), um::kPlacingsDirtRight.from, CardColour::kDirt},
                                             {SJ("ダ・左 "), um::kPlacingsDirtLeft.from, CardColour::kDirt}}};
  DetailedRecordTexts t;
  for (std::size_t i = 0; i < kBlocks.size(); ++i) {
    const Block& b = kBlocks[i];
    const PlacingCounts n = ReadPlacingCounts(um, b.from);
    t.placings[i] = {b.label + CountsText(n), b.colour};
    const int starts = n[0] + n[1] + n[2] + n[3] + n[4] + n[5];
    const std::string rate =
        starts == 0 ? std::string(" ")
                    : b.label + FormatFixed(static_cast<double>(n[0] + n[1] + n[2]) / starts * 100, 5, 1) + "%";
    t.placeRates[i] = {rate, b.colour};
  }
  // 距離別実績: the turf and dirt counts of each distance band, added count by count.
  struct Band {
    std::string label;  // Shift-JIS
    std::size_t turf, dirt;
  };
  static const std::array<Band, 3> kBands{{{SJ("    ～1600 "), um::kPlacingsTurfShort.from, um::kPlacingsDirtShort.from},
                                           {SJ("1601～2200 "), um::kPlacingsTurfMiddle.from, um::kPlacingsDirtMiddle.from},
                                           {SJ("2201～     "), um::kPlacingsTurfLong.from, um::kPlacingsDirtLong.from}}};
  for (std::size_t i = 0; i < kBands.size(); ++i) {
    const PlacingCounts turf = ReadPlacingCounts(um, kBands[i].turf);
    const PlacingCounts dirt = ReadPlacingCounts(um, kBands[i].dirt);
    PlacingCounts sum{};
    for (std::size_t j = 0; j < sum.size(); ++j) sum[j] = turf[j] + dirt[j];
    t.distancePlacings[i] = {kBands[i].label + CountsText(sum)};
  }
  t.distancePlacings[3] = {a.AvgDistanceText5};
  t.distancePlacings[4] = {a.AvgDistanceText2};
  return t;
}

DetailedRaceCardRow MakeDetailedRaceCardRow(const DayTables& day, const RunnerAnalysis& a, int slot, int runner) {
  const std::size_t s = static_cast<std::size_t>(slot), r = static_cast<std::size_t>(runner);
  const std::string_view se = day.RunnerRecords[s][r].view();
  const std::string_view um = day.HorseRecords[s][r].view();
  DetailedRaceCardRow row;
  static_cast<RaceCardRunner&>(row) = MakeRaceCardRunner(se, um);
  row.interval = {a.DaysSinceLastRun,
                  IsBlank(a.DaysSinceLastRun) ? CardColour::kBlack : IntervalColour(a.DaysSinceLastRun)};
  row.winRate = MakeWinRateTexts(um);
  row.jockey = se::JockeyShort(se);
  row.trainer = se::TrainerShort(se);
  row.owner = DisplayName(um::OwnerName(um));
  row.past = MakeDetailedPastRunLines(day, a, slot, runner);
  row.records = MakeDetailedRecordTexts(um, a);
  return row;
}

}  // namespace furlong
