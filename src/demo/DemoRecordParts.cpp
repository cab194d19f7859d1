// What the demo's records share: see DemoRecordParts.h.
#include "demo/DemoRecordParts.h"

#include <algorithm>

#include "store/RecordLayout.h"

namespace furlong::demo {

std::string TwoDigits(int v) { return ZeroPadded(v, 2); }

std::string RaceTime(int tenths) {
  return ZeroPadded(tenths / 600, 1) + ZeroPadded(tenths % 600 / 10, 2) + ZeroPadded(tenths % 10, 1);
}

RecordBuffer StartRaceRecord(std::size_t length, const char* type, const Race& r) {
  RecordBuffer b(length);
  b.Put(head::kType, type);
  b.Put(head::kDataKind, std::string(1, r.dataKind));
  int created = r.date + (r.dataKind == '7' ? 3 : 1);
  // A race card is published the day before the race.
  if (r.current) created = r.finished ? r.date : r.date - 1;
  b.Put(head::kCreationDate, DateText(created));
  b.Put(head::kDate, DateText(r.date));
  b.Put(head::kCourse, r.course);
  b.Put(head::kMeetingNumber, TwoDigits(r.meeting));
  b.Put(head::kDayNumber, TwoDigits(r.day));
  b.Put(head::kRaceNumber, TwoDigits(r.number));
  return b;
}

int Starters(const World& w, const Race& r) {
  if (!r.current) return r.registered;
  int n = 0;
  for (int ru : r.runs)
    if (w.runs[static_cast<std::size_t>(ru)].abnormal != 1) ++n;
  return n;
}

int RunningStyle(const Run& run, const Race& r) {
  for (int c : run.corners) {
    if (c == 0) continue;
    double rel = static_cast<double>(c) / std::max(1, r.registered);
    return c == 1 ? 1 : rel <= 0.35 ? 2 : rel <= 0.7 ? 3 : 4;
  }
  return 0;
}

}  // namespace furlong::demo
