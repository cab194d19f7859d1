#pragma once
// The index table (指数表, StringGrid4) as data: per runner the rank letters,
// the means and bests of ability, D index and leg power, and per past run
// its surface, distance and three values. The window paints them; furlong-cli
// prints them as JSON. Texts are Shift-JIS, exactly as the window shows them.
#include <array>
#include <string>
#include <string_view>

#include "analysis/RunnerAnalysis.h"
#include "store/DayTables.h"

namespace furlong {

// A rank as a letter: 1 "A", 2 "B", 3 "C", 4 "D", anything else " ".
std::string_view RankLetter(int rank);

// The surface box of a past run: none (blank run), turf green, dirt maroon
// (dirt and jumps).
enum class SurfaceBox { kNone, kTurf, kDirt };
const char* SurfaceBoxName(SurfaceBox box);  // "none", "turf", "dirt"

struct IndexTablePastRun {
  std::string surface;   // "    ", " 芝 ", "ﾀﾞｰﾄ" or "障害"
  SurfaceBox box = SurfaceBox::kNone;
  std::string distance;  // "%4d", " " when none
  std::string ability, dIndex, legPower;
};

// The three indices in the order of the table's columns: 能力, ﾀﾞｯｼｭ (D index), 脚力.
struct IndexTableRow {
  int frameNumber = 0;
  std::string frame;  // "%1d"
  std::string horse;  // "%2d"
  int finish = 0;     // the race's finishing position (placing background)
  std::string name;
  std::array<std::string, 3> meanRank, bestRank;  // letters
  std::array<std::string, 3> mean, best;          // 平均値, 最大値
  std::array<IndexTablePastRun, kPastRuns> past;  // [0] = 前走 .. [4] = ５走前
};

IndexTableRow MakeIndexTableRow(const DayTables& day, const RunnerAnalysis& a, int slot, int runner);

}  // namespace furlong
