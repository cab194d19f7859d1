#pragma once
// The detailed race card (出馬表(詳細), StringGrid1) as data: per runner the
// texts of its own columns, per past run its line in each of the past-run
// columns (a cell lists the five runs, the fifth-last at the top) and the
// five lines of each career-record column, every text with its colour role.
// The window paints them at its own offsets, fonts and backgrounds;
// furlong-cli prints them as JSON. Texts are Shift-JIS, exactly as the
// window shows them (leading spaces kept).
#include <array>
#include <string>
#include <string_view>

#include "analysis/RaceCardTexts.h"
#include "analysis/RunnerAnalysis.h"
#include "store/DayTables.h"

namespace furlong {

// One past run's line in each past-run column. A blank run keeps the texts
// its blank records give (mostly spaces), as the window paints them.
struct DetailedPastRunLine {
  CardText date;            // 開催日 "yyyy.mm.dd", " " for a blank run
  CardText interval;        // 間隔, " -- " for a run without one
  CardText bodyWeight;      // 馬体重, "---" for "000"
  CardText weightChange;    // 増減
  CardText racecourse;      // 競馬場
  CardText raceClass;       // クラス
  CardText weightRule;      // 条件
  CardText raceName;        // ﾚｰｽ名
  CardText courseGoing;     // コース: course and going ("芝右･良")
  CardText distance;        // 距離
  CardText weightCarried;   // 斤量 "%4.1f"
  CardText blinkers;        // ﾌﾞﾘﾝｶ
  CardText jockey;          // 騎手
  CardText runners;         // 頭数 " %2d"
  CardText horse;           // 馬番 " %2d"
  CardText popularity;      // 人気 " %2d"
  CardText winOdds;         // 単ｵｯｽﾞ "%5.1f"
  std::array<CardText, 4> corners;  // コーナー 1-4 "%2d"; empty when not drawn
  CardText development;     // 展開指数: four values
  CardText finish;          // 着順 " %2d"
  CardText timeDifference;  // 着差
  CardText front3F;         // 前3F
  CardText last3F;          // 上3F
  CardText ability;         // 能力
  CardText dIndex;          // D指数
  CardText legPower;        // 脚力
  CardText weightValue;     // 重量値
};

// The past-run columns in the grid's order, from 開催日 (grid column 7) to
// 重量値 (33), with the key furlong-cli writes each under. The corner column
// has no single text (`text` is null): its four positions are `corners`.
struct DetailedPastRunColumn {
  const char* key;
  CardText DetailedPastRunLine::*text;
};
inline constexpr int kDetailedFirstPastRunColumn = 7;
extern const std::array<DetailedPastRunColumn, 27> kDetailedPastRunColumns;

// The three career-record columns, five lines each.
struct DetailedRecordTexts {
  std::array<CardText, 5> placings;          // 実績: all runs, turf right and left, dirt right and left
  std::array<CardText, 5> distancePlacings;  // 距離別実績: three distance bands, the two average distances
  std::array<CardText, 5> placeRates;        // 複勝率 of the blocks of 実績
};

// One runner row of the detailed race card.
// 枠, 馬, 馬名 and 斤量 as on the race card.
struct DetailedRaceCardRow : RaceCardRunner {
  CardText interval;          // 間隔: days since the last run
  WinRateTexts winRate;       // 勝率
  std::string jockey, trainer, owner;  // 騎手･調教師･馬主
  std::array<DetailedPastRunLine, kPastRuns> past;  // [0] = 前走 .. [4] = ５走前
  DetailedRecordTexts records;
};

// The detailed race card row of runner `runner` (0-17) of race slot `slot`.
DetailedRaceCardRow MakeDetailedRaceCardRow(const DayTables& day, const RunnerAnalysis& a, int slot, int runner);
// Only its record columns.
DetailedRecordTexts MakeDetailedRecordTexts(std::string_view um, const RunnerAnalysis& a);

}  // namespace furlong
