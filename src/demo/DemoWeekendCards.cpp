// The demo weekend's race cards: the six meetings of Saturday 16 and
// Sunday 17 November 2024 as written by hand, race by race, with what
// happens out of the ordinary in four of their races.
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>

#include "demo/DemoWorldBuilder.h"

namespace furlong::demo {

namespace {

struct CardRace {
  int type;
  ClassKind cls;
  char grade;
  Surface surface;
  int distance;
  const char* stem;    // special races: name stem (UTF-8), else nullptr
  const char* suffix;
  char weightRule;
  bool fillies;
  int lo, hi;          // field size
  int start;           // hhmm
  int edition;
};

struct CardDay {
  int month, day;
  const char* course;
  int weather, turfGoing, dirtGoing;
  int finishedUpTo;  // races 1..finishedUpTo have been run
  char oddsSource;   // the meeting's own predicted odds file
  bool inDayOddsFile;
  CardRace races[12];
};

using C = ClassKind;
using S = Surface;

// The demo weekend: Saturday 16 and Sunday 17 November 2024, at Tokyo (05),
// Kyoto (08) and Fukushima (03). Sunday is half run: races 1-8 have results.
const CardDay kCards[] = {
    {11, 16, "05", 1, 1, 1, 12, ' ', true,
     {{11, C::Maiden, ' ', S::Dirt, 1400, nullptr, nullptr, '3', false, 12, 16, 1005, 0},
      {11, C::Maiden, ' ', S::Turf, 1600, nullptr, nullptr, '3', false, 14, 18, 1035, 0},
      {11, C::Maiden, ' ', S::Dirt, 1600, nullptr, nullptr, '3', false, 12, 16, 1105, 0},
      {11, C::Maiden, ' ', S::Turf, 1800, nullptr, nullptr, '3', false, 10, 16, 1135, 0},
      {11, C::Newcomer, ' ', S::Turf, 1600, nullptr, nullptr, '3', false, 10, 16, 1225, 0},
      {11, C::Newcomer, ' ', S::Dirt, 1400, nullptr, nullptr, '3', false, 10, 16, 1255, 0},
      {13, C::Win1, ' ', S::Dirt, 1600, nullptr, nullptr, '4', false, 14, 16, 1325, 0},
      {13, C::Win1, ' ', S::Turf, 2000, nullptr, nullptr, '4', false, 12, 18, 1355, 0},
      {13, C::Win2, 'E', S::Turf, 1400, "初霜", "特別", '4', false, 10, 16, 1425, 0},
      {13, C::Win3, 'E', S::Dirt, 1600, "錦秋", "ステークス", '1', false, 12, 16, 1501, 0},
      {11, C::Open, 'B', S::Turf, 1800, "東都２歳", "ステークス", '3', false, 9, 12, 1545, 29},
      {13, C::Win1, ' ', S::Dirt, 1400, nullptr, nullptr, '4', false, 14, 16, 1620, 0}}},
    {11, 16, "08", 2, 1, 2, 12, ' ', true,
     {{11, C::Maiden, ' ', S::Dirt, 1200, nullptr, nullptr, '3', false, 12, 16, 950, 0},
      {11, C::Maiden, ' ', S::Turf, 1400, nullptr, nullptr, '3', false, 12, 18, 1020, 0},
      {11, C::Maiden, ' ', S::Dirt, 1800, nullptr, nullptr, '3', false, 10, 16, 1050, 0},
      {11, C::Maiden, ' ', S::Turf, 2000, nullptr, nullptr, '3', false, 10, 14, 1120, 0},
      {11, C::Newcomer, ' ', S::Turf, 1600, nullptr, nullptr, '3', true, 10, 14, 1210, 0},
      {11, C::Newcomer, ' ', S::Dirt, 1800, nullptr, nullptr, '3', false, 8, 14, 1240, 0},
      {13, C::Win1, ' ', S::Turf, 1800, nullptr, nullptr, '4', false, 12, 16, 1310, 0},
      {13, C::Win1, ' ', S::Dirt, 1400, nullptr, nullptr, '4', false, 12, 16, 1340, 0},
      {11, C::Win1, 'E', S::Turf, 1600, "時雨", "賞", '3', false, 7, 7, 1410, 0},
      {13, C::Win2, 'E', S::Dirt, 1900, "嵯峨野", "特別", '4', false, 12, 16, 1445, 0},
      {13, C::Open, 'E', S::Turf, 1400, "宇治川", "ステークス", '2', false, 12, 16, 1535, 0},
      {13, C::Win2, ' ', S::Dirt, 1800, nullptr, nullptr, '4', false, 12, 16, 1610, 0}}},
    {11, 16, "03", 4, 3, 4, 12, ' ', true,
     {{11, C::Maiden, ' ', S::Dirt, 1150, nullptr, nullptr, '3', false, 12, 15, 950, 0},
      {18, C::Maiden, ' ', S::Jump, 2750, nullptr, nullptr, '4', false, 9, 13, 1020, 0},
      {11, C::Maiden, ' ', S::Turf, 1200, nullptr, nullptr, '3', false, 12, 16, 1050, 0},
      {11, C::Maiden, ' ', S::Dirt, 1700, nullptr, nullptr, '3', false, 10, 15, 1120, 0},
      {11, C::Newcomer, ' ', S::Turf, 1800, nullptr, nullptr, '3', false, 8, 12, 1210, 0},
      {13, C::Win1, ' ', S::Dirt, 1700, nullptr, nullptr, '4', false, 12, 15, 1240, 0},
      {13, C::Win1, ' ', S::Turf, 1200, nullptr, nullptr, '4', false, 14, 16, 1310, 0},
      {13, C::Win1, ' ', S::Turf, 2000, nullptr, nullptr, '4', true, 10, 16, 1340, 0},
      {11, C::Win1, 'E', S::Turf, 1800, "奥羽", "特別", '3', false, 8, 8, 1410, 0},
      {13, C::Win2, 'E', S::Dirt, 1150, "吾妻", "特別", '4', false, 12, 15, 1445, 0},
      {13, C::Open, 'E', S::Turf, 1200, "磐梯", "ステークス", '2', false, 12, 16, 1525, 0},
      {13, C::Win1, ' ', S::Dirt, 1700, nullptr, nullptr, '4', false, 12, 15, 1600, 0}}},
    {11, 17, "05", 1, 1, 1, 8, 'K', false,
     {{11, C::Maiden, ' ', S::Dirt, 1600, nullptr, nullptr, '3', false, 12, 16, 1005, 0},
      {11, C::Maiden, ' ', S::Turf, 1400, nullptr, nullptr, '3', false, 14, 18, 1035, 0},
      {11, C::Maiden, ' ', S::Turf, 2000, nullptr, nullptr, '3', false, 10, 16, 1105, 0},
      {11, C::Newcomer, ' ', S::Dirt, 1400, nullptr, nullptr, '3', false, 10, 16, 1135, 0},
      {11, C::Newcomer, ' ', S::Turf, 1800, nullptr, nullptr, '3', false, 10, 16, 1225, 0},
      {13, C::Win1, ' ', S::Turf, 1600, nullptr, nullptr, '4', false, 14, 18, 1255, 0},
      {13, C::Win1, ' ', S::Dirt, 2100, nullptr, nullptr, '4', false, 12, 16, 1325, 0},
      {13, C::Win2, ' ', S::Turf, 1800, nullptr, nullptr, '4', false, 10, 14, 1355, 0},
      {13, C::Win2, 'E', S::Dirt, 1400, "霜月", "特別", '4', false, 12, 16, 1425, 0},
      {13, C::Win3, 'E', S::Turf, 2400, "紅葉坂", "ステークス", '4', false, 10, 16, 1501, 0},
      {13, C::Open, 'E', S::Dirt, 1600, "晩秋", "ステークス", '2', false, 14, 16, 1545, 0},
      {13, C::Win2, ' ', S::Turf, 1600, nullptr, nullptr, '4', false, 14, 18, 1620, 0}}},
    {11, 17, "08", 1, 1, 1, 8, 'J', false,
     {{11, C::Maiden, ' ', S::Dirt, 1800, nullptr, nullptr, '3', false, 12, 16, 955, 0},
      {11, C::Maiden, ' ', S::Turf, 1600, nullptr, nullptr, '3', false, 14, 18, 1025, 0},
      {11, C::Maiden, ' ', S::Dirt, 1400, nullptr, nullptr, '3', false, 12, 16, 1055, 0},
      {11, C::Maiden, ' ', S::Turf, 1800, nullptr, nullptr, '3', false, 10, 16, 1125, 0},
      {11, C::Newcomer, ' ', S::Turf, 2000, nullptr, nullptr, '3', false, 8, 12, 1215, 0},
      {13, C::Win1, ' ', S::Dirt, 1200, nullptr, nullptr, '4', false, 12, 16, 1245, 0},
      {13, C::Win1, ' ', S::Turf, 2200, nullptr, nullptr, '4', false, 10, 16, 1315, 0},
      {13, C::Win2, ' ', S::Dirt, 1800, nullptr, nullptr, '4', false, 12, 16, 1345, 0},
      {11, C::Win1, 'E', S::Turf, 1400, "銀杏", "賞", '3', false, 8, 12, 1415, 0},
      {13, C::Win3, 'E', S::Turf, 2000, "比叡", "ステークス", '1', false, 10, 16, 1450, 0},
      {13, C::Open, 'A', S::Turf, 1600, "古都マイル", "カップ", '4', false, 16, 18, 1540, 41},
      {13, C::Win2, ' ', S::Turf, 1400, nullptr, nullptr, '4', false, 14, 18, 1620, 0}}},
    {11, 17, "03", 2, 2, 3, 8, 'J', false,
     {{11, C::Maiden, ' ', S::Turf, 1200, nullptr, nullptr, '3', false, 12, 16, 950, 0},
      {11, C::Maiden, ' ', S::Dirt, 1700, nullptr, nullptr, '3', false, 12, 15, 1020, 0},
      {11, C::Maiden, ' ', S::Turf, 1800, nullptr, nullptr, '3', false, 10, 16, 1050, 0},
      {11, C::Maiden, ' ', S::Dirt, 1150, nullptr, nullptr, '3', false, 12, 15, 1120, 0},
      {11, C::Newcomer, ' ', S::Turf, 2000, nullptr, nullptr, '3', false, 8, 12, 1210, 0},
      {13, C::Win1, ' ', S::Dirt, 1150, nullptr, nullptr, '4', false, 12, 15, 1240, 0},
      {13, C::Win1, ' ', S::Turf, 1800, nullptr, nullptr, '4', false, 12, 16, 1310, 0},
      {13, C::Win1, ' ', S::Dirt, 1700, nullptr, nullptr, '4', false, 12, 15, 1340, 0},
      {13, C::Win2, 'E', S::Turf, 2000, "阿武隈", "特別", '4', false, 10, 16, 1410, 0},
      {13, C::Win1, 'E', S::Dirt, 1700, "霊山", "特別", '4', false, 12, 15, 1445, 0},
      {13, C::Open, 'C', S::Turf, 2000, "みちのく", "記念", '1', false, 14, 16, 1525, 60},
      {13, C::Win2, ' ', S::Dirt, 1700, nullptr, nullptr, '4', false, 12, 15, 1600, 0}}},
};

// Happenings of the demo meetings.
struct CardHappening {
  int card, number;  // card index, race number
  Happening happening;
};
constexpr CardHappening kCardHappenings[] = {{0, 3, Happening::DeadHeatThird},
                                             {4, 4, Happening::DeadHeatFirst},
                                             {2, 6, Happening::Scratched},
                                             {1, 8, Happening::PulledUp}};

// Race i (0-11) of a card, as the card gives it.
Race RaceOfCard(const CardDay& card, std::size_t cardIndex, int i, const Meeting& m) {
  const CardRace& c = card.races[i];
  Race r = RaceOn(m.date, m.course, i + 1);
  r.current = true;
  r.finished = r.number <= card.finishedUpTo;
  r.dataKind = r.finished ? '6' : '2';
  r.raceType = c.type;
  r.cls = c.cls;
  r.grade = c.grade;
  r.fillies = c.fillies;
  r.weightRule = c.weightRule;
  r.edition = c.edition;
  r.startTime = c.start;
  for (const TrackDef& t : CourseTracks(m.course))
    if (t.surface == c.surface && t.distance == c.distance) r.track = t;
  if (r.track.distance == 0) throw std::logic_error("demo card names a track the racecourse lacks");
  if (c.stem) {
    r.named = true;
    r.name = NameBook::MakeRaceName(c.stem, c.suffix);
    r.specialNumber = 100 + static_cast<int>(cardIndex) * 12 + i;
  }
  return r;
}

}  // namespace

Happening HappeningOnCard(int card, int number) {
  for (const CardHappening& c : kCardHappenings)
    if (c.card == card && c.number == number) return c.happening;
  return Happening::None;
}

void WorldBuilder::MakeDemoMeetings() {
  for (std::size_t cardIndex = 0; cardIndex < std::size(kCards); ++cardIndex) {
    const CardDay& card = kCards[cardIndex];
    Meeting m;
    m.date = DaySerial(kYear, card.month, card.day);
    m.course = card.course;
    m.oddsSource = card.oddsSource;
    m.inDayOddsFile = card.inDayOddsFile;
    CourseDay& cd = courseDays_[{m.date, m.course}];
    cd.weather = card.weather;
    cd.turf = card.turfGoing;
    cd.dirt = card.dirtGoing;
    for (int i = 0; i < 12; ++i) {
      Race r = RaceOfCard(card, cardIndex, i, m);
      PutCourseDay(r, cd);
      AddCardRace(m, std::move(r), card.races[i].lo, card.races[i].hi);
    }
    w_.meetings.push_back(std::move(m));
  }
}

}  // namespace furlong::demo
