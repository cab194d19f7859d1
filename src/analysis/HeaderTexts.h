#pragma once
// The four header lines above the race grids and the colour of the surface
// strip, built from the race record of the analysed race slot.
#include <array>
#include <string>
#include <string_view>

#include "analysis/Colour.h"
#include "store/DayTables.h"

namespace furlong {

struct RaceHeader {
  std::array<std::string, 4> labels;  // Label1..Label4, Shift-JIS
  Rgb panelColour;                    // Panel3: dirt maroon or turf green
};

// Header of race slot `slot` (0-11) of the day tables. A slot outside 0-11
// gives four empty labels on the turf colour.
RaceHeader MakeRaceHeader(const DayTables& day, int slot);

// The same, from one RA record.
RaceHeader MakeRaceHeader(std::string_view ra);

// Code texts of the header (Shift-JIS); exposed for the views and the tests.
const std::string& WeekdayText(int code);              // 1 "土" .. 8 "金", else empty
const std::string& GradeText(std::string_view code);   // 5 columns: "G1   " .. , else 5 spaces
const std::string& RaceTypeText(int code);             // 16 columns, else 16 spaces
const std::string& RaceSymbolText(std::string_view code);  // one of 82 codes, else empty
const std::string& WeightRuleText(std::string_view code);  // "(ﾊﾝﾃﾞ)  " .., else empty
const std::string& TrackText(int code);                // "芝 直線" .., else empty
// Condition code text; ageColumn 2 gives no prefix, 3, 4 and 5 give "3歳",
// "4歳" and "5歳" before a class limit.
std::string ConditionText(int code, int ageColumn);

}  // namespace furlong
