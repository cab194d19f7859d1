#pragma once
// The record filing: the reading loop that takes the records of an import out
// of JV-Link one by one (ReadAndFile) and files each into the store by record
// type, data kind and race date, and the filing of a results fetch. Free of
// widgets: what the import window shows goes through ImportUi.
#include <atomic>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "jvlink/ImportTime.h"
#include "jvlink/JVLink.h"
#include "jvlink/StoreWriter.h"
#include "store/Store.h"

namespace furlong {

// What the import window (or a terminal) shows while an import runs. Every
// text is Shift-JIS. The defaults do nothing, so a front end overrides only
// what it shows.
class ImportUi {
 public:
  virtual ~ImportUi() = default;
  // The status line (ProgressLabel).
  virtual void Status(const std::string& text) {}
  // Download progress in files (ProgressBar1): range 0..maximum, position.
  virtual void DownloadRange(int maximum) {}
  virtual void DownloadPosition(int position) {}
  // Reading progress in files (ProgressBar2).
  virtual void ReadRange(int maximum) {}
  virtual void ReadPosition(int position) {}
  // One line of the list of filed records (ListBox1), and emptying it.
  virtual void ListLine(const std::string& line) {}
  virtual void ClearList() {}
  virtual void Beep() {}
  // An information message (modal, OK). `isError` tells failures from
  // notices, for front ends that print them apart; the window shows both
  // the same way.
  virtual void Message(const std::string& text, bool isError) {}
  // The hourglass cursor on or off.
  virtual void BusyCursor(bool on) {}
  // The 10 ms download polling timer on or off.
  virtual void PollingTimer(bool on) {}
  // The from-time of the next import changed (the date picker and Label5).
  virtual void FromTimeChanged(const LocalDateTime& fromTime) {}
  // Lets pending window messages run (so the cancel button works).
  virtual void ProcessEvents() {}
};

// The cut-off date of the filing: `now` minus 4 days as the number yyyymmdd.
int CutoffDate(const LocalDateTime& now);

// Files single records by the rules of an import or of a results fetch.
// Records are as received, closing CR LF included. A record that cannot be
// filed safely (wrong length or line breaks for its type, a field that would
// form an unsafe path, no runner slot for its race and horse number) is not
// filed, and a list line says so.
class RecordFiler {
 public:
  using LineSink = std::function<void(const std::string&)>;

  // `cutoffDate` as CutoffDate gives it; only the import rules use it.
  RecordFiler(const Store& store, StoreWriter& writer, int cutoffDate);

  // The import rules: race file, runner file, payout file, results race
  // file, horse history file, horse master file, in this order; one list line
  // per filing. Store failures throw StoreError.
  void FileImported(std::string_view record, const LineSink& listLine);
  // The results fetch rules: RA, SE and HR records into the meeting's race,
  // runner and payout files, with no data-kind or date conditions.
  void FileResult(std::string_view record, const LineSink& listLine);

  // Number of filings made (a record filed twice counts twice).
  int Filings() const { return filings_; }

 private:
  // A meeting file's path and its Shift-JIS file name, formed once per
  // meeting and kind (".jvRA", ".jvSEr", ".jvHR").
  struct MeetingFile {
    std::filesystem::path path;
    std::string name;
  };
  const MeetingFile& MeetingFileOf(std::string_view record, std::string_view extension);
  // The year folder below "SEIR", "SEI" or "UM2", created once per loop.
  void EnsureYearFolder(std::string_view folder, std::string_view year);
  bool WellFormed(std::string_view record, std::string_view type, const LineSink& listLine);
  // Into the meeting's race file (.jvRA) or payout file (.jvHR).
  void FileByRaceKey(std::string_view record, const std::string& zeroed, const LineSink& listLine, bool raceFile);
  void FileRunnerFile(std::string_view record, const LineSink& listLine);
  // A list line saying the file was written (through the writer, which holds
  // it until the file is on disk).
  void Claim(const std::filesystem::path& path, const std::string& line);

  const Store& store_;
  StoreWriter& writer_;
  int cutoff_;
  int filings_ = 0;
  const LineSink* sink_ = nullptr;  // the sink of the record being filed
  std::unordered_map<std::string, MeetingFile> meetingFiles_;
  std::set<std::string, std::less<>> yearFolders_;
};

enum class ReadEnd {
  Finished,    // JVRead reported the end of the data
  Cancelled,   // the cancel flag was set
  ReadError,   // JVRead returned an error (below -3)
  StoreFailed, // a store file or folder could not be read or written
};

struct ReadAndFileResult {
  ReadEnd end = ReadEnd::Finished;
  int code = 0;        // the JVRead result that ended the loop
  int filesRead = 0;   // JV-Link files finished
  int records = 0;     // records read
  std::string error;   // the store failure (UTF-8) when end is StoreFailed
};

// A batched writer is flushed during the reading loop once it holds more
// than this, so an import of many years needs no more memory than one of a
// few weeks.
inline constexpr std::size_t kImportHeldBytes = 64u << 20;

// The reading loop of an import: reads to the end of the data, to an error
// or to a cancel, files every record (FileImported) and reports through the
// ui. The cut-off date is taken from `clock` once, when the loop starts. The
// writer is flushed at every JV-Link file switch, whenever it holds more than
// kImportHeldBytes, and before the loop returns, whatever ended it; so the
// list lines reach the ui as their files are written. Only after the last
// flush does the ui hear how the loop ended. Does not close JV-Link.
ReadAndFileResult ReadAndFile(JVLink& jvlink, const Store& store, StoreWriter& writer, int readCount,
                              const Clock& clock, const std::atomic<bool>& cancelled, ImportUi& ui);

}  // namespace furlong
