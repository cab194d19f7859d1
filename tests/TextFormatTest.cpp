#include "store/TextFormat.h"

#include <gtest/gtest.h>

using namespace furlong;

TEST(TextFormat, RoundsHalfAwayFromZeroAfterFifteenDigits) {
  EXPECT_EQ(FormatFixed(204.2 / 4, 5, 1), " 51.1");  // held as 51.04999...
  EXPECT_EQ(FormatFixed(1.25, 4, 1), " 1.3");
  EXPECT_EQ(FormatFixed(92.5, 4, 0), "  93");
  EXPECT_EQ(FormatFixed(-92.5, 4, 0), " -93");
  EXPECT_EQ(FormatFixed(0.05, 4, 1), " 0.1");
  EXPECT_EQ(FormatFixed(-1.25, 5, 1), " -1.3");
  EXPECT_EQ(FormatFixed(99.95, 5, 1), "100.0");
  EXPECT_EQ(FormatFixed(0.349999999999999, 4, 1), " 0.3");
}

TEST(TextFormat, ZeroResultCarriesNoMinusSign) {
  EXPECT_EQ(FormatFixed(-0.04, 4, 1), " 0.0");
  EXPECT_EQ(FormatFixed(-0.0, 4, 0), "   0");
  EXPECT_EQ(FormatFixed(-0.4, 4, 0), "   0");
}

TEST(TextFormat, WidthIsAMinimumAndLargeValuesKeepTheirDigits) {
  EXPECT_EQ(FormatFixed(12345.678, 4, 1), "12345.7");
  EXPECT_EQ(FormatFixed(1e-20, 5, 1), "  0.0");
  EXPECT_EQ(FormatFixed(3.0, 8, 1), "     3.0");
  EXPECT_EQ(FormatInt(5, 2), " 5");
  EXPECT_EQ(FormatInt(-5, 4), "  -5");
  EXPECT_EQ(FormatInt(123, 2), "123");
}

TEST(TextFormat, StoredNumbersParseBackAsDisplayed) {
  EXPECT_DOUBLE_EQ(ParseStoredNumber(" 51.1"), 51.1);
  EXPECT_DOUBLE_EQ(ParseStoredNumber("  -3.2"), -3.2);
  EXPECT_DOUBLE_EQ(ParseStoredNumber("     "), 0.0);
  EXPECT_DOUBLE_EQ(ParseStoredNumber(""), 0.0);
  EXPECT_DOUBLE_EQ(ParseStoredNumber(" 100"), 100.0);
  EXPECT_DOUBLE_EQ(ParseStoredNumber("abc"), 0.0);
}

TEST(TextFormat, FifteenDigitsMakesTruncationExact) {
  // 380 / 7 * 7 is 379.99999999999994 in a double; the pixel rule needs 380.
  double v = 380.0 / 7.0 * 7.0;
  EXPECT_EQ(static_cast<int>(To15Digits(v)), 380);
}
