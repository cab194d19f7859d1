#pragma once
// Local date and time as the import uses them: the from-time of a download,
// the cut-off date of the filing and the "LastTime" setting text.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace furlong {

struct LocalDateTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;

  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// Where "now" comes from; tests fix it.
using Clock = std::function<LocalDateTime()>;

// The computer's local date and time.
LocalDateTime LocalNow();
Clock SystemClock();
// A clock that always tells the same time.
Clock FixedClock(LocalDateTime at);

// True when every part is in range (a real calendar date, 00:00:00-23:59:59).
bool IsValid(const LocalDateTime& t);

// The same time of day `days` days later (earlier when negative).
LocalDateTime AddDays(const LocalDateTime& t, int days);

// "yyyymmdd".
std::string FormatDate8(const LocalDateTime& t);
// "yyyymmddhhnnss", JV-Link's from-time and file timestamp form.
std::string FormatTimestamp(const LocalDateTime& t);
// "yyyy/mm/dd hh:nn:ss", the form of the "LastTime" setting.
std::string FormatSettingTime(const LocalDateTime& t);

// "yyyymmddhhnnss" (exactly 14 digits, a valid date-time), else nothing.
std::optional<LocalDateTime> ParseTimestamp(std::string_view text);
// "yyyymmdd" (exactly 8 digits, a valid date), else nothing.
std::optional<LocalDateTime> ParseDate8(std::string_view text);
// "yyyy/m/d h:n:s" with one or two digit parts (four for the year) and
// optional surrounding spaces; the time may be left out (midnight) or given
// without seconds. Anything else gives nothing.
std::optional<LocalDateTime> ParseSettingTime(std::string_view text);

}  // namespace furlong
