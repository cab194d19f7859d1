#include "analysis/StandardTimes.h"

#include <gtest/gtest.h>

namespace furlong {
namespace {

void ExpectStandards(bool dirt, int distance, int course, double front, double last, double closing) {
  SCOPED_TRACE(testing::Message() << (dirt ? "dirt " : "turf ") << distance << " m at " << course);
  StandardTimes s = LookUpStandardTimes(dirt, distance, course);
  ASSERT_TRUE(s.available);
  EXPECT_DOUBLE_EQ(s.StdFront3F, front);
  EXPECT_DOUBLE_EQ(s.StdLast3F, last);
  EXPECT_DOUBLE_EQ(s.StdClosing, closing);
}

TEST(StandardTimes, BandUpperLimitIsInclusiveInWholeMetres) {
  ExpectStandards(false, 1600, 5, 33.1, 33.2, 35.2);
  ExpectStandards(false, 1601, 5, 34.0, 33.1, 35.4);
  ExpectStandards(false, 1200, 1, 32.1, 33.0, 34.8);
  ExpectStandards(false, 1201, 1, 33.8, 33.3, 35.5);
  ExpectStandards(false, 1000, 10, 31.9, 32.7, 34.5);
  ExpectStandards(false, 1001, 10, 30.7, 32.6, 34.1);
}

TEST(StandardTimes, OpenTopBandTakesEveryLongerDistance) {
  ExpectStandards(false, 3200, 8, 35.4, 32.3, 35.1);
  ExpectStandards(false, 3000, 8, 36.4, 32.0, 35.1);
  ExpectStandards(false, 3001, 8, 35.4, 32.3, 35.1);
  ExpectStandards(false, 3600, 6, 36.1, 33.9, 36.4);
}

TEST(StandardTimes, DirtTableServesDirtAndJumpRaces) {
  ExpectStandards(true, 1800, 6, 34.6, 35.4, 37.2);
  ExpectStandards(true, 2400, 6, 36.6, 36.8, 38.7);
  ExpectStandards(true, 2750, 3, 35.7, 35.1, 37.2);  // a jump race at Fukushima
  ExpectStandards(true, 1000, 3, 32.8, 34.8, 36.3);
  ExpectStandards(true, 1700, 7, 34.9, 35.3, 37.2);
  ExpectStandards(true, 1600, 7, 35.1, 36.9, 38.5);
}

TEST(StandardTimes, ShortestBandTakesEveryShorterDistance) {
  ExpectStandards(false, 0, 5, 33.2, 32.2, 34.4);
  ExpectStandards(true, 800, 9, 33.1, 33.3, 35.3);
}

TEST(StandardTimes, RacecoursesOutsideOneToTenHaveNoStandards) {
  for (int course : {0, 11, 30, 44, 61, 99}) {
    EXPECT_FALSE(LookUpStandardTimes(false, 1600, course).available) << course;
    EXPECT_FALSE(LookUpStandardTimes(true, 1600, course).available) << course;
  }
}

// Every JRA racecourse has rows in both tables, in ascending bands that end
// with an open top band, so every distance finds exactly one band.
template <std::size_t N>
void ExpectWellFormed(const std::array<StandardTimeBand, N>& table) {
  for (int course = 1; course <= 10; ++course) {
    int previous = 0, rows = 0;
    bool open = false;
    for (const StandardTimeBand& band : table) {
      if (band.course != course) continue;
      EXPECT_FALSE(open) << "band after the open band at " << course;
      EXPECT_GT(band.upTo, previous) << course;
      previous = band.upTo;
      open = band.upTo == kOpenBand;
      ++rows;
    }
    EXPECT_GT(rows, 0) << course;
    EXPECT_TRUE(open) << course;
  }
  for (std::size_t i = 1; i < N; ++i) EXPECT_LE(table[i - 1].course, table[i].course);
}

TEST(StandardTimes, TablesCoverEveryDistanceOfEveryJraRacecourse) {
  ExpectWellFormed(TurfStandardTimes);
  ExpectWellFormed(DirtStandardTimes);
}

}  // namespace
}  // namespace furlong
