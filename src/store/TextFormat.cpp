#include "store/TextFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <array>
#include <cstdint>

#include "store/Encoding.h"
#include "store/Record.h"
#include "store/RecordLayout.h"

namespace furlong {

namespace {
// The value in scientific form with 15 significant digits: [-]d.ddddddddddddddde[+-]x
std::size_t Scientific15(double value, char* buf, std::size_t size) {
  auto r = std::to_chars(buf, buf + size - 1, value, std::chars_format::scientific, 14);
  *r.ptr = '\0';
  return static_cast<std::size_t>(r.ptr - buf);
}
}  // namespace

double To15Digits(double value) {
  if (!std::isfinite(value) || value == 0.0) return value;
  char buf[64];
  std::size_t n = Scientific15(value, buf, sizeof buf);
  double out = value;
  std::from_chars(buf, buf + n, out, std::chars_format::scientific);
  return out;
}

std::string FormatFixed(double value, int width, int decimals) {
  if (!std::isfinite(value)) value = 0.0;
  // Work on the 15-significant-digit decimal form of the value as text, so
  // that the half-way test is exact.
  char buf[64];
  Scientific15(value, buf, sizeof buf);
  // buf: [-]d.dddddddddddddde[+-]xx
  bool negative = buf[0] == '-';
  const char* p = buf + (negative ? 1 : 0);
  char digits[16];
  int nd = 0;
  digits[nd++] = p[0];
  const char* q = p + 2;
  while (*q && *q != 'e') digits[nd++] = *q++;
  int exp10 = std::atoi(q + 1);
  // Value = 0.d1d2...d15 * 10^(exp10+1). Digit i (0-based) has weight 10^(exp10 - i).
  // Keep digits with weight >= 10^-decimals; round on the next one.
  int keep = exp10 + 1 + decimals;  // number of significant digits kept
  std::string intDigits;            // the rounded magnitude scaled by 10^decimals
  if (keep < 0) {
    intDigits = "0";
  } else {
    std::string kept;
    for (int i = 0; i < keep; ++i) kept.push_back(i < nd ? digits[i] : '0');
    bool roundUp = keep < nd && digits[keep] >= '5';
    if (kept.empty()) kept = "0";
    if (roundUp) {
      int i = static_cast<int>(kept.size()) - 1;
      while (i >= 0 && kept[i] == '9') kept[i--] = '0';
      if (i < 0) kept.insert(kept.begin(), '1');
      else ++kept[i];
    }
    intDigits = kept;
  }
  // Strip leading zeros but keep enough for decimals + one integer digit.
  std::size_t first = intDigits.find_first_not_of('0');
  if (first == std::string::npos) intDigits = "0";
  else intDigits = intDigits.substr(first);
  bool isZero = intDigits == "0";
  while (static_cast<int>(intDigits.size()) < decimals + 1) intDigits.insert(intDigits.begin(), '0');
  std::string out;
  if (negative && !isZero) out.push_back('-');
  out.append(intDigits, 0, intDigits.size() - decimals);
  if (decimals > 0) {
    out.push_back('.');
    out.append(intDigits, intDigits.size() - decimals, decimals);
  }
  return PadLeft(out, static_cast<std::size_t>(width));
}

std::string FormatInt(long long value, int width) {
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return PadLeft(std::string_view(buf, static_cast<std::size_t>(end - buf)), static_cast<std::size_t>(width));
}

double ParseStoredNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i == text.size()) return 0.0;
  const char* b = text.data() + i;
  const char* e = text.data() + text.size();
  if (*b == '+') ++b;
  double v = 0.0;
  auto r = std::from_chars(b, e, v, std::chars_format::fixed);
  if (r.ec != std::errc()) return 0.0;
  return v;
}

std::string PadLeft(std::string_view text, std::size_t width) {
  std::string out;
  if (text.size() < width) out.assign(width - text.size(), ' ');
  out.append(text);
  return out;
}

std::string PadRight(std::string_view text, std::size_t width) {
  std::string out(text);
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}


// ---- number texts of the records

namespace {

constexpr std::string_view kCircledNumbers[] = {
    "①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨",
    "⑩", "⑪", "⑫", "⑬", "⑭", "⑮", "⑯", "⑰", "⑱",
};

constexpr std::string_view kFourSpaces = "    ";
constexpr std::string_view kFiveSpaces = "     ";

}  // namespace

std::string_view CircledNumber(int n) {
  static const std::array<std::string, std::size(kCircledNumbers)> table = [] {
    std::array<std::string, std::size(kCircledNumbers)> t;
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = Utf8ToSjis(kCircledNumbers[i]);
    return t;
  }();
  if (n < 1 || n > static_cast<int>(table.size())) return SJ("－");
  return table[n - 1];
}

std::string ZeroSuppress(std::string_view text) {
  const int width = static_cast<int>(text.size());
  const std::int64_t v = ReadNumber(text);
  if (v == 0) return std::string(text.size(), ' ');
  return FormatInt(v, width);
}

std::string PrefixedCount(std::string_view prefix, std::string_view count) {
  if (count == "000") return SJ("ナシ");
  if (count == "999" || IsBlank(count)) return std::string(kFourSpaces);
  std::string out(prefix);
  out += ZeroSuppress(count);
  return out;
}

std::string FormatRaceTime(std::string_view time) {
  const std::string_view secondsAndTenth = Field(time, race_time::kSecondsAndTenths);
  const std::string_view whole = TrimSpaces(time);
  if (TrimSpaces(secondsAndTenth) == "999") return std::string(kFiveSpaces);
  if (whole == "9999" || whole == "0000") return std::string(kFiveSpaces);
  if (IsBlank(secondsAndTenth)) return std::string(kFiveSpaces);
  std::string out(Field(time, race_time::kMinutes));
  out += FormatInt(ReadNumber(Field(time, race_time::kSeconds)), 2);
  out += '.';
  out += Field(time, race_time::kTenths);
  return out;
}

}  // namespace furlong
