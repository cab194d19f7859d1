#include "store/Record.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "store/Encoding.h"

using namespace furlong;

TEST(Record, NumberRuleReadsDigitsAfterLeadingSpaces) {
  EXPECT_EQ(ReadNumber("01"), 1);
  EXPECT_EQ(ReadNumber("  12"), 12);
  EXPECT_EQ(ReadNumber("12ab"), 12);
  EXPECT_EQ(ReadNumber("A"), 0);   // a letter data kind reads 0
  EXPECT_EQ(ReadNumber("    "), 0);
  EXPECT_EQ(ReadNumber(""), 0);
  EXPECT_EQ(ReadNumber("+003"), 0);  // a sign is not a digit
  EXPECT_EQ(ReadNumber(" 1 2"), 1);
}

TEST(Record, DigitsValueTakesOnlyAllDigitTexts) {
  EXPECT_EQ(DigitsValue("0042"), 42);
  EXPECT_EQ(DigitsValue("999999999999999999"), 999999999999999999LL);
  for (std::string_view bad : {"", " 1", "1 ", "-1", "+1", "1a", "1234567890123456789"})
    EXPECT_FALSE(DigitsValue(bad)) << bad;
}

TEST(Record, FieldNeverReadsPastTheRecord) {
  std::string_view rec = "RA7202401012024";
  EXPECT_EQ(Field(rec, 1, 2), "RA");
  EXPECT_EQ(Field(rec, 12, 15), "2024");
  EXPECT_EQ(Field(rec, 14, 40), "24");
  EXPECT_EQ(Field(rec, 16, 19), "");
  EXPECT_EQ(Field(rec, 0, 3), "");
  EXPECT_EQ(FieldNumber(rec, 882, 883), 0);
}

TEST(Record, KeysAndTypes) {
  std::string rec(555, ' ');
  rec.replace(0, 27, "SE7202401012024010506010801");
  rec.replace(30, 10, "2019104567");
  EXPECT_EQ(RaceKey(rec), "2024010506010801");
  EXPECT_EQ(RaceDate(rec), "20240105");
  EXPECT_EQ(SeHorseId(rec), "2019104567");
  EXPECT_TRUE(IsRecordType(rec, "SE"));
  EXPECT_EQ(RecordLength("SE"), 555u);
  EXPECT_EQ(RecordLength("O1"), 0u);
}

TEST(Record, OnlyAsciiLettersAndDigitsMayFormAPath) {
  EXPECT_TRUE(IsPathSafe("2019104567"));
  EXPECT_TRUE(IsPathSafe("06"));
  EXPECT_FALSE(IsPathSafe("../../etc"));
  EXPECT_FALSE(IsPathSafe("2019 04567"));
  EXPECT_FALSE(IsPathSafe(""));
  EXPECT_FALSE(IsPathSafe("20\\9"));
  EXPECT_FALSE(IsPathSafe(Utf8ToSjis("中山")));
}

TEST(Encoding, RoundTripsJapaneseAndReplacesBadBytes) {
  std::string sjis = Utf8ToSjis("2004年01月05日中山");
  EXPECT_EQ(sjis.size(), 18u);
  EXPECT_EQ(SjisToUtf8(sjis), "2004年01月05日中山");
  EXPECT_EQ(Utf8ToSjis("ｾﾝ").size(), 2u);  // half-width katakana: one byte each
  EXPECT_EQ(Utf8ToSjis("―"), "\x81\x5C");
  EXPECT_TRUE(IsValidSjis(sjis));
  std::string bad = "A\x81";  // a lead byte without its trail byte
  EXPECT_FALSE(IsValidSjis(bad));
  EXPECT_EQ(SjisToUtf8(bad), "A\xEF\xBF\xBD");
  EXPECT_EQ(SjisToUtf8(std::string("\xFF\xFF", 2)).substr(0, 3), "\xEF\xBF\xBD");
}

// Every one- and two-byte Shift-JIS input (with a byte after it, which shows
// how much a bad character costs) and every character of the BMP, folded
// into one number: the Windows conversion must give the very texts of the
// POSIX one, bad bytes and unmappable characters included.
TEST(Encoding, SameTextsOnEveryPlatform) {
  std::uint64_t hash = 14695981039346656037ull;
  auto fold = [&hash](std::string_view text) {
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    hash = (hash ^ 0x100) * 1099511628211ull;
  };
  for (int a = 0; a < 256; ++a) {
    fold(SjisToUtf8(std::string(1, static_cast<char>(a))));
    if (a < 0x80) continue;
    for (int b = 0; b < 256; ++b) {
      const std::string in{static_cast<char>(a), static_cast<char>(b), 'A'};
      fold(SjisToUtf8(in));
      fold(IsValidSjis(in.substr(0, 2)) ? "1" : "0");
    }
  }
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::string utf8;
    if (c < 0x80) {
      utf8 = {static_cast<char>(c)};
    } else if (c < 0x800) {
      utf8 = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      utf8 = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
              static_cast<char>(0x80 | (c & 0x3F))};
    }
    fold(Utf8ToSjis(utf8));
  }
  for (const char* bad : {"\xC0\xAF" "A", "\xE3\x81" "A", "\xED\xA0\x80" "A", "\xF4\x90\x80\x80" "A", "\xFF" "A",
                          "\x80" "A", "\xF0\x9F\x98\x80" "A"})
    fold(Utf8ToSjis(bad));
  EXPECT_EQ(hash, 7802790920293851039ull);
}
