#pragma once
// The hit report: for one meeting date, the meeting of each racecourse is
// loaded and every race analysed in turn, and each suggested pair (買い目)
// that matched a paying wide or quinella combination becomes a line of HTML
// text for a web page and a line of the running hit log. No widgets: the
// window opens the returned report file with the desktop's default
// application and puts the returned text on the clipboard.
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/MeetingFlow.h"
#include "store/DayTables.h"
#include "store/Store.h"

namespace furlong {

// "的中" (TekiAnaBtn) reports every hit, "穴的中" (TekiAnaBtn2) only high-paying ones.
enum class HitReportKind { kAll, kLongshot };

// Amounts in yen: a hit is reported when its amount is greater than the
// report threshold; it is red (icon 1) from the red amount on, else blue (icon 2).
struct HitThresholds {
  int wideReport = 0;
  int quinellaReport = 0;
  int wideRed = 5000;
  int quinellaRed = 10000;
};
HitThresholds ThresholdsOf(HitReportKind kind);

// The first line of every report (Shift-JIS).
const std::string& HitReportHeaderLine();
// The first line of a new hit log (Shift-JIS).
const std::string& HitLogFirstLine();

// The report lines and hit-log lines of one analysed race: for each of the
// six bet texts (kaiLabel1-6) that is not blank, the wide entries 1-7 and
// then the quinella entries 1-3 whose pair text (first five characters)
// equals it and whose amount exceeds the threshold. `ra` is the race's RA
// record. Lines are Shift-JIS, without line ends.
void CollectRaceHits(std::string_view ra, const std::array<std::string, 6>& bets, const RacePayouts& payouts,
                     const HitThresholds& thresholds, std::vector<std::string>& reportLines,
                     std::vector<std::string>& logLines);

struct HitReportResult {
  // False: there was no hit, nothing was written (and nothing is to be
  // opened or put on the clipboard).
  bool written = false;
  std::filesystem::path reportPath;  // HPupload/TK<yyyymmdd><cc>.txt
  std::filesystem::path logPath;     // HPupload/Rararavu.txt
  std::vector<std::string> reportLines;  // header line first (Shift-JIS)
  // The report as saved: every line followed by CR LF (the clipboard text).
  std::string reportText;
  int hits = 0;
  int meetings = 0;  // meetings of the date that were loaded
};

// Runs the report for the date of `selectedMeeting` (a MeetingBaseName of
// the calendar, or just its first 14 bytes, the date part): every calendar
// item of that date is chosen in calendar order and its races analysed, as
// the window does, so the flow is left with the last meeting of the date
// loaded and its last race analysed. `callbacks` go to each meeting load.
// Throws StoreError when the report folder or a file cannot be written, and
// RefusedRecord when the report's name cannot be formed from the race record.
HitReportResult RunHitReport(const Store& store, MeetingFlow& flow, std::string_view selectedMeeting,
                             HitReportKind kind, const MeetingFlowCallbacks& callbacks = {});

}  // namespace furlong
