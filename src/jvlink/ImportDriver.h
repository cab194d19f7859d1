#pragma once
// The import without its window: opening the JV-Link download of race data
// from a from-time on, polling the download, running the reading loop,
// closing JV-Link and keeping the from-time of the next import in the
// settings file. The import window (and furlong-cli import) drive it:
//
//   session.LoadFromTime()       when the window is created
//   session.OpenSettingsDialog() JV-Link settings button
//   session.Start(fromTime)      start button, after the start notice; when it
//                                returns true, call Poll() every 10 ms until
//                                it returns false
//   session.Cancel()             cancel button, after the user said yes
#include <atomic>
#include <string>

#include "jvlink/ImportTime.h"
#include "jvlink/JVLink.h"
#include "jvlink/RecordFiling.h"
#include "store/IniGT.h"
#include "store/Store.h"

namespace furlong {

// The settings key of the next import's from-time ("yyyy/mm/dd hh:nn:ss").
inline constexpr std::string_view kLastTimeSection = "JvDataGet";
inline constexpr std::string_view kLastTimeKey = "LastTime";

// The notice the window shows before an import starts (Shift-JIS).
const std::string& ImportStartNotice();
// The question the window asks before cancelling (Shift-JIS).
const std::string& ImportCancelQuestion();

// How one import ended.
enum class ImportEnd {
  None,           // not started, or still running
  NoData,         // nothing newer than the from-time
  OpenFailed,     // JVOpen failed
  StatusFailed,   // JVStatus failed while downloading
  Cancelled,      // cancelled while downloading or reading
  ReadFailed,     // JVRead failed
  StoreFailed,    // a store file could not be read or written
  Finished,       // every record was read and filed
};

class ImportSession {
 public:
  // With `batched` the files touched by one reading loop are written once at
  // its end (BatchedStoreWriter); without it every record rewrites its files.
  ImportSession(JVLink& jvlink, const Store& store, TIniGT& settings, ImportUi& ui, Clock clock = SystemClock(),
                bool batched = true);

  // The from-time for the window: "LastTime" of section "JvDataGet"; the
  // current date-time minus 8 days when it is missing or not a date-time.
  LocalDateTime LoadFromTime();

  // JV-Link's settings dialog; an error is beeped and shown.
  void OpenSettingsDialog();

  // Starts an import from `fromTime` (the list is emptied, the bars reset).
  // Returns true when JV-Link downloads first: the caller then calls Poll
  // every 10 ms (ImportUi::PollingTimer says the same). Otherwise the import
  // has already run to its end.
  bool Start(const LocalDateTime& fromTime);

  // One poll of the download. Returns true while polling should go on. When
  // the download is complete it runs the reading loop and closes the import.
  bool Poll();

  // Cancels the running import (the caller has asked the user). During the
  // download the import is closed at once; a running reading loop stops
  // before its next read.
  void Cancel();

  bool Polling() const { return state_ == State::Downloading; }
  bool Running() const { return state_ != State::Idle; }
  const std::atomic<bool>& CancelFlag() const { return cancelled_; }

  int ReadCount() const { return readCount_; }
  int DownloadCount() const { return downloadCount_; }
  const std::string& LastFileTimestamp() const { return lastFileTimestamp_; }
  ImportEnd LastEnd() const { return end_; }
  // The reading loop's result of the last import that got that far.
  const ReadAndFileResult& LastRead() const { return read_; }
  // The last import finished but its next from-time could not be written to
  // the settings file (the error has been shown).
  bool FromTimeNotSaved() const { return fromTimeNotSaved_; }

 private:
  enum class State { Idle, Downloading, Reading };

  void ReadAndClose();
  void CloseImport();
  void StoreFromTime();

  JVLink& jv_;
  const Store& store_;
  TIniGT& settings_;
  ImportUi& ui_;
  Clock clock_;
  bool batched_;

  State state_ = State::Idle;
  bool fromTimeNotSaved_ = false;
  std::atomic<bool> cancelled_{false};
  int readCount_ = 0;
  int downloadCount_ = 0;
  std::string lastFileTimestamp_;
  ImportEnd end_ = ImportEnd::None;
  ReadAndFileResult read_;
};

}  // namespace furlong
