#pragma once
// Standard times per racecourse, surface and distance band: the yardstick the
// per-run indices measure a past run against.
#include <array>
#include <climits>

namespace furlong {

// One row of a standard time table: racecourse code (as a number), the upper
// distance limit of the band in metres (inclusive; kOpenBand for "and above")
// and the three standards in seconds.
struct StandardTimeBand {
  int course;
  int upTo;
  double front3F;
  double last3F;
  double closing;
};

inline constexpr int kOpenBand = INT_MAX;

struct StandardTimes {
  double StdFront3F = 0;
  double StdLast3F = 0;
  double StdClosing = 0;
  bool available = false;  // false: the racecourse has no rows (not a JRA course 1-10)
};

// Rows grouped by racecourse, bands in ascending order within each racecourse.
extern const std::array<StandardTimeBand, 68> TurfStandardTimes;
extern const std::array<StandardTimeBand, 32> DirtStandardTimes;

// The standards of the racecourse's first band whose upper limit is not below
// the distance (whole metres). `dirt` picks the dirt table (dirt and jump
// races, track code 23 and above), otherwise the turf table.
StandardTimes LookUpStandardTimes(bool dirt, int distance, int courseCode);

}  // namespace furlong
