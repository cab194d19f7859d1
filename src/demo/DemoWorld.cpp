#include "demo/DemoWorld.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <map>
#include <set>
#include <stdexcept>
#include <utility>

#include "demo/DemoRaceRun.h"
#include "demo/DemoRiders.h"
#include "demo/DemoTimeModel.h"
#include "demo/RecordBuffer.h"
#include "store/Encoding.h"

namespace furlong::demo {

World::World(std::uint32_t seed) : rng(seed), names(rng) {}

std::vector<int> BracketsOf(int n) {
  std::vector<int> b(static_cast<std::size_t>(n) + 1, 0);
  if (n <= 8) {
    for (int i = 1; i <= n; ++i) b[static_cast<std::size_t>(i)] = i;
    return b;
  }
  // Eight brackets; the extra horses go to the highest brackets.
  int base = n / 8, extra = n % 8, horse = 1;
  for (int bracket = 1; bracket <= 8; ++bracket) {
    int count = base + (bracket > 8 - extra ? 1 : 0);
    for (int k = 0; k < count; ++k) b[static_cast<std::size_t>(horse++)] = bracket;
  }
  return b;
}

namespace {

// ---------------------------------------------------------------- race cards

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

constexpr int kYear = 2024;
constexpr int kMaxLegacyMasters = 8;


std::array<int, 5> Prizes(const Race& r) {
  int first;
  if (!IsJraCourse(r.course)) {
    first = r.course == "G0" ? 0 : r.filed ? 40000 : 800;
  } else if (r.track.surface == Surface::Jump) {
    first = 10000;
  } else if (r.grade == 'A') {
    first = 180000;
  } else if (r.grade == 'B') {
    first = r.raceType == 11 ? 43000 : 60000;
  } else if (r.grade == 'C') {
    first = r.raceType == 11 ? 38000 : 43000;
  } else {
    switch (r.cls) {
      case C::Newcomer: first = 7200; break;
      case C::Maiden: first = 5600; break;
      case C::Win1: first = r.named ? 10000 : 8200; break;
      case C::Win2: first = r.named ? 15000 : 11500; break;
      case C::Win3: first = 18400; break;
      default: first = 24000; break;
    }
  }
  // Second to fifth: 40, 25, 15 and 10 per cent, in whole thousands of yen.
  return {first, first * 4 / 100 * 10, first * 25 / 1000 * 10, first * 15 / 1000 * 10, first / 100 * 10};
}

// Popularity-based win odds in tenths for a field of n.
int OddsForPopularity(Rng& rng, int popularity, int n) {
  static const double base[18] = {2.6, 4.4, 6.5, 8.8, 11.5, 15, 19.5, 25, 32, 40, 50, 62, 78, 95, 120, 150, 190, 240};
  double v = base[std::clamp(popularity, 1, 18) - 1];
  if (n < 12) v /= 1.0 + (12 - n) * 0.06;
  v *= 1.0 + rng.Normal(0, 0.1);
  return std::clamp(static_cast<int>(v * 10 + 0.5), 11, 9999);
}

// ---------------------------------------------------------------- building

struct PlannedRun {
  int date = 0;
  bool win = false;
  bool jump = false;
  int away = 0;  // 0 JRA, 1 local career (no race record), 2 local graded race, 3 overseas
};

struct Phantom {
  std::string id, name;
};

struct CourseDay {
  int weather = 1, turf = 1, dirt = 1;
};

class Builder {
 public:
  Builder(World& w, int weeks) : w_(w), rng_(w.rng), weeks_(weeks) {}
  void Build();

 private:
  World& w_;
  Rng& rng_;
  std::map<std::pair<int, std::string>, CourseDay> courseDays_;
  std::map<std::pair<int, std::string>, std::vector<int>> racesAt_;
  std::map<int, int> nextSerial_;
  std::map<int, std::vector<Phantom>> phantoms_;
  std::vector<int> meetingOfRace_;
  int legacyCount_ = 0;
  int weeks_ = 1;
  // Race days of the season's earlier weekends: their racecourses' cards
  // are the season's own meetings.
  std::set<int> seasonDates_;
  // Happenings of the season's races, by race index.
  std::map<int, Happening> seasonHappenings_;

  std::string NewHorseId(int birthYear);
  const Phantom& PhantomBornIn(int year);
  CourseDay& DayAt(int date, const std::string& course);
  std::vector<std::string> CoursesRacing(int date) const;

  void MakeMeetings();
  void MakeSeasonMeetings();
  void AddCardRace(Meeting& m, Race r, int lo, int hi);
  int NewHorse(const Race& race);
  std::vector<PlannedRun> PlanCareer(const Horse& h, const Race& current, int wins, int runsWanted, int jumpRuns);
  void AddPastRuns(int horse, const std::vector<PlannedRun>& plan);
  int MakeAwayRace(const PlannedRun& p, const std::string& course, const Horse& h, const std::vector<bool>& used);
  int FindOrMakeRace(int horse, const PlannedRun& p, ClassKind cls, int raceType);
  int FindOrMakeRaceOn(int horse, int date, const PlannedRun& p, ClassKind cls, int raceType, bool strict);
  int MakeRace(int date, const std::string& course, int number, ClassKind cls, int raceType, const TrackDef& track,
               const Horse& maker);
  TrackDef ChooseTrack(const Horse& h, const std::string& course, bool jump);
  void TakePosition(Race& r, Run& run, const Horse& h, bool win, bool nextIsWin);
  void FinishHistoricalRaces();
  void FinishHorse(int horse);
  void RunCurrentRace(int raceIndex, int card);
  void AddCurrentRun(int horse, int raceIndex);
  void BuildSeason();
  void FillSeasonRace(int raceIndex);
  bool CanRun(int horse, const Race& r) const;

  // A season's horses: those that have run in it, their wins so far and the
  // date from which they may run again.
  std::vector<int> pool_;
  std::vector<int> wins_, ready_;
  // The careers of horses new to a season end before it.
  int careerEnd_ = std::numeric_limits<int>::max();
  // Set while an earlier run finds no room at the month's racecourses.
  bool anyCourse_ = false;
};

std::string Builder::NewHorseId(int birthYear) {
  auto it = nextSerial_.find(birthYear);
  if (it == nextSerial_.end()) it = nextSerial_.emplace(birthYear, 100 + rng_.Int(0, 60)).first;
  it->second += rng_.Int(1, 3);
  // A season needs more than ten thousand horses of a year: the next block
  // of numbers follows.
  return ZeroPadded(birthYear, 4) + ZeroPadded(10 + it->second / 10000, 2) + ZeroPadded(it->second % 10000, 4);
}

const Phantom& Builder::PhantomBornIn(int year) {
  auto& bucket = phantoms_[year];
  if (bucket.size() < 40 || rng_.Chance(0.25)) {
    Phantom p;
    p.id = NewHorseId(year);
    p.name = w_.names.NewHorseName(rng_, rng_.Chance(0.4));
    bucket.push_back(std::move(p));
    return bucket.back();
  }
  return bucket[static_cast<std::size_t>(rng_.Int(0, static_cast<int>(bucket.size()) - 1))];
}

CourseDay& Builder::DayAt(int date, const std::string& course) {
  auto key = std::make_pair(date, course);
  auto it = courseDays_.find(key);
  if (it != courseDays_.end()) return it->second;
  CourseDay d;
  d.weather = static_cast<int>(rng_.Weighted({55, 30, 0, 8, 7})) + 1;  // 1 fine, 2 cloudy, 4 light rain, 5 rain
  if (d.weather == 5) d.weather = 3;
  bool wet = d.weather >= 3;
  d.turf = static_cast<int>(rng_.Weighted(wet ? std::vector<double>{25, 35, 25, 15} : std::vector<double>{78, 15, 5, 2})) + 1;
  d.dirt = std::min(4, d.turf + (rng_.Chance(0.4) ? 1 : 0));
  return courseDays_.emplace(key, d).first->second;
}

void Builder::MakeMeetings() {
  for (std::size_t cardIndex = 0; cardIndex < std::size(kCards); ++cardIndex) {
    const CardDay& card = kCards[cardIndex];
    Meeting m;
    m.date = DaySerial(kYear, card.month, card.day);
    m.course = card.course;
    m.oddsSource = card.oddsSource;
    m.inDayOddsFile = card.inDayOddsFile;
    int meeting = 0, day = 0;
    MeetingAndDay(m.date, m.course, meeting, day);
    CourseDay& cd = courseDays_[{m.date, m.course}];
    cd.weather = card.weather;
    cd.turf = card.turfGoing;
    cd.dirt = card.dirtGoing;
    for (int i = 0; i < 12; ++i) {
      const CardRace& c = card.races[i];
      Race r;
      r.date = m.date;
      r.course = m.course;
      r.meeting = meeting;
      r.day = day;
      r.number = i + 1;
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
      r.weather = cd.weather;
      r.turfGoing = cd.turf;
      r.dirtGoing = cd.dirt;
      AddCardRace(m, std::move(r), c.lo, c.hi);
    }
    w_.meetings.push_back(std::move(m));
  }
}

// The common end of every card race: its symbol, field size and prizes.
void Builder::AddCardRace(Meeting& m, Race r, int lo, int hi) {
  if (r.grade == 'A' || r.grade == 'B' || r.grade == 'C') r.symbol = r.grade == 'C' ? "N03" : "N01";
  else if (r.track.surface == Surface::Jump) r.symbol = "A00";
  else if (r.named) r.symbol = r.fillies ? "A24" : "A04";
  else r.symbol = r.fillies ? "A23" : "A03";
  r.registered = std::min(rng_.Int(lo, hi), r.track.maxRunners);
  r.prize = Prizes(r);
  m.races.push_back(static_cast<int>(w_.races.size()));
  racesAt_[{r.date, r.course}].push_back(static_cast<int>(w_.races.size()));
  w_.races.push_back(std::move(r));
}

// The weekends before the demo weekend, every race run: for each racecourse
// of the month a card of twelve races a day, maidens and newcomers in the
// morning, the special races in the afternoon.
void Builder::MakeSeasonMeetings() {
  const int demoSaturday = DaySerial(kYear, 11, 16);
  for (int week = weeks_ - 1; week >= 1; --week) {
    const int saturday = demoSaturday - 7 * week;
    for (int date : {saturday, saturday + 1}) {
      seasonDates_.insert(date);
      const int month = MonthOf(date);
      const bool spring = month <= 5;  // before the two-year-olds start
      for (const std::string& course : ActiveCourses(date)) {
        Meeting m;
        m.date = date;
        m.course = course;
        int meeting = 0, day = 0;
        MeetingAndDay(date, course, meeting, day);
        const CourseDay& cd = DayAt(date, course);
        const bool jumpRace = !TracksOn(course, Surface::Jump).empty() && rng_.Chance(0.6);
        for (int number = 1; number <= 12; ++number) {
          Race r;
          r.date = date;
          r.course = course;
          r.meeting = meeting;
          r.day = day;
          r.number = number;
          r.current = true;
          r.dataKind = '7';
          const bool young = !spring && (number <= 3 || number == 5 || number == 6 || (number == 4 && month >= 9));
          if (number <= 4) {
            r.cls = C::Maiden;
            r.raceType = young ? 11 : 12;
          } else if (number <= 6) {
            r.cls = young || month <= 2 ? C::Newcomer : C::Maiden;
            r.raceType = young ? 11 : 12;
          } else {
            static const ClassKind kAfternoon[6] = {C::Win1, C::Win1, C::Win1, C::Win2, C::Open, C::Win2};
            r.cls = kAfternoon[number - 7];
            if (number == 10 && rng_.Chance(0.3)) r.cls = C::Win3;
            r.raceType = spring ? (number == 7 ? 12 : 14) : 13;
          }
          Surface surface = rng_.Chance(number == 11 ? 0.7 : 0.5) ? Surface::Turf : Surface::Dirt;
          if (number == 4 && jumpRace) {
            surface = Surface::Jump;
            r.raceType = spring ? 19 : 18;
          }
          const std::vector<TrackDef> tracks = TracksOn(course, surface);
          r.track = rng_.Pick(tracks);
          r.weightRule = r.raceType == 11 || r.raceType == 12 ? '3' : '4';
          if (number >= 9 && number <= 11) {
            r.named = true;
            r.grade = 'E';
            if (number == 11 && rng_.Chance(0.15)) {
              r.grade = "ABC"[rng_.Weighted({10, 30, 60})];
              r.edition = rng_.Int(10, 75);
            }
            if (r.cls == C::Open && r.grade == 'E' && r.raceType != 11 && r.raceType != 12)
              r.weightRule = rng_.Chance(0.8) ? '2' : '1';
            static const std::vector<std::string> suffixes = {"特別", "ステークス", "賞", "カップ"};
            r.name = w_.names.SpecialRaceName(rng_, month, suffixes[static_cast<std::size_t>(number - 9 + (r.cls == C::Open ? 1 : 0))]);
            r.specialNumber = rng_.Int(1, 999);
          }
          const int minutes = 9 * 60 + 50 + (number - 1) * 30 + (number >= 5 ? 20 : 0);
          r.startTime = (minutes / 60) * 100 + minutes % 60;
          r.weather = cd.weather;
          r.turfGoing = cd.turf;
          r.dirtGoing = cd.dirt;
          // Now and then a small field.
          const int lo = rng_.Chance(0.08) ? 5 : rng_.Int(9, 13);
          const int hi = lo == 5 ? 8 : 18;
          const int raceIndex = static_cast<int>(w_.races.size());
          if (raceIndex % 97 == 13) seasonHappenings_[raceIndex] = Happening::DeadHeatThird;
          else if (raceIndex % 211 == 50) seasonHappenings_[raceIndex] = Happening::DeadHeatFirst;
          else if (raceIndex % 61 == 7) seasonHappenings_[raceIndex] = Happening::Scratched;
          else if (raceIndex % 89 == 3) seasonHappenings_[raceIndex] = Happening::PulledUp;
          AddCardRace(m, std::move(r), lo, hi);
        }
        w_.meetings.push_back(std::move(m));
      }
    }
  }
}

int GapWeeks(Rng& rng) {
  double u = rng.Uniform();
  if (u < 0.05) return rng.Int(1, 2);
  if (u < 0.65) return rng.Int(3, 6);
  if (u < 0.90) return rng.Int(7, 12);
  return rng.Int(13, 30);
}

ClassKind ClassOfLevel(int level) {
  switch (level) {
    case 0: return C::Maiden;
    case 1: return C::Win1;
    case 2: return C::Win2;
    case 3: return C::Win3;
    default: return C::Open;
  }
}

// The Saturday on or before a date.
int SaturdayOnOrBefore(int serial) { return serial - (Weekday(serial) + 1) % 7; }

int Builder::NewHorse(const Race& race) {
  Horse h;
  const bool jump = race.track.surface == Surface::Jump;
  int age = 2;
  if (race.raceType != 11) {
    std::vector<double> w;
    if (jump) w = {10, 35, 30, 18, 7, 0};
    else if (race.cls == C::Win1) w = {40, 35, 15, 7, 3, 0};
    else if (race.cls == C::Win2) w = {25, 40, 22, 10, 3, 0};
    else if (race.cls == C::Win3) w = {15, 40, 28, 12, 5, 0};
    else w = {18, 30, 25, 15, 8, 4};
    age = 3 + static_cast<int>(rng_.Weighted(w));
  }
  if (race.raceType == 12) age = 3;
  if (race.raceType == 14) age = std::max(age, 4);
  h.birthYear = YearOf(race.date) - age;
  if (race.fillies) {
    h.sex = 2;
  } else if (age == 2) {
    h.sex = rng_.Chance(0.58) ? 1 : 2;
  } else {
    h.sex = 1 + static_cast<int>(rng_.Weighted(jump ? std::vector<double>{50, 15, 35}
                                                    : std::vector<double>{55, 30, age >= 4 ? 15.0 : 3.0}));
  }
  h.id = NewHorseId(h.birthYear);
  h.name = w_.names.NewHorseName(rng_, h.sex == 2);
  h.birthDate = DaySerial(h.birthYear, rng_.Int(2, 5), rng_.Int(1, 28));
  h.coat = 1 + static_cast<int>(rng_.Weighted({20, 3, 40, 20, 8, 1.5, 7, 0, 0, 0, 0.5}));
  h.symbol = rng_.Chance(0.06) ? 4 : rng_.Chance(0.03) ? 6 : 0;
  const int poolIndex = RiderPoolIndex(race.course, race.date);
  bool east = poolIndex == 0 || (poolIndex == 2 && rng_.Chance(0.6));
  if (rng_.Chance(0.2)) east = !east;
  auto& ns = w_.names;
  do {
    h.trainer = rng_.Int(0, static_cast<int>(ns.trainers.size()) - 1);
  } while (ns.trainers[static_cast<std::size_t>(h.trainer)].east != east);
  h.owner = rng_.Int(0, static_cast<int>(ns.owners.size()) - 1);
  h.breeder = rng_.Int(0, static_cast<int>(ns.breeders.size()) - 1);
  std::vector<double> sirePopularity;
  for (std::size_t i = 0; i < ns.sires.size(); ++i) sirePopularity.push_back(static_cast<double>(ns.sires.size() - i));
  h.sire = static_cast<int>(rng_.Weighted(sirePopularity));
  const Stallion& s = ns.sires[static_cast<std::size_t>(h.sire)];
  const Stallion& ds = ns.damSires[static_cast<std::size_t>(rng_.Int(0, static_cast<int>(ns.damSires.size()) - 1))];
  const Stallion& dds = ns.damSires[static_cast<std::size_t>(rng_.Int(0, static_cast<int>(ns.damSires.size()) - 1))];
  h.pedigree = {s.self, ns.NewMare(rng_), s.sire, s.dam, ds.self, ns.NewMare(rng_), s.sireSire,
                s.sireDam, s.damSire, s.damDam, ds.sire, ds.dam, dds.sire, ns.NewMare(rng_)};
  h.quality = rng_.Uniform();
  h.style = static_cast<int>(rng_.Weighted({12, 36, 34, 18}));
  if (jump) {
    h.jumper = true;
    h.surface = rng_.Chance(0.6) ? Surface::Turf : Surface::Dirt;
    h.distance = rng_.Int(18, 26) * 100;
  } else {
    h.surface = race.track.surface;
    if (rng_.Chance(0.15)) h.surface = h.surface == Surface::Turf ? Surface::Dirt : Surface::Turf;
    h.distance = std::clamp(race.track.distance + static_cast<int>(std::lround(rng_.Normal(0, 2.5))) * 100, 1000, 3000);
  }
  int body = static_cast<int>(std::lround(h.sex == 2 ? rng_.Normal(230, 10) : rng_.Normal(242, 11))) * 2;
  h.bodyBase = std::clamp(body, 400, 560);
  std::vector<int> pool = JockeyPool(w_.names, race.course, race.date);
  h.mainJockey = pool[static_cast<std::size_t>(rng_.Int(0, static_cast<int>(pool.size()) - 1))];
  if (age >= 5 && legacyCount_ < kMaxLegacyMasters && rng_.Chance(0.12)) {
    h.legacyMaster = true;
    ++legacyCount_;
  }

  // The career that brought it here.
  int wins = 0, runsWanted = 0, jumpRuns = 0;
  if (race.raceType == 11 || (!jump && (race.cls == C::Newcomer || race.cls == C::Maiden))) {
    switch (race.cls) {
      case C::Newcomer: break;
      case C::Maiden: runsWanted = static_cast<int>(rng_.Weighted({5, 28, 25, 20, 14, 8})); break;
      case C::Win1:
        wins = 1;
        runsWanted = rng_.Int(1, 4);
        break;
      default:
        wins = rng_.Chance(0.35) ? 2 : 1;
        runsWanted = wins + rng_.Int(0, 2);
        break;
    }
  } else {
    if (jump) {
      wins = rng_.Chance(0.35) ? 1 : 0;
      jumpRuns = static_cast<int>(rng_.Weighted({25, 30, 25, 20}));
    } else if (race.cls == C::Open) {
      wins = 4 + static_cast<int>(rng_.Weighted({35, 30, 20, 10, 5}));
    } else {
      wins = race.cls == C::Win1 ? 1 : race.cls == C::Win2 ? 2 : 3;
    }
    static const int lo[6] = {2, 4, 7, 10, 13, 13}, hi[6] = {10, 16, 22, 27, 30, 30};
    int a = std::min(age - 3, 5);
    const int atLeast = std::max(wins + (rng_.Chance(0.9) ? 2 : 0), lo[a]);
    runsWanted = rng_.Int(atLeast, std::max(atLeast, hi[a]));
    runsWanted = std::min(runsWanted, 30 - jumpRuns);
  }
  // Stronger horses in the open races carry the better records.
  if (race.cls == C::Open && race.raceType != 11) h.quality = h.quality * 0.8;

  w_.horses.push_back(h);
  const int index = static_cast<int>(w_.horses.size()) - 1;
  std::vector<PlannedRun> plan = PlanCareer(w_.horses.back(), race, wins, runsWanted, jumpRuns);
  for (auto& p : plan)
    if (p.away == 1) w_.horses.back().symbol = 5;  // came back from local racing
  AddPastRuns(index, plan);
  return index;
}

std::vector<PlannedRun> Builder::PlanCareer(const Horse& h, const Race& current, int wins, int runsWanted,
                                            int jumpRuns) {
  const int earliest = DaySerial(h.birthYear + 2, 6, 1);
  const int cutoff = DaySerial(h.birthYear + 3, 9, 10);  // the last maiden races of its age
  const int total = runsWanted + jumpRuns;
  const int needed = total == 0 ? 0 : std::max(1, wins + jumpRuns);
  // A season's new horse ran before the season began, unless it is too
  // young for that: then it ran at the racecourses the season leaves free.
  const int last = earliest + 7 * 3 * needed < careerEnd_ ? std::min(current.date, careerEnd_) : current.date;
  std::vector<int> dates;
  for (int attempt = 0; attempt < 40; ++attempt) {
    dates.clear();
    int d = last;
    for (int k = 0; k < total; ++k) {
      int weeks = attempt < 10 ? GapWeeks(rng_) : rng_.Int(2, 4);
      int nd = d - 7 * weeks;
      if (rng_.Chance(0.4)) nd += Weekday(nd) == 6 ? 1 : -1;
      if (nd < earliest) break;
      dates.push_back(nd);
      d = nd;
    }
    if (static_cast<int>(dates.size()) >= needed) break;
  }
  std::reverse(dates.begin(), dates.end());
  const int n = static_cast<int>(dates.size());
  jumpRuns = std::min(jumpRuns, n - wins);
  const int flat = n - jumpRuns;

  std::vector<PlannedRun> plan(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    plan[static_cast<std::size_t>(i)].date = dates[static_cast<std::size_t>(i)];
    plan[static_cast<std::size_t>(i)].jump = i >= flat;
  }
  if (wins > 0 && flat >= wins) {
    // The maiden win must come while maiden races are still run for its age.
    std::vector<int> eligible;
    for (int i = 0; i <= flat - wins; ++i)
      if (plan[static_cast<std::size_t>(i)].date <= cutoff) eligible.push_back(i);
    if (eligible.empty()) {
      int latest = std::min(cutoff, plan[0].date - 14);
      int moved = SaturdayOnOrBefore(rng_.Int(earliest, latest));
      if (moved < earliest) moved += 7;
      plan[0].date = moved;
      eligible.push_back(0);
    }
    int first = eligible[static_cast<std::size_t>(rng_.Int(0, static_cast<int>(eligible.size()) - 1))];
    plan[static_cast<std::size_t>(first)].win = true;
    std::vector<int> later;
    for (int i = first + 1; i < flat; ++i) later.push_back(i);
    rng_.Shuffle(later);
    for (int k = 0; k < wins - 1; ++k) plan[static_cast<std::size_t>(later[static_cast<std::size_t>(k)])].win = true;
  }

  const int age = YearOf(current.date) - h.birthYear;
  auto winsBefore = [&](int j) {
    int c = 0;
    for (int i = 0; i < j; ++i) c += plan[static_cast<std::size_t>(i)].win ? 1 : 0;
    return c;
  };
  // A spell in local racing, with no race records of its own.
  if (!h.jumper && age >= 4 && flat >= 8 && rng_.Chance(0.08)) {
    for (int attempt = 0; attempt < 10; ++attempt) {
      int len = rng_.Int(2, 4), s = rng_.Int(1, flat - len - 1);
      bool clear = true;
      for (int i = s; i < s + len; ++i) clear = clear && !plan[static_cast<std::size_t>(i)].win;
      if (!clear) continue;
      for (int i = s; i < s + len; ++i) {
        plan[static_cast<std::size_t>(i)].away = 1;
        plan[static_cast<std::size_t>(i)].date -= rng_.Int(1, 3);  // local racing runs on weekdays
      }
      break;
    }
  }
  auto pickOpenLoss = [&]() {
    std::vector<int> c;
    for (int i = 0; i < flat; ++i)
      if (!plan[static_cast<std::size_t>(i)].win && plan[static_cast<std::size_t>(i)].away == 0 && winsBefore(i) >= 4)
        c.push_back(i);
    return c.empty() ? -1 : c[static_cast<std::size_t>(rng_.Int(0, static_cast<int>(c.size()) - 1))];
  };
  // A graded race at a local racecourse for an open dirt horse.
  if (wins >= 4 && h.surface == Surface::Dirt && rng_.Chance(0.4)) {
    int j = pickOpenLoss();
    if (j >= 0) {
      plan[static_cast<std::size_t>(j)].away = 2;
      plan[static_cast<std::size_t>(j)].date -= Weekday(plan[static_cast<std::size_t>(j)].date) == 0 ? 4 : 3;
    }
  }
  // The Hong Kong international races in December for a turf horse of the
  // championship race: an open-class run that lies well apart from its
  // neighbours moves to the second Sunday of December.
  if (current.grade == 'A' && age >= 4 && h.surface == Surface::Turf && rng_.Chance(0.7)) {
    for (int i = flat - 1; i >= 0; --i) {
      PlannedRun& run = plan[static_cast<std::size_t>(i)];
      if (run.win || run.away != 0 || winsBefore(i) < 2) continue;
      const int year = YearOf(run.date) - (MonthOf(run.date) < 6 ? 1 : 0);
      const int firstSunday = DaySerial(year, 12, 1) + (7 - Weekday(DaySerial(year, 12, 1))) % 7;
      const int day = firstSunday + 7;
      const int before = i > 0 ? plan[static_cast<std::size_t>(i - 1)].date : 0;
      const int after = i + 1 < n ? plan[static_cast<std::size_t>(i + 1)].date : current.date;
      if (day >= before + 14 && day <= after - 14) {
        run.away = 3;
        run.date = day;
        break;
      }
    }
  }
  return plan;
}

int Builder::MakeAwayRace(const PlannedRun& p, const std::string& course, const Horse& h,
                          const std::vector<bool>& used) {
  const int age = YearOf(p.date) - h.birthYear, month = MonthOf(p.date);
  TrackDef track = ChooseTrack(h, course, false);
  Race r;
  r.date = p.date;
  r.course = course;
  int y, m, d;
  CivilFromSerial(p.date, y, m, d);
  r.meeting = p.away == 3 ? 1 : m;  // local meetings of a few days each month
  r.day = p.away == 3 ? 1 : 1 + (d - 1) % 5;
  r.number = p.away == 2 ? 11 : p.away == 3 ? 8 : rng_.Int(1, 10);
  while (used[static_cast<std::size_t>(r.number)]) r.number = r.number % 12 + 1;
  r.filed = p.away != 1;
  r.dataKind = p.away == 3 ? 'B' : 'A';
  r.raceType = age >= 4 && month <= 5 ? 14 : 13;
  r.cls = p.away == 1 ? C::Win1 : C::Open;
  r.grade = p.away == 2 ? 'D' : p.away == 3 ? 'A' : ' ';
  r.symbol = "000";
  r.weightRule = p.away == 2 ? '2' : '4';
  if (p.away >= 2) {
    r.named = true;
    r.name = p.away == 3 ? NameBook::MakeRaceName("沙田国際", "カップ")
                         : w_.names.SpecialRaceName(rng_, month, "盃");
  }
  r.track = track;
  r.startTime = p.away == 3 ? 1640 : 1550 + rng_.Int(0, 4) * 35;
  r.registered = p.away == 1 ? rng_.Int(8, 12) : rng_.Int(12, std::max(12, track.maxRunners));
  const CourseDay& cd = DayAt(r.date, r.course);
  r.weather = cd.weather;
  r.turfGoing = cd.turf;
  r.dirtGoing = cd.dirt;
  r.prize = Prizes(r);
  r.winnerTime = WinnerTime(rng_, r);
  r.lastThree = RaceLastThree(rng_, r);
  r.gaps = Gaps(rng_, r.registered, false);
  r.laps = Laps(rng_, r);
  r.positionTaken.assign(static_cast<std::size_t>(r.registered) + 1, 0);
  r.numberTaken = r.positionTaken;
  r.popularityTaken = r.positionTaken;
  w_.races.push_back(std::move(r));
  racesAt_[{p.date, course}].push_back(static_cast<int>(w_.races.size()) - 1);
  return static_cast<int>(w_.races.size()) - 1;
}

void Builder::AddPastRuns(int horse, const std::vector<PlannedRun>& plan) {
  const int cutoff = DaySerial(w_.horses[static_cast<std::size_t>(horse)].birthYear + 3, 9, 10);
  int winsBefore = 0;
  for (std::size_t j = 0; j < plan.size(); ++j) {
    const PlannedRun& p = plan[j];
    const Horse& h = w_.horses[static_cast<std::size_t>(horse)];
    const int age = YearOf(p.date) - h.birthYear, month = MonthOf(p.date);
    ClassKind cls;
    int type;
    if (p.jump) {
      cls = C::Maiden;
      type = month <= 5 ? 19 : 18;
    } else {
      int level = std::min(winsBefore, 4);
      if (level == 0) {
        if (j == 0 && (age == 2 || (age == 3 && month <= 2)) && rng_.Chance(0.85)) cls = C::Newcomer;
        else if (p.date <= cutoff) cls = C::Maiden;
        else cls = C::Win1;  // an old maiden runs against winners
      } else {
        cls = ClassOfLevel(level);
      }
      if (age == 2) type = 11;
      else if (age == 3 && (month <= 5 || cls == C::Maiden || cls == C::Newcomer)) type = 12;
      else if (age >= 4 && month <= 5) type = 14;
      else type = 13;
      if ((type == 11 || type == 12) && (cls == C::Win2 || cls == C::Win3)) cls = C::Open;
    }

    int raceIndex;
    if (p.away != 0) {
      std::string course;
      if (p.away == 3) {
        course = "G0";
      } else {
        const auto& locals = LocalCourses();
        bool east = w_.names.trainers[static_cast<std::size_t>(h.trainer)].east;
        course = locals[static_cast<std::size_t>(east ? rng_.Int(0, 3) : rng_.Int(4, 6))];
      }
      // Demo horses at the same local or overseas meeting share its race.
      raceIndex = -1;
      std::vector<bool> used(13, false);
      for (int idx : racesAt_[{p.date, course}]) {
        const Race& other = w_.races[static_cast<std::size_t>(idx)];
        used[static_cast<std::size_t>(other.number)] = true;
        if (other.filed == (p.away != 1) && static_cast<int>(other.runs.size()) < other.registered - 1) raceIndex = idx;
      }
      if (raceIndex < 0) raceIndex = MakeAwayRace(p, course, h, used);
    } else {
      raceIndex = FindOrMakeRace(horse, p, cls, type);
      if (raceIndex < 0) continue;
    }

    Run run;
    run.horse = horse;
    run.race = raceIndex;
    run.local = p.away == 1 || p.away == 2;
    bool nextIsWin = j + 1 < plan.size() && plan[j + 1].win;
    TakePosition(w_.races[static_cast<std::size_t>(raceIndex)], run, w_.horses[static_cast<std::size_t>(horse)], p.win,
                 nextIsWin);
    w_.runs.push_back(run);
    const int runIndex = static_cast<int>(w_.runs.size()) - 1;
    w_.races[static_cast<std::size_t>(raceIndex)].runs.push_back(runIndex);
    w_.horses[static_cast<std::size_t>(horse)].runs.push_back(runIndex);
    if (p.win) ++winsBefore;
  }
}

TrackDef Builder::ChooseTrack(const Horse& h, const std::string& course, bool jump) {
  if (jump) {
    auto tracks = TracksOn(course, Surface::Jump);
    return tracks[static_cast<std::size_t>(rng_.Int(0, static_cast<int>(tracks.size()) - 1))];
  }
  Surface s = h.surface;
  if (rng_.Chance(0.12)) s = s == Surface::Turf ? Surface::Dirt : Surface::Turf;
  auto tracks = TracksOn(course, s);
  if (tracks.empty()) tracks = TracksOn(course, s == Surface::Turf ? Surface::Dirt : Surface::Turf);
  int want = h.distance + static_cast<int>(std::lround(rng_.Normal(0, 200)));
  const TrackDef* best = &tracks.front();
  for (const TrackDef& t : tracks)
    if (std::abs(t.distance - want) < std::abs(best->distance - want)) best = &t;
  return *best;
}

// The JRA racecourses where earlier runs of a date can lie: the month's
// racecourses, or on a day of the season's own meetings, whose cards are
// full, the others.
std::vector<std::string> Builder::CoursesRacing(int date) const {
  std::vector<std::string> courses = ActiveCourses(date);
  if (seasonDates_.count(date) == 0 && !anyCourse_) return courses;
  std::vector<std::string> others;
  for (int code = 1; code <= 10; ++code) {
    const std::string c = ZeroPadded(code, 2);
    if (std::find(courses.begin(), courses.end(), c) == courses.end()) others.push_back(c);
  }
  return others;
}

int Builder::FindOrMakeRace(int horse, const PlannedRun& p, ClassKind cls, int raceType) {
  const int other = Weekday(p.date) == 6 ? p.date + 1 : p.date - 1;
  for (int strict = 1; strict >= 0; --strict)
    for (int date : {p.date, other}) {
      int race = FindOrMakeRaceOn(horse, date, p, cls, raceType, strict == 1);
      if (race >= 0) return race;
    }
  // The careers of a season's new horses crowd the weeks before it: the
  // other racecourses take the overflow.
  if (weeks_ > 1 && !anyCourse_) {
    anyCourse_ = true;
    const int race = FindOrMakeRace(horse, p, cls, raceType);
    anyCourse_ = false;
    return race;
  }
  // A long season leaves the weeks before it no room for every earlier run
  // of its new horses: such a run is left out of the career.
  if (weeks_ > 1) return -1;
  throw std::logic_error("demo store: no room for a run on " + DateText(p.date));
}

int Builder::FindOrMakeRaceOn(int horse, int date, const PlannedRun& p, ClassKind cls, int raceType, bool strict) {
  const Horse& h = w_.horses[static_cast<std::size_t>(horse)];
  std::vector<std::string> courses = CoursesRacing(date);
  if (p.jump) {
    courses.erase(std::remove_if(courses.begin(), courses.end(),
                                 [](const std::string& c) { return TracksOn(c, Surface::Jump).empty(); }),
                  courses.end());
  }
  // Trainers mostly send their horses to their own side of the country.
  const bool east = w_.names.trainers[static_cast<std::size_t>(h.trainer)].east;
  std::vector<std::string> home;
  for (auto& c : courses)
    if (IsEastCourse(c) == east) home.push_back(c);
  const std::string course = !home.empty() && rng_.Chance(0.75) ? rng_.Pick(home) : rng_.Pick(courses);
  std::vector<std::string> order = {course};
  for (auto& c : courses)
    if (c != course) order.push_back(c);
  const TrackDef track = ChooseTrack(h, course, p.jump);

  // 0: same class and distance, 1: within 400 metres, 2: any distance,
  // 3: a higher class (not for a winner).
  auto fits = [&](const Race& r, int level) {
    if (r.current || r.raceType != raceType || r.track.surface != track.surface) return false;
    if (level == 3 ? (p.win || r.cls <= cls || cls == C::Newcomer || r.cls == C::Newcomer) : r.cls != cls) return false;
    if (level == 0 && r.track.distance != track.distance) return false;
    if (level == 1 && std::abs(r.track.distance - track.distance) > 400) return false;
    if (r.fillies && h.sex != 2) return false;
    if (static_cast<int>(r.runs.size()) >= r.registered - 1) return false;
    return !(p.win && r.positionTaken[1]);
  };
  auto join = [&](int level) {
    for (const std::string& c : order)
      for (int idx : racesAt_[{date, c}])
        if (fits(w_.races[static_cast<std::size_t>(idx)], level)) return idx;
    return -1;
  };
  for (int level = 0; level < 2; ++level)
    if (int idx = join(level); idx >= 0) return idx;

  // A new race at a race number that suits its class.
  static const std::vector<int> jumpNumbers = {1, 2, 3, 4, 8};
  static const std::vector<int> prefs[6] = {{5, 6, 4},       {1, 2, 3, 4, 6, 7, 5}, {7, 8, 6, 12, 9, 5, 10},
                                            {9, 10, 12, 8, 7}, {10, 11, 9, 12, 8},  {11, 10, 9, 12}};
  const std::vector<int>& pref = p.jump ? jumpNumbers : prefs[static_cast<int>(cls)];
  for (const std::string& c : order) {
    std::vector<bool> used(13, false);
    for (int idx : racesAt_[{date, c}]) used[static_cast<std::size_t>(w_.races[static_cast<std::size_t>(idx)].number)] = true;
    int number = 0;
    for (int k : pref)
      if (!used[static_cast<std::size_t>(k)]) {
        number = k;
        break;
      }
    for (int k = 1; k <= 12 && number == 0 && !strict; ++k)
      if (!used[static_cast<std::size_t>(k)]) number = k;
    if (number == 0) continue;
    TrackDef t = c == course ? track : ChooseTrack(h, c, p.jump);
    return MakeRace(date, c, number, cls, raceType, t, h);
  }
  for (int level = 2; level < 4; ++level)
    if (int idx = join(level); idx >= 0) return idx;
  return -1;
}

int Builder::MakeRace(int date, const std::string& course, int number, ClassKind cls, int raceType,
                      const TrackDef& track, const Horse& maker) {
  Race r;
  r.date = date;
  r.course = course;
  MeetingAndDay(date, course, r.meeting, r.day);
  r.number = number;
  r.raceType = raceType;
  r.cls = cls;
  r.track = track;
  const CourseDay& cd = DayAt(date, course);
  r.weather = cd.weather;
  r.turfGoing = cd.turf;
  r.dirtGoing = cd.dirt;
  int minutes = 9 * 60 + 50 + (number - 1) * 30 + (number >= 5 ? 20 : 0) + rng_.Int(0, 1) * 5;
  r.startTime = (minutes / 60) * 100 + minutes % 60;
  const bool young = raceType == 11 || raceType == 12;
  if (track.surface == Surface::Jump) {
    r.symbol = "A00";
    r.weightRule = '4';
    r.registered = rng_.Int(8, 14);
  } else if (cls == C::Open) {
    r.named = true;
    if (number == 11 && ((maker.quality < 0.25 && rng_.Chance(0.35)) || rng_.Chance(0.08))) {
      r.grade = young ? (rng_.Chance(0.3) ? 'B' : 'C') : "ABC"[rng_.Weighted({10, 30, 60})];
      static const std::vector<std::string> suffixes = {"記念", "カップ", "ステークス", "賞"};
      r.name = w_.names.SpecialRaceName(rng_, MonthOf(date), rng_.Pick(suffixes));
      r.edition = rng_.Int(10, 75);
      r.weightRule = r.grade == 'A' ? (young ? '3' : '4') : "214"[rng_.Weighted({50, 30, 20})];
      r.symbol = r.grade == 'C' ? "N03" : "N01";
    } else {
      r.grade = 'E';
      r.name = w_.names.SpecialRaceName(rng_, MonthOf(date), rng_.Chance(0.7) ? "ステークス" : "カップ");
      r.weightRule = young ? '3' : rng_.Chance(0.8) ? '2' : '1';
      r.symbol = "A04";
    }
    r.registered = rng_.Int(10, 18);
  } else if (number >= 9 && number <= 11 && cls != C::Newcomer && cls != C::Maiden) {
    r.named = true;
    r.grade = 'E';
    r.fillies = maker.sex == 2 && rng_.Chance(0.08);
    r.name = w_.names.SpecialRaceName(rng_, MonthOf(date),
                                      cls == C::Win3 ? "ステークス" : rng_.Chance(0.75) ? "特別" : "賞");
    r.weightRule = young ? '3' : (cls != C::Win1 && rng_.Chance(0.3)) ? '1' : '4';
    r.symbol = r.fillies ? "A24" : "A04";
    r.registered = rng_.Int(10, 18);
  } else {
    r.fillies = maker.sex == 2 && rng_.Chance(0.08);
    r.weightRule = young ? '3' : '4';
    r.symbol = r.fillies ? "A23" : "A03";
    r.registered = cls == C::Newcomer ? rng_.Int(8, 16) : cls == C::Maiden ? rng_.Int(12, 18) : rng_.Int(10, 18);
  }
  if (r.named) r.specialNumber = rng_.Int(1, 999);
  r.registered = std::min(r.registered, track.maxRunners);
  r.prize = Prizes(r);
  r.winnerTime = WinnerTime(rng_, r);
  r.lastThree = RaceLastThree(rng_, r);
  r.gaps = Gaps(rng_, r.registered, track.surface == Surface::Jump);
  if (track.surface != Surface::Jump) r.laps = Laps(rng_, r);
  r.positionTaken.assign(static_cast<std::size_t>(r.registered) + 1, 0);
  r.numberTaken = r.positionTaken;
  r.popularityTaken = r.positionTaken;
  w_.races.push_back(std::move(r));
  const int index = static_cast<int>(w_.races.size()) - 1;
  racesAt_[{date, course}].push_back(index);
  return index;
}

// The free slot in [lo, hi] nearest to `want` (taken[] marks used slots).
int NearestFree(std::vector<char>& taken, int want, int lo, int hi) {
  for (int d = 0; d <= hi - lo; ++d) {
    for (int s : {want - d, want + d}) {
      if (s >= lo && s <= hi && !taken[static_cast<std::size_t>(s)]) {
        taken[static_cast<std::size_t>(s)] = 1;
        return s;
      }
    }
  }
  throw std::logic_error("demo store: no free slot in a race");
}

void Builder::TakePosition(Race& r, Run& run, const Horse& h, bool win, bool nextIsWin) {
  const int n = r.registered;
  if (win) {
    run.position = NearestFree(r.positionTaken, 1, 1, 1);
  } else {
    double frac = h.quality * 0.8 + 0.1 + rng_.Normal(0, 0.2) - (nextIsWin ? 0.15 : 0.0);
    if (!r.filed) frac *= 0.6;  // a JRA horse usually does well against local horses
    frac = std::clamp(frac, 0.0, 1.0);
    run.position = NearestFree(r.positionTaken, 2 + static_cast<int>(std::lround(frac * (n - 2))), 2, n);
  }
  run.horseNumber = NearestFree(r.numberTaken, rng_.Int(1, n), 1, n);
  int wantPop = win ? 1 + static_cast<int>(std::lround(std::fabs(rng_.Normal(0, 1.8))))
                    : run.position + static_cast<int>(std::lround(rng_.Normal(0, 2.5)));
  run.popularity = NearestFree(r.popularityTaken, std::clamp(wantPop, 1, n), 1, n);
  run.odds = OddsForPopularity(rng_, run.popularity, n);
}

int TypicalAge(const Race& r, Rng& rng) {
  if (r.raceType == 11) return 2;
  if (r.raceType == 12) return 3;
  return rng.Int(3, 6);
}

void Builder::FinishHistoricalRaces() {
  for (std::size_t ri = 0; ri < w_.races.size(); ++ri) {
    Race& r = w_.races[ri];
    if (r.current) continue;
    const int n = r.registered;
    const int year = YearOf(r.date);
    int winnerRun = -1, secondRun = -1;
    for (int ru : r.runs) {
      int pos = w_.runs[static_cast<std::size_t>(ru)].position;
      if (pos == 1) winnerRun = ru;
      if (pos == 2) secondRun = ru;
    }
    auto name = [&](int runIndex, std::string& id, std::string& nm) {
      if (runIndex >= 0) {
        const Horse& h = w_.horses[static_cast<std::size_t>(w_.runs[static_cast<std::size_t>(runIndex)].horse)];
        id = h.id;
        nm = h.name;
      } else {
        const Phantom& p = PhantomBornIn(year - TypicalAge(r, rng_));
        id = p.id;
        nm = p.name;
      }
    };
    name(winnerRun, r.winnerId, r.winnerName);
    name(secondRun, r.secondId, r.secondName);
    if (r.secondId == r.winnerId) name(-1, r.secondId, r.secondName);

    const int mask = CornerMask(r.track);
    for (int ru : r.runs) {
      Run& run = w_.runs[static_cast<std::size_t>(ru)];
      const Horse& h = w_.horses[static_cast<std::size_t>(run.horse)];
      const int gap = r.gaps[static_cast<std::size_t>(run.position - 1)];
      run.time = r.winnerTime + gap;
      run.timeDiff = run.position == 1 ? -(n >= 2 ? r.gaps[1] : 0) : gap;
      run.hasTimeDiff = true;
      run.bracket = BracketsOf(n)[static_cast<std::size_t>(run.horseNumber)];
      run.prize = run.position <= 5 ? r.prize[static_cast<std::size_t>(run.position - 1)] : 0;
      double early = 1.0 + std::clamp(kStyleEarly[h.style] + rng_.Normal(0, 0.1), 0.0, 1.0) * (n - 1);
      if (r.dataKind == 'B') {
        // Races abroad come with the result and the time only.
        run.popularity = 0;
        run.odds = 0;
        continue;
      }
      for (int c = 1; c <= 4; ++c)
        if (mask & (1 << (c - 1)))
          run.corners[static_cast<std::size_t>(c - 1)] =
              CornerPosition(rng_, early, run.position, CornerTime(r.track, c), n);
      double behind = mask & 8 ? (run.corners[3] - 1) * 1.7 : (early - 1) * 1.5;
      int g4 = std::max(0, static_cast<int>(std::lround(behind + rng_.Normal(0, 1.0))));
      run.lastThree = RunnerLastThree(r, gap, g4);
    }
  }
}

void Builder::FinishHorse(int horseIndex) {
  Horse& h = w_.horses[static_cast<std::size_t>(horseIndex)];
  const int past = static_cast<int>(h.runs.size()) - 1;  // the last run is the demo meeting's
  if (rng_.Chance(0.2)) h.blinkersFrom = rng_.Int(0, past);
  const Race& debut = w_.races[static_cast<std::size_t>(w_.runs[static_cast<std::size_t>(h.runs[0])].race)];
  h.registeredDate = debut.date - rng_.Int(60, 150);
  int body = h.bodyBase - (past > 0 && YearOf(w_.races[static_cast<std::size_t>(w_.runs[static_cast<std::size_t>(h.runs[0])].race)].date) - h.birthYear == 2 ? 10 : 0);
  bool previousMeasured = false;
  for (int j = 0; j < past; ++j) {
    Run& run = w_.runs[static_cast<std::size_t>(h.runs[static_cast<std::size_t>(j)])];
    const Race& r = w_.races[static_cast<std::size_t>(run.race)];
    run.blinkers = h.blinkersFrom >= 0 && j >= h.blinkersFrom;
    // A rider who is not already on another of the demo's horses in that race.
    for (int attempt = 0;; ++attempt) {
      int jockey = attempt == 0 && rng_.Chance(0.65) ? h.mainJockey : rng_.Int(0, kRegularJockeys - 1);
      bool taken = false;
      for (int other : r.runs)
        if (other != h.runs[static_cast<std::size_t>(j)] && w_.runs[static_cast<std::size_t>(other)].jockey == jockey)
          taken = true;
      if (!taken || attempt > 50) {
        run.jockey = jockey;
        break;
      }
    }
    run.weight = WeightCarried(w_, r, h, run.jockey);
    if (r.dataKind == 'B') {
      run.bodyWeight = 0;  // not weighed abroad
      run.bodyChangeKind = 2;
      previousMeasured = false;
      continue;
    }
    if (j == 0) {
      run.bodyChangeKind = 1;
    } else {
      int change = 2 * static_cast<int>(std::lround(rng_.Normal(YearOf(r.date) - h.birthYear <= 3 ? 0.4 : 0.1, 2.3)));
      body = std::clamp(body + change, 400, 560);
      run.bodyChange = change;
      run.bodyChangeKind = previousMeasured ? 0 : 2;
    }
    run.bodyWeight = body;
    previousMeasured = true;
  }
}

void Builder::RunCurrentRace(int raceIndex, int card) {
  Race& r = w_.races[static_cast<std::size_t>(raceIndex)];
  Happening here = Happening::None;
  if (card >= 0) {
    for (const CardHappening& c : kCardHappenings)
      if (c.card == card && c.number == r.number) here = c.happening;
  } else if (const auto it = seasonHappenings_.find(raceIndex); it != seasonHappenings_.end()) {
    here = it->second;
  }
  RunRace(w_, r, here);
}

void Builder::AddCurrentRun(int horse, int raceIndex) {
  Run run;
  run.horse = horse;
  run.race = raceIndex;
  w_.runs.push_back(run);
  w_.horses[static_cast<std::size_t>(horse)].runs.push_back(static_cast<int>(w_.runs.size()) - 1);
  w_.races[static_cast<std::size_t>(raceIndex)].runs.push_back(static_cast<int>(w_.runs.size()) - 1);
}

void Builder::Build() {
  w_.masterDate = DaySerial(kYear, 11, 14);
  if (weeks_ > 1) {
    BuildSeason();
    return;
  }
  MakeMeetings();
  for (std::size_t mi = 0; mi < w_.meetings.size(); ++mi) {
    for (int raceIndex : w_.meetings[mi].races) {
      const int n = w_.races[static_cast<std::size_t>(raceIndex)].registered;
      for (int k = 0; k < n; ++k) AddCurrentRun(NewHorse(w_.races[static_cast<std::size_t>(raceIndex)]), raceIndex);
    }
  }
  FinishHistoricalRaces();
  for (std::size_t h = 0; h < w_.horses.size(); ++h) FinishHorse(static_cast<int>(h));
  for (std::size_t mi = 0; mi < w_.meetings.size(); ++mi)
    for (int raceIndex : w_.meetings[mi].races) RunCurrentRace(raceIndex, static_cast<int>(mi));
}

// Whether a horse that has run in the season may take a place in a race:
// its age, jumping or flat, its surface and distance, and the class its
// wins so far put it in.
bool Builder::CanRun(int horse, const Race& r) const {
  const Horse& h = w_.horses[static_cast<std::size_t>(horse)];
  const int age = YearOf(r.date) - h.birthYear;
  const bool jump = r.track.surface == Surface::Jump;
  if (jump != h.jumper) return false;
  if ((r.raceType == 11 && age != 2) || (r.raceType == 12 && age != 3) || (r.raceType == 13 && age < 3) ||
      (r.raceType == 14 && age < 4))
    return false;
  if (jump) return true;
  if (r.cls == C::Newcomer || h.surface != r.track.surface || std::abs(h.distance - r.track.distance) > 600)
    return false;
  const int wins = wins_[static_cast<std::size_t>(horse)];
  ClassKind level = ClassOfLevel(std::min(wins, 4));
  if (wins == 0 && r.date > DaySerial(h.birthYear + 3, 9, 10)) level = C::Win1;  // an old maiden
  return level == r.cls;
}

// A field of the season: most runners come back from earlier weekends of
// the season when they are rested and fit the race; the rest are new to
// the season, with careers that ended before it began.
void Builder::FillSeasonRace(int raceIndex) {
  const Race& race = w_.races[static_cast<std::size_t>(raceIndex)];
  const int n = race.registered;
  std::vector<int> rested;
  for (int h : pool_)
    if (ready_[static_cast<std::size_t>(h)] <= race.date && CanRun(h, race)) rested.push_back(h);
  rng_.Shuffle(rested);
  const int back = std::min(static_cast<int>(rested.size()), static_cast<int>(std::lround(n * 0.85)));
  for (int k = 0; k < back; ++k) {
    const int h = rested[static_cast<std::size_t>(k)];
    ready_[static_cast<std::size_t>(h)] = std::numeric_limits<int>::max();
    AddCurrentRun(h, raceIndex);
  }
  for (int k = back; k < n; ++k) {
    const int h = NewHorse(w_.races[static_cast<std::size_t>(raceIndex)]);
    AddCurrentRun(h, raceIndex);
    FinishHorse(h);
    int wins = 0;
    for (int ru : w_.horses[static_cast<std::size_t>(h)].runs) wins += w_.runs[static_cast<std::size_t>(ru)].position == 1;
    wins_.resize(w_.horses.size(), 0);
    ready_.resize(w_.horses.size(), std::numeric_limits<int>::max());
    wins_[static_cast<std::size_t>(h)] = wins;
    pool_.push_back(h);
  }
}

// A season: one race weekend after the other, its fields and then its
// results, so that the next weekends can take its runners.
void Builder::BuildSeason() {
  MakeSeasonMeetings();
  const int seasonMeetings = static_cast<int>(w_.meetings.size());
  MakeMeetings();
  careerEnd_ = w_.meetings.front().date - 1;
  std::size_t mi = 0;
  while (mi < w_.meetings.size()) {
    const int saturday = SaturdayOnOrBefore(w_.meetings[mi].date);
    std::size_t end = mi;
    while (end < w_.meetings.size() && SaturdayOnOrBefore(w_.meetings[end].date) == saturday) ++end;
    for (std::size_t k = mi; k < end; ++k)
      for (int raceIndex : w_.meetings[k].races) FillSeasonRace(raceIndex);
    for (std::size_t k = mi; k < end; ++k)
      for (int raceIndex : w_.meetings[k].races) {
        RunCurrentRace(raceIndex, static_cast<int>(k) - seasonMeetings);
        const Race& r = w_.races[static_cast<std::size_t>(raceIndex)];
        if (!r.finished) continue;
        for (int ru : r.runs) {
          const Run& run = w_.runs[static_cast<std::size_t>(ru)];
          wins_[static_cast<std::size_t>(run.horse)] += run.position == 1;
          ready_[static_cast<std::size_t>(run.horse)] = r.date + 7 * std::max(2, GapWeeks(rng_));
        }
      }
    mi = end;
  }
  FinishHistoricalRaces();
}

}  // namespace

bool InSeason(const World& w, const Race& r) { return r.current && r.date < w.demoSaturday; }

bool RanInSeason(const World& w, const Horse& h) {
  for (int ru : h.runs)
    if (InSeason(w, w.races[static_cast<std::size_t>(w.runs[static_cast<std::size_t>(ru)].race)])) return true;
  return false;
}

World BuildWorld(std::uint32_t seed, int weeks) {
  World w(seed);
  w.demoSaturday = DaySerial(kYear, 11, 16);
  Builder(w, std::max(weeks, 1)).Build();
  return w;
}

}  // namespace furlong::demo
