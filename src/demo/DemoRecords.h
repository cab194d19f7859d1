#pragma once
// JV-Data records (and the predicted odds records) of the demo world. Each
// function returns one whole record of its exact length, CR LF included.
#include <string>

#include "demo/DemoWorld.h"

namespace furlong::demo {

std::string MakeRaceRecord(const World& w, const Race& race);      // RA, 1272 bytes
std::string MakeRunnerRecord(const World& w, const Run& run);      // SE, 555 bytes
std::string MakePayoutRecord(const World& w, const Race& race);    // HR, 719 bytes (a run race)
std::string MakeHorseMaster(const World& w, const Horse& horse);   // UM, 1609 bytes
// The older 1577-byte horse master layout, for the legacy files.
std::string MakeLegacyHorseMaster(const World& w, const Horse& horse);
// A predicted odds record (1461 bytes) as the JRDB ('J') or KOL ('K')
// conversion writes it.
std::string MakeOddsRecord(const World& w, const Race& race, char source);

// The KOL racecourse code of a JRA racecourse code.
std::string KolCourseCode(const std::string& course);

}  // namespace furlong::demo
