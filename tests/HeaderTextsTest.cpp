#include "analysis/HeaderTexts.h"

#include <gtest/gtest.h>

#include "RaceDayBuilder.h"
#include "store/Encoding.h"

namespace furlong {
namespace {

using test::PutAt;

// A race record of Nakayama, 5 January 2004 (Monday), 1st meeting day 2,
// race 11 at 15:25, with the fields the header reads.
class HeaderTextsTest : public testing::Test {
 protected:
  void SetUp() override {
    day_ = test::BlankDay();
    ra().Blank();
    PutAt(ra(), 1, "RA");
    PutAt(ra(), 12, "20040105");
    PutAt(ra(), 20, "06");
    PutAt(ra(), 22, "01");
    PutAt(ra(), 24, "02");
    PutAt(ra(), 26, "11");
    PutAt(ra(), 28, "4");
    PutAt(ra(), 33, Utf8ToSjis("中山金杯"));
    PutAt(ra(), 612, "000");
    PutAt(ra(), 615, "C");
    PutAt(ra(), 617, "14");
    PutAt(ra(), 619, "N00");
    PutAt(ra(), 622, "1");
    PutAt(ra(), 623, "000000999999999");
    PutAt(ra(), 698, "2000");
    PutAt(ra(), 706, "17");
    PutAt(ra(), 874, "1525");
    PutAt(ra(), 882, "16");
  }
  RaRecord& ra() { return day_->RaceRecords[3]; }
  std::string Label(int i) { return SjisToUtf8(MakeRaceHeader(*day_, 3).labels[i]); }

  std::unique_ptr<DayTables> day_;
};

TEST_F(HeaderTextsTest, FirstLineCopiesDateMeetingAndStartTimeAsStored) {
  EXPECT_EQ(Label(0), "2004年01月05日(月)中山  01回02日11R   15.25発走  ");
  PutAt(ra(), 16, "0101");
  PutAt(ra(), 28, "3");
  EXPECT_EQ(Label(0), "2004年01月01日(祝)中山  01回02日11R   15.25発走  ");
  PutAt(ra(), 28, " ");
  PutAt(ra(), 20, "44");
  EXPECT_EQ(Label(0), "2004年01月01日()地方  01回02日11R   15.25発走  ");
}

TEST_F(HeaderTextsTest, SecondLineHasEditionPrefixOnlyFromOne) {
  const std::string name = "中山金杯" + std::string(52, ' ');
  EXPECT_EQ(Label(1), name);
  PutAt(ra(), 612, "045");
  EXPECT_EQ(Label(1), "第45回 " + name);
  PutAt(ra(), 612, "001");
  EXPECT_EQ(Label(1), "第1回 " + name);
}

TEST_F(HeaderTextsTest, ThirdLineJoinsRunnersDistanceTrackGradeTypeAndSymbol) {
  EXPECT_EQ(Label(2), "16頭  2000ﾒｰﾄﾙ 芝 右回り G3    ｻﾗ系4歳以上      (国際)");
  PutAt(ra(), 615, " ");
  PutAt(ra(), 619, "000");
  PutAt(ra(), 882, "08");
  PutAt(ra(), 698, "1000");
  PutAt(ra(), 706, "29");
  EXPECT_EQ(Label(2), " 8頭  1000ﾒｰﾄﾙ ﾀﾞｰﾄ 直線       ｻﾗ系4歳以上      ");
}

TEST_F(HeaderTextsTest, ThirdLineShowsRegisteredRunnersAsTheRecordHoldsThem) {
  PutAt(ra(), 882, "20");
  EXPECT_EQ(Label(2).substr(0, 2), "20");
}

TEST_F(HeaderTextsTest, FourthLineCombinesConditionsByRaceType) {
  // Type 14 with an open 4-year-old condition: only that text.
  EXPECT_EQ(Label(3), "(ﾊﾝﾃﾞ)   オープン");
  // Type 13 with a class limit for 3-year-olds: all three older columns.
  PutAt(ra(), 617, "13");
  PutAt(ra(), 622, "4");
  PutAt(ra(), 623, "000005010016");
  EXPECT_EQ(Label(3), "(定量)   3歳500万下  4歳1000万下  5歳1600万下");
  PutAt(ra(), 626, "999");
  EXPECT_EQ(Label(3), "(定量)   オープン");
  PutAt(ra(), 617, "19");
  PutAt(ra(), 629, "100");
  EXPECT_EQ(Label(3), "(定量)   4歳1億下  5歳1600万下");
  PutAt(ra(), 617, "11");
  PutAt(ra(), 623, "701");
  PutAt(ra(), 622, "3");
  EXPECT_EQ(Label(3), "(馬齢)   新馬");
  PutAt(ra(), 617, "22");
  PutAt(ra(), 626, "703");
  EXPECT_EQ(Label(3), "(馬齢)   未勝利");
  PutAt(ra(), 617, "15");
  PutAt(ra(), 622, " ");
  EXPECT_EQ(Label(3), " ");
}

TEST_F(HeaderTextsTest, PanelIsMaroonOnlyForTrackCodes23And24) {
  for (const char* track : {"23", "24"}) {
    PutAt(ra(), 706, track);
    EXPECT_EQ(MakeRaceHeader(*day_, 3).panelColour, kDirtMaroon) << track;
  }
  for (const char* track : {"10", "17", "22", "29", "51", "59", "  "}) {
    PutAt(ra(), 706, track);
    EXPECT_EQ(MakeRaceHeader(*day_, 3).panelColour, kTurfGreen) << track;
  }
  EXPECT_EQ(kDirtMaroon, (Rgb{128, 0, 0}));
  EXPECT_EQ(kTurfGreen, (Rgb{0, 128, 0}));
}

TEST(HeaderCodeTexts, RaceSymbolJoinsPartsOnlyForListedCodes) {
  auto symbol = [](const char* code) { return SjisToUtf8(RaceSymbolText(code)); };
  EXPECT_EQ(symbol("A34"), "(混合)牡・せん(特指)");
  EXPECT_EQ(symbol("040"), "牡･牝");  // half-width dot without a first part
  EXPECT_EQ(RaceSymbolText("040").size(), 5u);
  EXPECT_EQ(symbol("A40"), "(混合)牡・牝");
  EXPECT_EQ(symbol("A02"), "(混合)・見習騎手");
  EXPECT_EQ(symbol("002"), "見習騎手");
  EXPECT_EQ(symbol("N41"), "(国際)牡・牝(指定)");
  EXPECT_EQ(symbol("K03"), "(市)(抽)関西配布馬[指定]");
  EXPECT_EQ(symbol("M04"), "九州産馬(特指)");
  EXPECT_EQ(symbol("000"), "");
  EXPECT_EQ(symbol("045"), "");
  EXPECT_EQ(symbol("A12"), "");  // parts known, code not listed
  EXPECT_EQ(symbol("a34"), "");
}

TEST(HeaderCodeTexts, FixedWidthTablesKeepTheirWidthInBytes) {
  for (int code : {11, 12, 13, 14, 18, 19, 21, 22, 23, 24, 0, 15})
    EXPECT_EQ(RaceTypeText(code).size(), 16u) << code;
  EXPECT_EQ(RaceTypeText(24), RaceTypeText(23));
  for (const char* grade : {"A", "B", "C", "D", "E", "F", "G", "H", " ", "a", ""})
    EXPECT_EQ(GradeText(grade).size(), 5u) << grade;
  EXPECT_EQ(SjisToUtf8(GradeText("D")), "重賞 ");
  EXPECT_EQ(SjisToUtf8(GradeText("G")), "JG2  ");
  for (const char* rule : {"1", "2", "3", "4"}) EXPECT_EQ(WeightRuleText(rule).size(), 8u) << rule;
  EXPECT_EQ(WeightRuleText("5"), "");
}

TEST(HeaderCodeTexts, TrackAndWeekdayTextsByNumber) {
  EXPECT_EQ(SjisToUtf8(TrackText(13)), "芝 左回り(内→外回り)");
  EXPECT_EQ(SjisToUtf8(TrackText(21)), "芝 右回り(内２周)");
  EXPECT_EQ(SjisToUtf8(TrackText(52)), "障害 芝→ﾀﾞｰﾄ");
  EXPECT_EQ(SjisToUtf8(TrackText(56)), "障害 芝　外→内回り");
  EXPECT_EQ(SjisToUtf8(TrackText(58)), "障害 内２周");
  EXPECT_EQ(TrackText(25), "");
  EXPECT_EQ(TrackText(0), "");
  EXPECT_EQ(SjisToUtf8(WeekdayText(1)), "土");
  EXPECT_EQ(SjisToUtf8(WeekdayText(8)), "金");
  EXPECT_EQ(WeekdayText(9), "");
}

TEST(HeaderCodeTexts, ConditionTextPrefixesOnlyClassLimits) {
  EXPECT_EQ(SjisToUtf8(ConditionText(5, 3)), "3歳500万下");
  EXPECT_EQ(SjisToUtf8(ConditionText(99, 2)), "9900万下");
  EXPECT_EQ(SjisToUtf8(ConditionText(100, 2)), "1億下");
  EXPECT_EQ(SjisToUtf8(ConditionText(100, 5)), "5歳1億下");
  EXPECT_EQ(SjisToUtf8(ConditionText(702, 4)), "未出走");
  EXPECT_EQ(SjisToUtf8(ConditionText(999, 5)), "オープン");
  for (int v : {0, 101, 700, 704, 998}) EXPECT_EQ(ConditionText(v, 3), "") << v;
}

TEST(HeaderTexts, SlotOutsideTheDayGivesEmptyLabels) {
  auto day = test::BlankDay();
  RaceHeader h = MakeRaceHeader(*day, 12);
  for (const auto& label : h.labels) EXPECT_EQ(label, "");
}

}  // namespace
}  // namespace furlong
