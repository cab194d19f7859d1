#pragma once
// What the demo's records share: the record head (kind, creation date and
// race key), time texts, the starters and finishers of a race, and a run's
// running style. For the record files of the demo library only.
#include <string>

#include "demo/DemoWorld.h"
#include "demo/RecordBuffer.h"

namespace furlong::demo {

std::string TwoDigits(int v);

// "MSSt": minutes, seconds, tenths.
std::string RaceTime(int tenths);

// Data kind and creation date of a record: results come a few days after
// the race, the demo meetings' records the day they were published.
void PutStamp(RecordBuffer& b, const Race& r);

// Date, racecourse, meeting, day and race number.
void PutRaceKey(RecordBuffer& b, const Race& r);

// The runners that started (a scratched one did not).
int Starters(const World& w, const Race& r);

// How a run was ridden, from the first corner it was placed at: 1 led,
// 2 stalked, 3 mid-field, 4 closed; 0 when it has no corner positions.
int RunningStyle(const Run& run, const Race& r);

}  // namespace furlong::demo
