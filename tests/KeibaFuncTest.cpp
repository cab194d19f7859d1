
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/TextFormat.h"
#include "store/TextLines.h"

using namespace furlong;

namespace {

std::string S(const char* utf8) { return Utf8ToSjis(utf8); }

// Every code of two characters from 0-9 and A-Z, the whole space the tables
// are looked up in.
std::vector<std::string> AllTwoCharacterCodes() {
  const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::vector<std::string> codes;
  for (char a : alphabet)
    for (char b : alphabet) codes.push_back({a, b});
  return codes;
}

}  // namespace

TEST(KeibaFunc, CourseNameCoversRacecoursesAndCountries) {
  EXPECT_EQ(CourseName("01"), S("札幌"));
  EXPECT_EQ(CourseName("10"), S("小倉"));
  EXPECT_EQ(CourseName("30"), S("門別"));
  EXPECT_EQ(CourseName("61"), S("中京"));
  EXPECT_EQ(CourseName("K8"), S("キプ"));
  EXPECT_EQ(CourseName("C5"), S("オマ"));
  EXPECT_EQ(CourseName("M6"), S("約  "));
  EXPECT_EQ(CourseName("M8"), S("華  "));
}

TEST(KeibaFunc, CourseNameOfUnlistedOrInexactCodeIsFourSpaces) {
  for (const char* code : {"99", "00", "11", "29", "62", "C4", "F4", "G8", "k8", "1", "001", ""})
    EXPECT_EQ(CourseName(code), "    ") << code;
}

TEST(KeibaFunc, EveryCourseNameIsFourBytesAndEveryShortNameSixBytes) {
  for (const std::string& code : AllTwoCharacterCodes()) {
    EXPECT_EQ(CourseName(code).size(), 4u) << code;
    EXPECT_EQ(CourseShortName(code).size(), 6u) << code;
    EXPECT_TRUE(IsValidSjis(CourseName(code))) << code;
    EXPECT_TRUE(IsValidSjis(CourseShortName(code))) << code;
  }
}

TEST(KeibaFunc, CourseShortNameGroupsJraLocalAndOverseas) {
  EXPECT_EQ(CourseShortName("01"), S("札幌  "));
  EXPECT_EQ(CourseShortName("06"), S("中山  "));
  EXPECT_EQ(CourseShortName("10"), S("小倉  "));
  EXPECT_EQ(CourseShortName("30"), S("地方  "));
  EXPECT_EQ(CourseShortName("58"), S("地方  "));  // a local Sapporo is not the JRA one
  EXPECT_EQ(CourseShortName("61"), S("地方  "));
  EXPECT_EQ(CourseShortName("A0"), S("海外  "));
  EXPECT_EQ(CourseShortName("C4"), S("海外  "));  // overseas although it has no name
  EXPECT_EQ(CourseShortName("N2"), S("海外  "));
  // C5 has a name but is not among the overseas codes.
  EXPECT_EQ(CourseShortName("C5"), "      ");
  for (const char* code : {"00", "11", "29", "62", "99", "a0", ""})
    EXPECT_EQ(CourseShortName(code), "      ") << code;
}

TEST(KeibaFunc, SexNameComparesTheCodeExactly) {
  EXPECT_EQ(SexName("1"), S("牡"));
  EXPECT_EQ(SexName("2"), S("牝"));
  EXPECT_EQ(SexName("3"), S("ｾﾝ"));
  EXPECT_EQ(SexName("3").size(), 2u);  // two half-width characters
  EXPECT_EQ(SexName("0"), "");
  EXPECT_EQ(SexName("4"), "");
  EXPECT_EQ(SexName(" 1"), "");
  EXPECT_EQ(SexName(""), "");
}

TEST(KeibaFunc, HorseMarkNameReadsTheCodeAsANumber) {
  EXPECT_EQ(HorseMarkName("01"), S("(抽)"));
  EXPECT_EQ(HorseMarkName(" 1"), S("(抽)"));
  EXPECT_EQ(HorseMarkName("02"), S("[抽]"));
  EXPECT_EQ(HorseMarkName("12"), S("(父)(市)(地)"));
  EXPECT_EQ(HorseMarkName("31"), S("(特)"));
  EXPECT_EQ(HorseMarkName("41"), S("(父)(外)[地]"));
  // Gaps, zero, beyond the table and text all give one full-width space.
  for (const char* code : {"00", "13", "14", "28", "30", "42", "99", "  ", "ab", ""})
    EXPECT_EQ(HorseMarkName(code), S("　")) << code;
}

TEST(KeibaFunc, CircledNumberOneToEighteen) {
  EXPECT_EQ(CircledNumber(1), S("①"));
  EXPECT_EQ(CircledNumber(10), S("⑩"));
  EXPECT_EQ(CircledNumber(18), S("⑱"));
  for (int n = 1; n <= 18; ++n) EXPECT_EQ(CircledNumber(n).size(), 2u) << n;
  for (int n : {0, 19, -1, 100}) EXPECT_EQ(CircledNumber(n), S("－")) << n;
}

TEST(KeibaFunc, RemoveWideSpacesDeletesOnlyWholeFullWidthSpaces) {
  EXPECT_EQ(RemoveWideSpaces(S("　ディープ　インパクト　　")), S("ディープインパクト"));
  EXPECT_EQ(RemoveWideSpaces(S("　　")), "");
  EXPECT_EQ(RemoveWideSpaces("ABC D"), "ABC D");  // half-width spaces stay
  // "メ" is 0x83 0x81 and "@" is 0x40: the bytes 0x81 0x40 in the middle are
  // not a full-width space.
  EXPECT_EQ(RemoveWideSpaces(S("メ@")), S("メ@"));
  EXPECT_EQ(RemoveWideSpaces(S("メ@　メ")), S("メ@メ"));
  // A lead byte cut off at the end of the text is kept as it is.
  EXPECT_EQ(RemoveWideSpaces(S("　") + "\x81"), "\x81");
}

TEST(KeibaFunc, ZeroSuppressRightAlignsInTheInputWidth) {
  EXPECT_EQ(ZeroSuppress("05"), " 5");
  EXPECT_EQ(ZeroSuppress("120"), "120");
  EXPECT_EQ(ZeroSuppress("0012"), "  12");
  EXPECT_EQ(ZeroSuppress(" 7"), " 7");
  EXPECT_EQ(ZeroSuppress("000"), "   ");
  EXPECT_EQ(ZeroSuppress("  "), "  ");
  EXPECT_EQ(ZeroSuppress("ab"), "  ");
  EXPECT_EQ(ZeroSuppress(""), "");
}

TEST(KeibaFunc, PrefixedCountSpecialCounts) {
  EXPECT_EQ(PrefixedCount("+", "012"), "+ 12");
  EXPECT_EQ(PrefixedCount("-", "100"), "-100");
  EXPECT_EQ(PrefixedCount("+", "000"), S("ナシ"));
  EXPECT_EQ(PrefixedCount("+", "999"), "    ");
  EXPECT_EQ(PrefixedCount(S("＋"), "999"), "    ");
  EXPECT_EQ(PrefixedCount("-", "   "), "    ");
}

TEST(KeibaFunc, FormatRaceTimeMinuteSecondsTenth) {
  EXPECT_EQ(FormatRaceTime("1234"), "123.4");
  EXPECT_EQ(FormatRaceTime("1085"), "1 8.5");
  EXPECT_EQ(FormatRaceTime(" 585"), " 58.5");
  EXPECT_EQ(FormatRaceTime("2005"), "2 0.5");
}

TEST(KeibaFunc, FormatRaceTimeBlankForMissingTimes) {
  for (const char* t : {"    ", "9999", "0000", "1999", " 999", "1   ", "", "1"})
    EXPECT_EQ(FormatRaceTime(t), "     ") << '"' << t << '"';
}

TEST(KeibaFunc, OverwriteAtDeletesThenInserts) {
  EXPECT_EQ(OverwriteAt("RA7202401050601", "000000000", 3), "RA000000000" "0601");
  EXPECT_EQ(OverwriteAt("ABCDEF", "xy", 1), "xyCDEF");
  EXPECT_EQ(OverwriteAt("ABCDEF", "xy", 6), "ABCDExy");   // the deletion stops at the end
  EXPECT_EQ(OverwriteAt("ABCDEF", "xy", 7), "ABCDEFxy");  // just after the end appends
  EXPECT_EQ(OverwriteAt("ABCDEF", "xy", 20), "ABCDEFxy");
  EXPECT_EQ(OverwriteAt("ABCDEF", "xy", 0), "xyABCDEF");  // nothing deleted before the text
  EXPECT_EQ(OverwriteAt("ABCDEF", "", 3), "ABCDEF");
}
