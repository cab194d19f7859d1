#pragma once
// The four header lines above the race grids and the colour of the surface
// strip, built from the race record of the analysed race slot.
#include <array>
#include <string>
#include <string_view>

#include "analysis/Colour.h"
#include "store/CodeTables.h"
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

}  // namespace furlong
