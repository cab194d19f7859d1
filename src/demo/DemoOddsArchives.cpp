#include "demo/DemoOddsArchives.h"

#include <array>
#include <cmath>
#include <utility>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "imports/LzhArchive.h"
#include "imports/PredictedOdds.h"
#include "store/CodeTables.h"
#include "store/DayLoading.h"
#include "store/DayTables.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/Store.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"

namespace furlong {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxRunners = 18;

bool HoldsRace(std::string_view ra) {
  const std::string_view year = ra::Year(ra);
  return !IsBlank(year) && year != "0000";
}

// The odds texts of the predicted odds record the store gives a race.
struct RaceOdds {
  std::string_view record;
  std::string_view Win(int h) const { return odds::Win(record, static_cast<std::size_t>(h)); }
  std::string_view Place(int h) const { return odds::Place(record, static_cast<std::size_t>(h)); }
  std::string_view Quinella(int q) const { return odds::Quinella(record, static_cast<std::size_t>(q)); }
};

bool HasValue(std::string_view text) { return !IsBlank(text) && ParseStoredNumber(text) > 0; }
long long Tenths(std::string_view text) { return std::llround(ParseStoredNumber(text) * 10); }

// A JRDB odds field: the value as it stands, right-aligned in five characters.
std::string JrdbField(std::string_view text) {
  constexpr std::size_t width = jrdb::kOddsWidth;
  const std::string_view t = TrimSpaces(text);
  if (!HasValue(t)) return std::string(width, ' ');
  if (t.size() <= width) return PadLeft(t, width);
  return FormatFixed(ParseStoredNumber(t), static_cast<int>(width), 0);
}

// A KOL odds field: the value in tenths, or "-" without one.
std::string KolField(std::string_view text, std::size_t width) {
  if (!HasValue(text)) return PadLeft("-", width);
  return FormatInt(Tenths(text), static_cast<int>(width));
}

// JRDB writes meeting and day numbers as one character: 1-9, then a, b, c.
char OneCharacterNumber(int n) { return n >= 1 && n <= 9 ? static_cast<char>('0' + n) : static_cast<char>('a' + n - 10); }

void Put(std::string& line, FieldSpan field, std::string_view text) {
  if (text.size() > field.size()) throw std::logic_error("text wider than its field at column " + std::to_string(field.from));
  line.replace(field.from - 1, text.size(), text);
}

std::string JrdbLine(std::string_view ra, const RaceOdds& odds) {
  std::string l(kJrdbLineLength, ' ');
  Put(l, jrdb::kCourse, CourseCode(ra));
  Put(l, jrdb::kYearShort, ra::YearShort(ra));
  Put(l, jrdb::kMeetingNumber, std::string(1, OneCharacterNumber(FieldNumber(ra, ra::kMeetingNumber))));
  Put(l, jrdb::kDayNumber, std::string(1, OneCharacterNumber(FieldNumber(ra, ra::kDayNumber))));
  Put(l, jrdb::kRaceNumber, ra::RaceNumber(ra));
  Put(l, jrdb::kRunners, ra::RegisteredRunners(ra));
  for (int h = 1; h <= static_cast<int>(kMaxRunners); ++h) {
    Put(l, jrdb::WinSpan(static_cast<std::size_t>(h)), JrdbField(odds.Win(h)));
    Put(l, jrdb::PlaceSpan(static_cast<std::size_t>(h)), JrdbField(odds.Place(h)));
  }
  for (int q = 1; q <= kHorsePairs; ++q) Put(l, jrdb::QuinellaSpan(static_cast<std::size_t>(q)), JrdbField(odds.Quinella(q)));
  return l;
}

// The KOL code whose name is the racecourse's name.
std::string KolCode(std::string_view jvCourse) {
  const std::string_view name = CourseName(jvCourse);
  for (int n = 0; n < 100; ++n) {
    const std::string code = FormatInt(n / 10, 1) + FormatInt(n % 10, 1);
    if (KolCourseName(code).substr(0, 4) == name) return code;
  }
  return "99";
}

std::string KolLine(std::string_view ra, const RaceOdds& odds, const std::array<SeRecord, kRunnerSlots>& runners) {
  std::string l(kKolLineLength, ' ');
  Put(l, kol::kCourse, KolCode(CourseCode(ra)));
  Put(l, kol::kMeetingDayRace, ra::MeetingDayRace(ra));
  Put(l, kol::kDate, RaceDate(ra));
  Put(l, kol::kRunners, ra::RegisteredRunners(ra));
  const int n = RegisteredRunners(ra);
  for (int h = 1; h <= static_cast<int>(kMaxRunners); ++h)
    Put(l, kol::WinSpan(static_cast<std::size_t>(h)),
        h <= n ? KolField(odds.Win(h), kol::kOddsWidth) : PadLeft("-", kol::kOddsWidth));
  for (int q = 1; q <= kHorsePairs; ++q)
    Put(l, kol::QuinellaSpan(static_cast<std::size_t>(q)), KolField(odds.Quinella(q), kol::kQuinellaWidth));

  // Bracket quinella odds from the horse pairs of the two brackets.
  std::array<double, kBracketPairs + 1> chance{};
  int q = 0;
  for (int a = 1; a <= 17; ++a)
    for (int b = a + 1; b <= 18; ++b) {
      ++q;
      if (b > n || !HasValue(odds.Quinella(q))) continue;
      int fa = FieldNumber(runners[a - 1].view(), se::kBracket), fb = FieldNumber(runners[b - 1].view(), se::kBracket);
      if (fa > fb) std::swap(fa, fb);
      const int p = BracketPairIndex(FormatInt(fa, 2) + "-" + FormatInt(fb, 2));
      if (p > 0) chance[p] += 1.0 / ParseStoredNumber(odds.Quinella(q));
    }
  for (int p = 1; p <= kBracketPairs; ++p) {
    std::string field = PadLeft("-", kol::kOddsWidth);
    if (chance[p] > 0) {
      const long long tenths = std::llround(To15Digits(10.0 / chance[p]));
      field = FormatInt(tenths > 99999 ? 99999 : tenths < 10 ? 10 : tenths, static_cast<int>(kol::kOddsWidth));
    }
    Put(l, kol::BracketQuinellaSpan(static_cast<std::size_t>(p)), field);
  }
  return l;
}

std::uint32_t DosTime(std::string_view date) {
  const auto y = static_cast<std::uint32_t>(ReadNumber(date.substr(0, 4)));
  const auto m = static_cast<std::uint32_t>(ReadNumber(date.substr(4, 2)));
  const auto d = static_cast<std::uint32_t>(ReadNumber(date.substr(6, 2)));
  return ((y - 1980) << 25) | (m << 21) | (d << 16) | (9u << 11);
}

}  // namespace

std::vector<DemoOddsArchive> WriteDemoOddsArchives(const fs::path& root) {
  const Store store(root, false);
  const std::vector<std::string> names = store.MeetingNames();
  std::vector<DemoOddsArchive> written;
  if (names.empty()) return written;
  // The first date whose meetings have predicted odds (a season's earlier
  // weekends have none), else the first date.
  std::string first = names.front();
  for (const std::string& name : names) {
    std::error_code ec;
    if (fs::exists(store.OddsFile(name), ec) || fs::exists(store.DayOddsFile(name), ec)) {
      first = name;
      break;
    }
  }
  std::vector<std::string> meetings;
  for (const std::string& name : names)
    if (name.compare(0, 14, first, 0, 14) == 0) meetings.push_back(name);

  struct Kind {
    const char* source;
    const char* archivePrefix;
    const char* member;  // empty: the JRDB text named after the date
  };
  const Kind kinds[] = {{"KOL3", "kd3_jb", "kol_ods.kd3"}, {"KOL2", "j", "kol_ods.kd2"}, {"JRDB", "OZ", ""}};

  auto day = std::make_unique<DayTables>();
  const fs::path folder = store.Folder(store_names::kYlzh, true);
  for (std::size_t k = 0; k < std::size(kinds); ++k) {
    const std::string& meeting = meetings[k % meetings.size()];
    LoadMeetingDay(store, meeting, *day);
    std::string text, date;
    int races = 0;
    for (int slot = 0; slot < kRaceSlots; ++slot) {
      const std::string_view ra = day->RaceRecords[slot].view();
      if (!HoldsRace(ra)) continue;
      date = std::string(RaceDate(ra));
      const RaceOdds odds{day->PredictedOddsRecords[slot].view()};
      text += kinds[k].member[0] ? KolLine(ra, odds, day->RunnerRecords[slot]) : JrdbLine(ra, odds);
      text += "\r\n";
      ++races;
    }
    if (races == 0) continue;
    const std::string yymmdd = date.substr(2, 6);
    const std::string member = kinds[k].member[0] ? kinds[k].member : "Oz" + yymmdd + ".txt";
    const fs::path path = folder / (kinds[k].archivePrefix + yymmdd + ".lzh");
    WriteFileAtomically(path, MakeStoredLzhArchive({{member, text}}, DosTime(date)));
    written.push_back({path, kinds[k].source, SjisToUtf8(meeting), races});
  }
  return written;
}

}  // namespace furlong
