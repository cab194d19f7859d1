// Texts the race cards and the index table derive from the records.
#include "analysis/RunnerCellTexts.h"

#include <gtest/gtest.h>

#include <string>

#include "StoreTestSupport.h"
#include "store/Encoding.h"

namespace furlong {
namespace {

std::string Race(const char* grade, const char* condition) {
  std::string ra = test::BlankRecord("RA", kRaLength);
  test::Put(ra, 615, grade);
  test::Put(ra, 635, condition);
  return ra;
}

std::string Utf8(std::string_view sjis) { return SjisToUtf8(sjis); }

TEST(RunnerCellTexts, ClassTextFromGradeThenConditionCode) {
  EXPECT_EQ(Utf8(ClassText(Race("A", "999"))), "G1");
  EXPECT_EQ(Utf8(ClassText(Race("C", "010"))), "G3");
  EXPECT_EQ(Utf8(ClassText(Race(" ", "701"))), "新馬");
  EXPECT_EQ(Utf8(ClassText(Race(" ", "702"))), "未出走");
  EXPECT_EQ(Utf8(ClassText(Race(" ", "703"))), "未勝利");
  EXPECT_EQ(Utf8(ClassText(Race("E", "999"))), "ｵｰﾌﾟﾝ");
  EXPECT_EQ(Utf8(ClassText(Race(" ", "010"))), "1000下");
  EXPECT_EQ(Utf8(ClassText(Race(" ", "005"))), " 500下");
  // No class: a blank or zero code; a listed or special race names itself.
  EXPECT_EQ(Utf8(ClassText(Race(" ", "   "))), " ");
  EXPECT_EQ(Utf8(ClassText(Race(" ", "000"))), " ");
  EXPECT_EQ(Utf8(ClassText(Race("D", "000"))), "重賞");
  EXPECT_EQ(Utf8(ClassText(Race("E", "   "))), "特別");
}

TEST(RunnerCellTexts, StyleLetterBoundariesAreComparedInTenths) {
  EXPECT_EQ(Utf8(StyleLetter("     ")), " ");
  EXPECT_EQ(Utf8(StyleLetter("  1.9")), "逃");
  EXPECT_EQ(Utf8(StyleLetter("  2.0")), "先");
  EXPECT_EQ(Utf8(StyleLetter("  5.0")), "先");
  EXPECT_EQ(Utf8(StyleLetter("  5.1")), "差");
  EXPECT_EQ(Utf8(StyleLetter("  7.9")), "差");
  EXPECT_EQ(Utf8(StyleLetter("  8.0")), "追");
}

TEST(RunnerCellTexts, LastThreeFurlongsAreTripledForJumpsAndBlankWithoutATime) {
  std::string se = test::BlankRecord("SE", kSeLength);
  std::string ra = test::BlankRecord("RA", kRaLength);
  test::Put(ra, 706, "17");
  test::Put(se, 391, "345");
  EXPECT_EQ(LastThreeFurlongsText(se, ra), "34.5");
  test::Put(ra, 706, "53");
  test::Put(se, 391, "125");
  EXPECT_EQ(LastThreeFurlongsText(se, ra), "37.5");
  for (const char* none : {"999", "000", "   "}) {
    test::Put(se, 391, none);
    EXPECT_EQ(LastThreeFurlongsText(se, ra), "") << none;
  }
}

TEST(RunnerCellTexts, PlacingCountsAndGoingAndCoat) {
  std::string um = test::BlankRecord("UM", kUmLength);
  test::Put(um, 1107, "003001000002000012");
  const PlacingCounts counts = ReadPlacingCounts(um, 1107);
  EXPECT_EQ(counts, (PlacingCounts{3, 1, 0, 2, 0, 12}));
  EXPECT_EQ(CountsText(counts), " 3- 1- 0- 2- 0-12");
  EXPECT_EQ(Utf8(GoingName(2)), "稍重");
  EXPECT_EQ(Utf8(GoingName(0)), " ");
  EXPECT_EQ(Utf8(CoatName(2)), "栃栗毛");
  EXPECT_EQ(Utf8(CoatName(1)), "栗毛  ");
  EXPECT_EQ(CoatName(12), "      ");

  std::string ra = test::BlankRecord("RA", kRaLength);
  test::Put(ra, 889, "23");
  test::Put(ra, 706, "  ");  // blank track: turf going
  EXPECT_EQ(GoingCode(ra), 2);
  test::Put(ra, 706, "29");
  EXPECT_EQ(GoingCode(ra), 3);
  test::Put(ra, 706, "53");
  EXPECT_EQ(GoingCode(ra), 0);
}

TEST(RunnerCellTexts, PredictedOddsFieldsOfEachHorse) {
  std::string odds(kOddsLength, ' ');
  test::Put(odds, 20, "  12.3");
  test::Put(odds, 20 + 6 * 17, " 101.5");
  test::Put(odds, 128 + 6, "   2.1");
  EXPECT_EQ(PredictedWinOdds(odds, 1), "  12.3");
  EXPECT_EQ(PredictedWinOdds(odds, 18), " 101.5");
  EXPECT_EQ(PredictedPlaceOdds(odds, 2), "   2.1");
  EXPECT_EQ(PredictedWinOdds(odds, 19), "");
  EXPECT_TRUE(HasOdds("  12.3"));
  EXPECT_FALSE(HasOdds("   0.0"));
  EXPECT_FALSE(HasOdds("   0.5"));  // the store's number rule reads the whole digits
  EXPECT_FALSE(HasOdds("      "));
}

TEST(RunnerCellTexts, NamesLoseFullWidthSpacesAndDatesGetDots) {
  EXPECT_EQ(Utf8(DisplayName(Utf8ToSjis("ハヤテ　メロディ　  "))), "ハヤテメロディ");
  std::string ra = test::BlankRecord("RA", kRaLength);
  test::Put(ra, 12, "20040105");
  EXPECT_EQ(RaceDateText(ra), "2004.01.05");
}

}  // namespace
}  // namespace furlong
