#include "analysis/RaceCardTexts.h"

#include <cstdlib>
#include <initializer_list>

#include "analysis/PastRunIndices.h"
#include "analysis/RunnerCellTexts.h"
#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/RecordLayout.h"
#include "store/TextFormat.h"

namespace furlong {

Rgb CardColourRgb(CardColour colour) {
  switch (colour) {
    case CardColour::kBlack: break;
    case CardColour::kGreyed: return kGreyed;
    case CardColour::kRed: return kRed;
    case CardColour::kBlue: return kBlue;
    case CardColour::kNavy: return kNavy;
    case CardColour::kMaroon: return kMaroon;
    case CardColour::kTurf: return kTurfGreen;
    case CardColour::kDirt: return kDirtMaroon;
    case CardColour::kSilver: return kSilver;
  }
  return kBlack;
}

const char* CardColourName(CardColour colour) {
  static const char* const names[] = {"black", "greyed", "red", "blue", "navy", "maroon", "turf", "dirt", "silver"};
  return names[static_cast<int>(colour)];
}

namespace {

long long PrizeTotal(std::string_view um, std::initializer_list<FieldSpan> fields) {
  long long sum = 0;
  for (FieldSpan f : fields) sum += ReadNumber(Field(um, f));
  return sum;
}

// Course text of a track code, "" for a blank code.
std::string CourseText(std::string_view track) {
  if (IsBlank(track)) return {};
  const std::string& text = TrackCourseText(static_cast<int>(ReadNumber(track)));
  return text.empty() ? std::string("   ") : text;
}

CardColour CourseColour(int t) {
  if (IsTurnedTurf(t)) return CardColour::kTurf;
  if (IsTurnedDirt(t)) return CardColour::kDirt;
  return CardColour::kBlack;
}

}  // namespace

CardColour PlacingColour(int position) {
  if (position == 1) return CardColour::kRed;
  if (position == 2 || position == 3) return CardColour::kBlue;
  return CardColour::kBlack;
}

HorseNameTexts MakeHorseNameTexts(std::string_view se, std::string_view um) {
  HorseNameTexts t;
  t.finish = FieldNumber(se, se::kFinishingPosition);
  t.sire = SJ("[父]") + DisplayName(um::SireName(um));
  t.sexAgeCoat = std::string(SexName(se::Sex(se)));
  t.sexAgeCoat += ZeroSuppress(se::Age(se));
  t.sexAgeCoat += ' ';
  t.sexAgeCoat += CoatName(FieldNumber(se, se::kCoatColour));
  t.symbol = HorseMarkName(se::HorseSymbol(se));
  if (IsBlank(t.symbol)) t.symbol = "    ";
  t.name = DisplayName(se::HorseName(se));
  t.dam = SJ("[母]") + DisplayName(um::DamName(um));
  const long long main = PrizeTotal(um, {um::kMainPrizeFlat, um::kMainPrizeJump});
  const long long total = PrizeTotal(um, {um::kMainPrizeFlat, um::kMainPrizeJump, um::kAddedPrizeFlat,
                                          um::kAddedPrizeJump, um::kEarnedPrizeFlat, um::kEarnedPrizeJump});
  t.mainPrize = SJ("本賞金:") + FormatInt(main, 7) + SJ("千円");
  t.totalPrize = SJ("総賞金:") + FormatInt(total, 7) + SJ("千円");
  return t;
}

WinRateTexts MakeWinRateTexts(std::string_view um) {
  WinRateTexts t;
  const PlacingCounts n = ReadPlacingCounts(um, um::kPlacingsAll.from);
  const int s = n[0] + n[1] + n[2] + n[3] + n[4] + n[5];
  if (s == 0) return t;
  t.win = SJ("勝率　：") + FormatFixed(static_cast<double>(n[0]) / s * 100, 5, 1) + SJ("％");
  t.top2 = SJ("連対率：") + FormatFixed(static_cast<double>(n[0] + n[1]) / s * 100, 5, 1) + SJ("％");
  t.top3 = SJ("複勝率：") + FormatFixed(static_cast<double>(n[0] + n[1] + n[2]) / s * 100, 5, 1) + SJ("％");
  return t;
}

RaceCardPastRun MakeRaceCardPastRun(const DayTables& day, const RunnerAnalysis& a, int slot, int runner, int k,
                                    SurfaceFilter surface, DistanceFilter filter) {
  const std::size_t s = static_cast<std::size_t>(slot), r = static_cast<std::size_t>(runner),
                    kk = static_cast<std::size_t>(k);
  const std::string_view pr = day.PastRaceRecords[s][r][kk].view();
  const std::string_view ps = day.PastRunRecords[s][r][kk].view();
  RaceCardPastRun run;
  if (IsBlank(ra::Year(pr))) return run;
  run.present = true;

  // Greying: local and overseas runs always; runs outside the surface or
  // distance the filter buttons ask for.
  bool active = true;
  CardColour base = CardColour::kBlack;
  if (IsLocalOrOverseas(CourseCode(pr))) {
    active = false;
    base = CardColour::kGreyed;
  }
  const std::string_view track = ra::TrackCode(pr);
  const int t = static_cast<int>(ReadNumber(track));
  if (surface != SurfaceFilter::kAll) {
    const bool outside = surface == SurfaceFilter::kTurf ? !IsTurnedTurf(t) : !IsTurnedDirt(t);
    if (IsBlank(track)) {
      base = CardColour::kBlack;
    } else if (outside) {
      active = false;
      base = CardColour::kGreyed;
    }
  }
  const int distance = FieldNumber(day.RaceRecords[s].view(), ra::kDistance);
  const int pastDistance = FieldNumber(pr, ra::kDistance);
  if ((filter == DistanceFilter::kSame && pastDistance != distance) ||
      (filter == DistanceFilter::kWithin400 && std::abs(pastDistance - distance) > 400)) {
    active = false;
    base = CardColour::kGreyed;
  }
  auto own = [active](CardColour colour) { return active ? colour : CardColour::kGreyed; };

  run.dateName = {RaceDateText(pr) + " " + std::string(ra::ShortName3(pr)), base};
  run.raceClass = {ClassText(pr), base};
  run.weightRule = {std::string(WeightRuleName(pr, "  ")), base};
  run.jockey = {std::string(se::JockeyShort(ps)), base};

  run.racecourse = {std::string(TrimSpaces(CourseShortName(CourseCode(pr)))), base};
  run.going = {std::string(GoingName(GoingCode(pr))), base};
  run.course = {CourseText(track), own(CourseColour(t))};
  run.distance = {std::string(ra::Distance(pr)), own(CardColour::kBlue)};
  const std::string_view carried = se::WeightCarried(ps);
  std::string carriedText;
  if (!IsBlank(carried)) carriedText = std::string(carried.substr(0, 2)) + "." + std::string(carried.substr(2, 1));
  run.weightCarried = {carriedText, own(CardColour::kBlack)};

  const int n = FieldNumber(pr, ra::kRegisteredRunners);
  run.runners = {n >= 1 ? FormatInt(n, 2) + SJ("ﾄ") : std::string(" "), own(CardColour::kBlack)};
  const std::string_view popularity = se::WinPopularity(ps);
  const bool noPopularity = IsBlank(popularity) || TrimSpaces(popularity) == "00";
  run.popularity = {noPopularity ? std::string(" ") : FormatInt(ReadNumber(popularity), 2) + SJ("人"),
                    own(CardColour::kBlack)};
  const std::string_view course = CourseCode(pr);
  const bool noCourse = IsBlank(course) || course == "00";
  for (std::size_t corner = 0; corner < 4; ++corner) {
    const int p = static_cast<int>(ReadNumber(se::Corner(ps, corner)));
    CardColour colour = CardColour::kBlack;
    if (p == 1)
      colour = CardColour::kRed;
    else if (n > 0)
      colour = 2 * p > n ? CardColour::kBlack : CardColour::kBlue;
    run.corners[corner] = {noCourse ? std::string(" ") : std::string(CircledNumber(p)), own(colour)};
  }
  const std::string_view finish = se::FinishingPosition(ps);
  const bool noFinish = IsBlank(finish) || TrimSpaces(finish) == "00";
  const int position = static_cast<int>(ReadNumber(finish));
  run.finish = {noFinish ? std::string("  ") : FormatInt(position, 2), own(PlacingColour(position))};

  run.front3F = {a.PastFront3F[kk], own(CardColour::kBlack)};
  const std::string last3f = LastThreeFurlongsText(ps, pr);
  run.last3F = {last3f.empty() ? std::string(" ") : last3f, own(CardColour::kNavy)};
  run.ability = {a.PastAbility[kk], own(CardColour::kMaroon)};
  const std::string difference = FormatRaceTime(se::TimeDifference(ps));
  run.timeDifference = {difference,
                        own(!difference.empty() && difference[0] == '-' ? CardColour::kRed : CardColour::kBlue)};
  run.otherHorse = {DisplayName(se::OtherHorseName(ps)), own(CardColour::kBlack)};
  return run;
}

RaceCardRunner MakeRaceCardRunner(std::string_view se, std::string_view um) {
  RaceCardRunner t;
  t.frameNumber = FieldNumber(se, se::kBracket);
  t.frame = FormatInt(t.frameNumber, 2);
  t.horse = FormatInt(FieldNumber(se, se::kHorseNumber), 2);
  t.name = MakeHorseNameTexts(se, um);
  t.weightCarried = FormatFixed(FieldNumber(se, se::kWeightCarried) / 10.0, 4, 1);
  return t;
}

RaceCardRow MakeRaceCardRow(const DayTables& day, const RunnerAnalysis& a, int slot, int runner,
                            SurfaceFilter surface, DistanceFilter distance) {
  const std::size_t s = static_cast<std::size_t>(slot), r = static_cast<std::size_t>(runner);
  const std::string_view ra = day.RaceRecords[s].view();
  const std::string_view se = day.RunnerRecords[s][r].view();
  const std::string_view um = day.HorseRecords[s][r].view();
  RaceCardRow row;
  static_cast<RaceCardRunner&>(row) = MakeRaceCardRunner(se, um);
  const std::string_view odds = day.PredictedOddsRecords[s].view();
  const std::string_view win = PredictedWinOdds(odds, runner + 1);
  const std::string_view place = PredictedPlaceOdds(odds, runner + 1);
  row.winOdds = HasOdds(win) ? std::string(win.substr(1)) : std::string(" ");
  row.placeOdds = HasOdds(place) ? std::string(place.substr(1)) : std::string(" ");
  row.mark = a.Mark;
  row.weightChange = a.WeightCarriedChange;

  const bool dirtOnly = surface == SurfaceFilter::kDirt;
  const bool turfOnly = surface == SurfaceFilter::kTurf;
  const CardColour turfColour = dirtOnly ? CardColour::kSilver : CardColour::kTurf;
  const CardColour dirtColour = turfOnly ? CardColour::kSilver : CardColour::kDirt;
  row.turfWeight = {a.TurfWeightValue, turfColour};
  row.dirtWeight = {a.DirtWeightValue, dirtColour};
  row.style = a.StyleValue;
  row.styleLetter = StyleLetter(a.StyleValue);
  row.styleRecent = a.StyleValueRecent;
  row.styleRecentLetter = StyleLetter(a.StyleValueRecent);
  row.distanceBand = static_cast<int>(DistanceBandOf(FieldNumber(ra, ra::kDistance)));
  row.turf = {CardText{a.TurfShort, turfColour}, CardText{a.TurfMiddle, turfColour}, CardText{a.TurfLong, turfColour}};
  row.dirt = {CardText{a.DirtShort, dirtColour}, CardText{a.DirtMiddle, dirtColour}, CardText{a.DirtLong, dirtColour}};
  row.winRate = MakeWinRateTexts(um);
  row.jockey = se::JockeyShort(se);
  for (int k = 0; k < kPastRuns; ++k)
    row.past[static_cast<std::size_t>(k)] = MakeRaceCardPastRun(day, a, slot, runner, k, surface, distance);
  return row;
}

}  // namespace furlong
