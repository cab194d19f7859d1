#pragma once
// Loading one meeting of the store into the day tables.
#include <functional>
#include <string>
#include <string_view>

#include "store/DayTables.h"
#include "store/Store.h"

namespace furlong {

struct DayLoadCallbacks {
  // Called after each of the 24 steps (12 for reading, 12 for the past races)
  // with the number of steps done so far.
  std::function<void(int done, int total)> progress;
  // Called in the second pass for every race slot 0-11, in order (the race
  // list adds a label when the slot holds a race).
  std::function<void(int slot)> raceSlot;
  // Data the loading skipped because it is malformed (UTF-8 text): a horse
  // id that cannot name a file, a horse history holding another horse's
  // runs, a runner file with missing lines.
  std::function<void(const std::string& message)> warning;
};

inline constexpr int kDayLoadSteps = 24;

// Fills every table of `day` for the meeting whose race file and runner file
// exist. A missing horse master is first converted from a legacy file.
// Throws StoreError when a file exists but cannot be read or written.
void LoadMeetingDay(const Store& store, std::string_view meetingBaseName, DayTables& day,
                    const DayLoadCallbacks& callbacks = {});

// The four result texts of one SE record (Shift-JIS, fixed widths). A
// finishing position of "00" shows "―", "--", "-----", "------" only when the
// record names an abnormality (scratched, did not finish, ...); without one
// the race has not been run yet and the four texts are blank.
ResultTexts MakeResultTexts(std::string_view se);

}  // namespace furlong
