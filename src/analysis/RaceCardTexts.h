#pragma once
// The race card (出馬表, StringGrid2) as data: per runner and per past run
// the text of every item of a cell and its colour role, by named column. The
// window paints these items at its own offsets and fonts; furlong-cli prints
// them as JSON and CSV. Texts are Shift-JIS, exactly as the window shows them.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/Colour.h"
#include "analysis/GraphData.h"
#include "analysis/RunnerAnalysis.h"
#include "store/DayTables.h"

namespace furlong {

// Colour roles of the race card's texts.
enum class CardColour : std::uint8_t {
  kBlack,
  kGreyed,  // a run the filters leave out, a local or overseas run
  kRed,
  kBlue,
  kNavy,
  kMaroon,
  kTurf,  // turf green
  kDirt,  // dirt maroon
  kSilver,
};
Rgb CardColourRgb(CardColour colour);
// "black", "greyed", "red", "blue", "navy", "maroon", "turf", "dirt", "silver".
const char* CardColourName(CardColour colour);

struct CardText {
  std::string text;
  CardColour colour = CardColour::kBlack;
};

// A finishing position or a popularity: red for 1, blue for 2 and 3, black otherwise.
CardColour PlacingColour(int position);

// 距離選択: 無指定, 同距離, +/-400m. The surface filter (馬場選択) is the
// graphs' SurfaceFilter.
enum class DistanceFilter { kAny, kSame, kWithin400 };

// The horse-name cell (馬名), shared with the detailed race card.
struct HorseNameTexts {
  int finish = 0;             // the race's finishing position (placing background)
  std::string sire;           // "[父]" and the sire's name
  std::string sexAgeCoat;     // sex, age, a space and the coat colour
  std::string symbol;         // the horse symbol, four spaces when none
  std::string name;           // the horse name
  std::string dam;            // "[母]" and the dam's name
  std::string mainPrize;      // "本賞金:%7d千円"
  std::string totalPrize;     // "総賞金:%7d千円"
};
HorseNameTexts MakeHorseNameTexts(std::string_view se, std::string_view um);

// The win-rate cell (勝率): three lines, all empty for a horse without runs.
struct WinRateTexts {
  std::string win;    // "勝率　：%5.1f％"
  std::string top2;   // "連対率：%5.1f％"
  std::string top3;   // "複勝率：%5.1f％"
};
WinRateTexts MakeWinRateTexts(std::string_view um);

// One past-run cell (５走前 .. 前走), six lines. Empty (present false) when
// the run is blank.
struct RaceCardPastRun {
  bool present = false;
  // Line 1: date and short race name.
  CardText dateName;
  // Line 2: class, weight rule, jockey.
  CardText raceClass, weightRule, jockey;
  // Line 3: racecourse, going, course, distance, weight carried.
  CardText racecourse, going, course, distance, weightCarried;
  // Line 4: runners, popularity, the four corner positions, finishing position.
  CardText runners, popularity;
  std::array<CardText, 4> corners;
  CardText finish;
  // Line 5: front 3F, last 3F, ability, time difference.
  CardText front3F, last3F, ability, timeDifference;
  // Line 6: the winner, or the second when this runner won.
  CardText otherHorse;
};

// The runner's own cells that the race card and the detailed race card share.
struct RaceCardRunner {
  std::string frame;           // 枠 "%2d"
  int frameNumber = 0;         // its colour
  std::string horse;           // 馬 "%2d"
  HorseNameTexts name;         // 馬名
  std::string weightCarried;   // 斤量 "%4.1f"
};
RaceCardRunner MakeRaceCardRunner(std::string_view se, std::string_view um);

// One runner row of the race card.
struct RaceCardRow : RaceCardRunner {
  std::string winOdds;         // 単ｵｯｽﾞ (predicted), " " when none
  std::string placeOdds;       // 複ｵｯｽﾞ (predicted), " " when none
  std::string mark;            // 予想
  std::string weightChange;    // the change of 斤量
  CardText turfWeight, dirtWeight;          // 重量
  std::string style, styleLetter;           // 脚質: all runs
  std::string styleRecent, styleRecentLetter;  // recent runs (red)
  int distanceBand = 0;                     // 短 0, 中 1, 長 2: the highlighted column
  std::array<CardText, 3> turf, dirt;       // 短 中 長 of turf and dirt
  WinRateTexts winRate;                     // 勝率
  std::string jockey;                       // 騎手
  std::array<RaceCardPastRun, kPastRuns> past;  // [0] = 前走 .. [4] = ５走前
};

// The race card row of runner `runner` (0-17) of race slot `slot`, with the
// past runs greyed as the filters ask.
RaceCardRow MakeRaceCardRow(const DayTables& day, const RunnerAnalysis& a, int slot, int runner,
                            SurfaceFilter surface, DistanceFilter distance);
// Only past run `k` (0 = 前走) of that row.
RaceCardPastRun MakeRaceCardPastRun(const DayTables& day, const RunnerAnalysis& a, int slot, int runner, int k,
                                    SurfaceFilter surface, DistanceFilter distance);

}  // namespace furlong
