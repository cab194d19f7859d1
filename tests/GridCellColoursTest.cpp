#include "analysis/GridCellColours.h"

#include <gtest/gtest.h>

#include "store/Encoding.h"

namespace furlong {
namespace {

TEST(GridCellColours, FrameCellsTakeTheFrameColourOfTheirText) {
  VerificationRow row;
  row[kVerFrame] = "4";
  EXPECT_EQ(VerificationCellBackground(row, kVerFrame), (Rgb{0, 0, 255}));
  row[kVerFrame] = "7";
  EXPECT_EQ(VerificationCellBackground(row, kVerFrame), (Rgb{255, 128, 0}));
  row[kVerFrame] = " ";
  EXPECT_FALSE(VerificationCellBackground(row, kVerFrame).has_value());
  row[kVerFrame] = "9";
  EXPECT_FALSE(VerificationCellBackground(row, kVerFrame).has_value());
}

TEST(GridCellColours, HorseNameShowsTheFinishingPosition) {
  VerificationRow v;
  v[kVerFinish] = "  ";
  EXPECT_EQ(VerificationCellBackground(v, kVerName), (Rgb{255, 255, 255}));
  v[kVerFinish] = " 1";
  EXPECT_EQ(VerificationCellBackground(v, kVerName), (Rgb{255, 185, 255}));
  v[kVerFinish] = SJ("―");
  EXPECT_EQ(VerificationCellBackground(v, kVerName), (Rgb{255, 255, 255}));
  PredictionRow p;
  p[kPreFinish] = " 2";
  EXPECT_EQ(PredictionCellBackground(p, kPreName), (Rgb{202, 255, 228}));
  p[kPreFinish] = " 3";
  EXPECT_EQ(PredictionCellBackground(p, kPreName), (Rgb{255, 255, 168}));
}

TEST(GridCellColours, FixedColumnColours) {
  VerificationRow v;
  EXPECT_EQ(VerificationCellBackground(v, kVerOdds), (Rgb{255, 208, 255}));
  EXPECT_EQ(VerificationCellBackground(v, kVerTotalRank), (Rgb{255, 223, 223}));
  EXPECT_EQ(VerificationCellBackground(v, kVerDIndexRank), (Rgb{255, 255, 202}));
  EXPECT_EQ(VerificationCellBackground(v, kVerFinish), (Rgb{0, 255, 255}));
  PredictionRow p;
  EXPECT_EQ(PredictionCellBackground(p, kPreLongshot), (Rgb{179, 217, 255}));
  EXPECT_EQ(PredictionCellBackground(p, kPreJockey), (Rgb{255, 255, 255}));
  EXPECT_EQ(CellInteger(" 12"), 12);
  EXPECT_EQ(CellInteger("1a"), 0);
  EXPECT_EQ(CellInteger(" -3 "), -3);
  EXPECT_EQ(CellInteger("+"), 0);
  EXPECT_EQ(CellInteger("1234567890"), 0);
}

}  // namespace
}  // namespace furlong
