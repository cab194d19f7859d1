#pragma once
// What the demo's records share: the head of a race's records (type, data
// kind, creation date and race key), time texts, the starters of a race and
// a run's running style. For the record files of the demo library only.
#include <cstddef>
#include <string>

#include "demo/DemoWorld.h"
#include "demo/RecordBuffer.h"

namespace furlong::demo {

std::string TwoDigits(int v);

// "MSSt": minutes, seconds, tenths.
std::string RaceTime(int tenths);

// A record of a race, `length` bytes, of record type `type` ("RA", "SE",
// "HR"), its head filled: the data kind and creation date (results come a
// few days after the race, the demo meetings' records the day they were
// published) and the race key (date, racecourse, meeting, day and race
// number).
RecordBuffer StartRaceRecord(std::size_t length, const char* type, const Race& r);

// The runners that started (a scratched one did not).
int Starters(const World& w, const Race& r);

// How a run was ridden, from the first corner it was placed at: 1 led,
// 2 stalked, 3 mid-field, 4 closed; 0 when it has no corner positions.
int RunningStyle(const Run& run, const Race& r);

}  // namespace furlong::demo
