#pragma once
// Number formatting for every stored text.
//
// The formats "%4.1f", "%5.1f", "%4.0f", ... round the way a user reading the
// figures expects: the double is first taken to 15 significant digits (so
// 204.2 / 4, held as 51.04999..., is 51.05), then rounded half away from zero
// (51.05 -> 51.1, 1.25 -> 1.3, 92.5 -> 93); a zero result has no minus sign;
// the text is right-aligned in the width. Plain printf does not do this.
#include <string>
#include <string_view>

namespace furlong {

// "%<width>.<decimals>f" with the rounding above.
std::string FormatFixed(double value, int width, int decimals);

// "%<width>d".
std::string FormatInt(long long value, int width);

// The value taken to 15 significant digits (used before truncation too).
double To15Digits(double value);

// Parses a stored number text ("." as decimal point, leading spaces and a
// sign allowed). Returns 0 for a blank or unreadable text.
double ParseStoredNumber(std::string_view text);

// The text as one CSV field: in double quotes, with its quotes doubled,
// when it holds a comma, a double quote or a line end; else as it is.
std::string CsvField(std::string_view text);

// Right-aligns (pads on the left with spaces) to the width; longer text is kept.
std::string PadLeft(std::string_view text, std::size_t width);
// Left-aligns (pads on the right with spaces) to the width; longer text is kept.
std::string PadRight(std::string_view text, std::size_t width);

// ---- number texts of the records (Shift-JIS; widths count bytes).

// "①".."⑱", or "－" for any other value.
std::string_view CircledNumber(int n);
// Right-aligned number of the input's width, or as many spaces for zero.
std::string ZeroSuppress(std::string_view text);
// prefix + ZeroSuppress(count); "ナシ" for "000"; four spaces for "999" or blank.
std::string PrefixedCount(std::string_view prefix, std::string_view count);
// "m ss.t" style 5-byte time (e.g. "1234" -> "123.4"), or five spaces.
std::string FormatRaceTime(std::string_view time);

}  // namespace furlong
