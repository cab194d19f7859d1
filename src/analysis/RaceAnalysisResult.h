#pragma once
// What one run of the race analysis shows: the header lines, the cell texts
// of the verification grid (StringGrid5) and the prediction grid
// (StringGrid6), the data sufficiency, the bets and their hit colours, the
// result panel and the running-order diagram. The window and furlong-cli
// both read it; every text is Shift-JIS, exactly as the window shows it.
#include <array>
#include <cstdint>
#include <string>

#include "analysis/Colour.h"
#include "store/DayTables.h"

namespace furlong {

// ---- the two grids --------------------------------------------------------

inline constexpr int kVerificationColumns = 16;
inline constexpr int kPredictionColumns = 10;

// Verification grid (前走検証表) columns.
enum VerificationColumn : int {
  kVerFrame = 0,         // 枠
  kVerHorse = 1,         // 馬 "%2d"
  kVerName = 2,          // 馬名, first 18 bytes
  kVerOdds = 3,          // 単ｵｯｽﾞ
  kVerDevelopment = 4,   // 展開指数 "%5.1f" or "―"
  kVerAbility = 5,       // 能力値 (no text)
  kVerAbilityRank = 6,   // 順位 (no text)
  kVerLegPower = 7,      // 脚力値
  kVerLegPowerRank = 8,  // 順位
  kVerDIndex = 9,        // Ｄ指数
  kVerDIndexRank = 10,   // 順位
  kVerWeight = 11,       // 重量 (no text)
  kVerWeightRank = 12,   // 順位 (no text)
  kVerTotal = 13,        // TOTAL
  kVerTotalRank = 14,    // 順位
  kVerFinish = 15,       // 成績
};

// Prediction grid (予想) columns.
enum PredictionColumn : int {
  kPreFrame = 0,      // 枠
  kPreHorse = 1,      // 馬 "%2d"
  kPreName = 2,       // 馬名, all 36 bytes
  kPreJockey = 3,     // 騎手
  kPreTrainer = 4,    // 調教師
  kPreAxis = 5,       // 軸指数 (AxisIndex)
  kPreCombo = 6,      // 連指数 (ComboIndex)
  kPreLongshot = 7,   // 穴指数
  kPreMark = 8,       // 印
  kPreFinish = 9,     // 着
};

using VerificationRow = std::array<std::string, kVerificationColumns>;
using PredictionRow = std::array<std::string, kPredictionColumns>;

// Sort buttons of the verification grid ("ソート" group of 前走検証表). At most
// one is down; kNone means all are up.
enum class VerificationSort : std::uint8_t {
  kHorseNumber,  // SpeedButton2  "馬番"
  kOdds,         // SpeedButton3  "単ｵｯｽﾞ"
  kDevelopment,  // SpeedButton7  "展開"
  kAbility,      // SpeedButton12 "能力" (hidden)
  kLegPower,     // SpeedButton13 "脚力"
  kDIndex,       // SpeedButton14 "Ｄ指数"
  kWeight,       // SpeedButton15 "重量" (hidden)
  kTotal,        // SpeedButton16 "TOTAL"
  kFinish,       // SpeedButton17 "成績"
  kNone,
};

// Sort buttons of the prediction grid ("ソート" group of 予想).
enum class PredictionSort : std::uint8_t {
  kHorseNumber,  // SpeedButton21 "馬番"
  kAxisIndex,    // SpeedButton22 "単指数"
  kComboIndex,   // SpeedButton23 "連指数"
  kNone,
};

// ---- bets and the result panel ---------------------------------------------

// Background of a kaiLabel: the information background, magenta for a pair
// that paid as a wide, red for one that paid as a quinella or bracket quinella.
enum class BetColour : std::uint8_t { kInfo, kMagenta, kRed };

inline constexpr Rgb kBetMagenta{255, 0, 255};
inline constexpr Rgb kBetRed{255, 0, 0};

// One column of the result panel: 結果, 人気 and 配当 one above the other.
struct ResultEntry {
  std::string result;
  std::string popularity;
  std::string payout;
};

// The "結果" tab: one entry per payout slot of the race.
struct ResultPanel : PayoutSlots<ResultEntry> {};

// ---- the running-order diagram ---------------------------------------------

inline constexpr int kDiagramWidth = 400;
inline constexpr int kDiagramHeight = 160;

// One circled horse number, its top-left corner at (x, y).
struct DiagramNumber {
  int horse = 0;
  int x = 0;
  int y = 0;
};

// One picture (Image1 .. Image4 for corners 1 .. 4): a filled rectangle of
// the background colour with the numbers drawn, in runner order.
struct DiagramCorner {
  std::array<DiagramNumber, kRunnerSlots> numbers{};
  int count = 0;
};

// ---- the whole run ---------------------------------------------------------

struct RaceAnalysisResult {
  int slot = -1;          // the race slot asked for
  bool analysed = false;  // false: stopped because runner slot 0 has no horse number
  // The stop's message (Shift-JIS), empty otherwise; messageShown tells
  // whether it is to be shown (never during the batch run).
  std::string message;
  bool messageShown = false;
  // The tab area (PageControl1) is shown after the run; false during the
  // batch run and after a stop.
  bool pageVisible = false;
  // The six grids are shown (false after a stop).
  bool gridsVisible = false;

  // Label1 .. Label4 and the colour of Panel3 (also the diagram background).
  std::array<std::string, 4> headerLabels;
  Rgb panelColour{0, 128, 0};

  int runnerCount = 0;  // n, registered runners (at most 18)
  int rowCount = 1;     // row count of all six grids: n + 1 (header row included)

  // Rows 1 .. n of the two grids (index 0 = grid row 1), as displayed: sorted.
  std::array<VerificationRow, kRunnerSlots> verificationRows;
  std::array<PredictionRow, kRunnerSlots> predictionRows;

  double dataSufficiency = 0.0;
  std::string dataSufficiencyText;  // Label3D10, "%5.1f"

  std::array<std::string, 6> bets;        // kaiLabel1 .. kaiLabel6
  std::array<std::string, 6> betPayouts;  // haiLabel1 .. haiLabel6, "%7d" or empty
  std::array<BetColour, 6> betColours{};  // kaiLabel backgrounds

  ResultPanel resultPanel;

  std::array<DiagramCorner, 4> diagram;  // corners 1 .. 4

  VerificationSort verificationSort = VerificationSort::kHorseNumber;
  PredictionSort predictionSort = PredictionSort::kHorseNumber;
};

// "info", "magenta" or "red".
const char* BetColourName(BetColour colour);
Rgb BetColourRgb(BetColour colour);

}  // namespace furlong
