#include "jvlink/ImportTime.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "store/Record.h"

namespace furlong {

namespace {

std::chrono::year_month_day Ymd(const LocalDateTime& t) {
  return std::chrono::year_month_day{std::chrono::year{t.year}, std::chrono::month{static_cast<unsigned>(t.month)},
                                     std::chrono::day{static_cast<unsigned>(t.day)}};
}

bool AllDigits(std::string_view s) { return DigitsValue(s).has_value(); }

// The value of a text already known to be all digits.
int Digits(std::string_view s) { return static_cast<int>(ReadNumber(s)); }

std::string Pad(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

}  // namespace

LocalDateTime LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &now);
#else
  localtime_r(&now, &tm);
#endif
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec};
}

Clock SystemClock() { return [] { return LocalNow(); }; }

Clock FixedClock(LocalDateTime at) {
  return [at] { return at; };
}

bool IsValid(const LocalDateTime& t) {
  if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31) return false;
  if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59) return false;
  return Ymd(t).ok();
}

LocalDateTime AddDays(const LocalDateTime& t, int days) {
  std::chrono::year_month_day moved{std::chrono::sys_days{Ymd(t)} + std::chrono::days{days}};
  LocalDateTime r = t;
  r.year = static_cast<int>(moved.year());
  r.month = static_cast<int>(static_cast<unsigned>(moved.month()));
  r.day = static_cast<int>(static_cast<unsigned>(moved.day()));
  return r;
}

std::string FormatDate8(const LocalDateTime& t) { return Pad(t.year, 4) + Pad(t.month, 2) + Pad(t.day, 2); }

std::string FormatTimestamp(const LocalDateTime& t) {
  return FormatDate8(t) + Pad(t.hour, 2) + Pad(t.minute, 2) + Pad(t.second, 2);
}

std::string FormatSettingTime(const LocalDateTime& t) {
  return Pad(t.year, 4) + "/" + Pad(t.month, 2) + "/" + Pad(t.day, 2) + " " + Pad(t.hour, 2) + ":" +
         Pad(t.minute, 2) + ":" + Pad(t.second, 2);
}

std::optional<LocalDateTime> ParseTimestamp(std::string_view s) {
  if (s.size() != 14 || !AllDigits(s)) return std::nullopt;
  LocalDateTime t{Digits(s.substr(0, 4)),  Digits(s.substr(4, 2)),  Digits(s.substr(6, 2)),
                  Digits(s.substr(8, 2)),  Digits(s.substr(10, 2)), Digits(s.substr(12, 2))};
  if (!IsValid(t)) return std::nullopt;
  return t;
}

std::optional<LocalDateTime> ParseDate8(std::string_view s) {
  if (s.size() != 8 || !AllDigits(s)) return std::nullopt;
  LocalDateTime t{Digits(s.substr(0, 4)), Digits(s.substr(4, 2)), Digits(s.substr(6, 2)), 0, 0, 0};
  if (!IsValid(t)) return std::nullopt;
  return t;
}

std::optional<LocalDateTime> ParseSettingTime(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  // Splits off the digits up to `sep` (or the end when sep is 0).
  auto take = [&s](char sep, std::size_t minDigits, std::size_t maxDigits, int& out) {
    std::size_t n = 0;
    while (n < s.size() && s[n] >= '0' && s[n] <= '9') ++n;
    if (n < minDigits || n > maxDigits) return false;
    out = Digits(s.substr(0, n));
    s.remove_prefix(n);
    if (sep == 0) return true;
    if (s.empty() || s.front() != sep) return false;
    s.remove_prefix(1);
    return true;
  };
  LocalDateTime t{};
  if (!take('/', 4, 4, t.year) || !take('/', 1, 2, t.month)) return std::nullopt;
  if (!take(0, 1, 2, t.day)) return std::nullopt;
  t.hour = t.minute = t.second = 0;
  if (!s.empty()) {
    if (s.front() != ' ') return std::nullopt;
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    if (!take(':', 1, 2, t.hour)) return std::nullopt;
    if (!take(0, 1, 2, t.minute)) return std::nullopt;
    if (!s.empty()) {
      if (s.front() != ':') return std::nullopt;
      s.remove_prefix(1);
      if (!take(0, 1, 2, t.second)) return std::nullopt;
    }
    if (!s.empty()) return std::nullopt;
  }
  if (!IsValid(t)) return std::nullopt;
  return t;
}

}  // namespace furlong
