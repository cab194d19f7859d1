#include "analysis/RunningOrderDiagram.h"

#include <gtest/gtest.h>

#include <memory>

namespace furlong {
namespace {

TEST(RunningOrderDiagram, TheLargestValueIsDrawnAtExactly380) {
  // 380 / 1.31 * 1.31 is 379.99999999999994 in a double.
  ASSERT_LT(380.0 / 1.31 * 1.31, 380.0);
  EXPECT_EQ(DiagramX(1.31, 1.31), 380);
  EXPECT_EQ(DiagramX(2.45, 2.45), 380);
  EXPECT_EQ(DiagramX(4.0, 1.0), 95);
  EXPECT_EQ(DiagramX(3.0, 1.0), 126);  // 126.67 truncated
}

TEST(RunningOrderDiagram, RowsSpreadByHorseNumber) {
  EXPECT_EQ(DiagramY(16, 15), 145);  // 155 / 16 * 15 = 145.3125
  EXPECT_EQ(DiagramY(18, 0), 0);
  EXPECT_EQ(DiagramY(18, 17), 146);  // 146.39
  EXPECT_EQ(DiagramY(5, 4), 124);
}

TEST(RunningOrderDiagram, OnlyRunnersWithAValueAppearInRunnerOrder) {
  auto runners = std::make_unique<RaceRunners>();
  std::array<DiagramCorner, 4> corners;
  corners[3].count = 5;  // left from an earlier race
  (*runners)[0].PastDevelopment[0] = {2.0, 0.0, 1.0, 0.0};
  (*runners)[2].PastDevelopment[0] = {4.0, 0.0, 3.0, 0.0};
  (*runners)[3].PastDevelopment[0] = {1.0, 0.0, -1.0, 0.0};
  (*runners)[4].PastDevelopment[0] = {9.0, 9.0, 9.0, 9.0};  // beyond the field
  (*runners)[1].PastDevelopment[1] = {9.0, 9.0, 9.0, 9.0};  // not the last run
  DrawRunningOrderDiagram(*runners, 4, corners);

  ASSERT_EQ(corners[0].count, 3);
  EXPECT_EQ(corners[0].numbers[0].horse, 1);
  EXPECT_EQ(corners[0].numbers[0].x, 190);
  EXPECT_EQ(corners[0].numbers[0].y, 0);
  EXPECT_EQ(corners[0].numbers[1].horse, 3);
  EXPECT_EQ(corners[0].numbers[1].x, 380);
  EXPECT_EQ(corners[0].numbers[1].y, 77);  // 155 / 4 * 2 = 77.5
  EXPECT_EQ(corners[0].numbers[2].horse, 4);
  EXPECT_EQ(corners[0].numbers[2].x, 95);
  EXPECT_EQ(corners[0].numbers[2].y, 116);  // 116.25

  EXPECT_EQ(corners[1].count, 0);  // nobody has a value: only the rectangle
  ASSERT_EQ(corners[2].count, 2);   // a negative value is not drawn
  EXPECT_EQ(corners[2].numbers[0].x, 126);
  EXPECT_EQ(corners[2].numbers[1].x, 380);
  EXPECT_EQ(corners[3].count, 0);
}

}  // namespace
}  // namespace furlong
