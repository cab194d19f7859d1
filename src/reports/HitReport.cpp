#include "reports/HitReport.h"

#include <system_error>

#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"
#include "store/Store.h"
#include "store/TextLines.h"

namespace furlong {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kLogName = "Rararavu.txt";

// The file of that name in the folder; an existing one spelt in another
// letter case (a store copied from Windows) serves as it.
fs::path FileInFolder(const fs::path& folder, std::string_view name) {
  auto found = EntriesNamedIgnoringCase(folder, name, EntryKind::Any, 1);
  return found.empty() ? folder / std::string(name) : found.front();
}

// Record bytes as text of an HTML page. In Shift-JIS the second byte of a
// two-byte character is never one of these, so they are escaped byte by byte.
std::string HtmlText(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size());
  for (char c : sjis) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string PayoutText(int amount) { return SJ("/配当 ") + FormatInt(amount, 7) + SJ("円"); }

template <std::size_t N>
void MatchEntries(std::string_view ra, const std::string& bet, const std::array<PayoutEntry, N>& entries,
                  const std::string& tag, int reportThreshold, int redFrom, std::vector<std::string>& reportLines,
                  std::vector<std::string>& logLines) {
  for (const PayoutEntry& e : entries) {
    if (e.Pair().substr(0, 5) != bet || e.amount <= reportThreshold) continue;
    const bool red = e.amount >= redFrom;
    std::string line = red ? R"(<img src="./image/lis1.gif">)" : R"(<img src="./image/lis2.gif">)";
    line += red ? R"(<font color="red">)" : R"(<font color="blue">)";
    line += HtmlText(CourseName(CourseCode(ra)));
    line += HtmlText(ZeroSuppress(ra::RaceNumber(ra)));
    line += tag;
    line += HtmlText(bet);
    line += PayoutText(e.amount);
    line += SJ("　");
    line += HtmlText(ra::ShortName6(ra));
    line += "</font>";
    reportLines.push_back(std::move(line));

    std::string log(RaceDate(ra));
    log += CourseCode(ra);
    log += ra::RaceNumber(ra);
    log += tag;
    log += bet;
    log += PayoutText(e.amount);
    logLines.push_back(std::move(log));
  }
}

}  // namespace

HitThresholds ThresholdsOf(HitReportKind kind) {
  HitThresholds t;
  if (kind == HitReportKind::kLongshot) {
    t.wideReport = 3000;
    t.quinellaReport = 5000;
  }
  return t;
}

const std::string& HitReportHeaderLine() {
  return SJ(R"(<br /><img src="./image/balist.gif"><font color="black">【ハロンボード for JRA-VAN Data Lab.】</font>)");
}

const std::string& HitLogFirstLine() { return SJ(" ハロンボード for JRA-VAN Data Lab."); }

void CollectRaceHits(std::string_view ra, const std::array<std::string, 6>& bets, const RacePayouts& payouts,
                     const HitThresholds& thresholds, std::vector<std::string>& reportLines,
                     std::vector<std::string>& logLines) {
  for (const std::string& bet : bets) {
    if (IsBlank(bet)) continue;
    MatchEntries(ra, bet, payouts.wide, SJ("R[ワイド]：　"), thresholds.wideReport, thresholds.wideRed, reportLines,
                 logLines);
    MatchEntries(ra, bet, payouts.quinella, SJ("R[馬連　]：　"), thresholds.quinellaReport, thresholds.quinellaRed,
                 reportLines, logLines);
  }
}

HitReportResult RunHitReport(const Store& store, MeetingFlow& flow, std::string_view selectedMeeting,
                             HitReportKind kind, const MeetingFlowCallbacks& callbacks) {
  const HitThresholds thresholds = ThresholdsOf(kind);
  HitReportResult result;
  result.reportLines.push_back(HitReportHeaderLine());
  std::vector<std::string> hitLog;

  const std::string date(selectedMeeting.substr(0, 14));
  const std::vector<std::string> calendar = flow.Calendar();
  std::string reportKey;  // yyyymmdd + racecourse code of slot 0 of the last meeting loaded
  for (const std::string& meeting : calendar) {
    if (meeting.size() < 14 || meeting.compare(0, 14, date) != 0) continue;
    const bool chosen = AnalyseEveryRace(flow, meeting, callbacks, [&](const RaceAnalysisResult& res) {
      CollectRaceHits(flow.Day().RaceRecords[res.slot].view(), res.bets, flow.Day().Payouts[res.slot], thresholds,
                      result.reportLines, hitLog);
    });
    if (!chosen) continue;
    ++result.meetings;
    reportKey = std::string(ra::DateCourse(flow.Day().RaceRecords[0].view()));
  }
  result.hits = static_cast<int>(hitLog.size());
  if (hitLog.empty()) return result;

  if (!IsPathSafe(reportKey) || reportKey.size() != 10)
    throw RefusedRecord("the race record's date and racecourse code cannot name the report file");
  const fs::path folder = store.Folder(store_names::kHpUpload, true);
  result.reportPath = folder / ("TK" + reportKey + ".txt");
  result.reportText = JoinLinesCrLf(result.reportLines);
  WriteFileAtomically(result.reportPath, result.reportText);

  result.logPath = FileInFolder(folder, kLogName);
  std::vector<std::string> log;
  // A hit log that cannot be read is never started afresh over the old one.
  std::string oldLog;
  if (ReadFileIfExists(result.logPath, oldLog)) log = SplitLines(oldLog);
  else log.push_back(HitLogFirstLine());
  log.insert(log.end(), hitLog.begin(), hitLog.end());
  WriteFileAtomically(result.logPath, JoinLinesCrLf(log));
  result.written = true;
  return result;
}

}  // namespace furlong
