// The predicted odds records of the demo meetings, as the JRDB ('J') and
// KOL ('K') conversions write them: win (and for JRDB place) odds and the
// quinella odds of every pair, from the forecaster's chances.
#include "demo/DemoRecords.h"

#include <algorithm>
#include <map>
#include <vector>

#include "demo/DemoRecordParts.h"
#include "demo/RecordBuffer.h"
#include "store/Record.h"
#include "store/RecordLayout.h"
#include "store/TextFormat.h"

namespace furlong::demo {

std::string KolCourseCode(const std::string& course) {
  static const std::map<std::string, std::string> kol = {{"08", "00"}, {"09", "01"}, {"07", "02"}, {"10", "03"},
                                                          {"05", "04"}, {"06", "05"}, {"03", "06"}, {"04", "07"},
                                                          {"01", "08"}, {"02", "09"}};
  auto it = kol.find(course);
  return it == kol.end() ? "99" : it->second;
}

std::string MakeOddsRecord(const World& w, const Race& r, char source) {
  RecordBuffer b(kOddsLength);
  const int n = static_cast<int>(r.runs.size());
  std::vector<double> p(19, 0.0);
  for (int ru : r.runs) {
    const Run& x = w.runs[static_cast<std::size_t>(ru)];
    p[static_cast<std::size_t>(x.horseNumber)] = x.forecastProb;
  }
  b.Put(odds::kDate, DateText(r.date));
  b.Put(odds::kCourse, source == 'K' ? KolCourseCode(r.course) : r.course);
  b.Put(odds::kMeetingNumber, TwoDigits(r.meeting));
  b.Put(odds::kDayNumber, TwoDigits(r.day));
  b.Put(odds::kRaceNumber, TwoDigits(r.number));
  b.Put(odds::kSource, std::string(1, source));
  b.PutNumber(odds::kRunners, n);
  const double winCap = source == 'J' ? 999.9 : 9999.9, pairCap = source == 'J' ? 9999.9 : 99999.9;
  auto tenths = [](double v) { return static_cast<double>(static_cast<long long>(v * 10 + 0.5)) / 10; };
  for (int h = 1; h <= n; ++h) {
    double win = std::min(winCap, std::max(1.1, tenths(0.8 / p[static_cast<std::size_t>(h)])));
    b.Put(odds::WinSpan(static_cast<std::size_t>(h)), FormatFixed(win, static_cast<int>(odds::kOddsWidth), 1));
    if (source == 'J') {
      double place = std::max(1.0, tenths(1.0 + (win - 1.0) / 4.2));
      b.Put(odds::PlaceSpan(static_cast<std::size_t>(h)), FormatFixed(place, static_cast<int>(odds::kOddsWidth), 1));
    }
  }
  std::size_t index = 0;
  for (int a = 1; a <= 17; ++a)
    for (int c = a + 1; c <= 18; ++c, ++index) {
      if (c > n) continue;
      double pa = p[static_cast<std::size_t>(a)], pc = p[static_cast<std::size_t>(c)];
      double chance = pa * pc / (1 - pa) + pc * pa / (1 - pc);
      double v = std::min(pairCap, std::max(1.0, tenths(0.775 / chance)));
      b.Put(odds::QuinellaSpan(index + 1), FormatFixed(v, static_cast<int>(odds::kPairOddsWidth), 1));
    }
  return b.Take();
}

}  // namespace furlong::demo
