#include "jvlink/ImportDriver.h"

#include <exception>
#include <memory>

#include "jvlink/JVResultMessage.h"
#include "store/Encoding.h"
#include "store/Record.h"

namespace furlong {

const std::string& ImportStartNotice() {
  return SJ("データ取込を開始します。データ作成が終了するまで本ソフトを操作したり他のアプリケーションを操作することは極力避けてください。");
}

const std::string& ImportCancelQuestion() { return SJ("データ取込を中止します。実行しますか？"); }

ImportSession::ImportSession(JVLink& jvlink, const Store& store, TIniGT& settings, ImportUi& ui, Clock clock,
                             bool batched)
    : jv_(jvlink), store_(store), settings_(settings), ui_(ui), clock_(std::move(clock)), batched_(batched) {}

LocalDateTime ImportSession::LoadFromTime() {
  const LocalDateTime fallback = AddDays(clock_(), -8);
  try {
    std::string text = settings_.ReadString(kLastTimeSection, kLastTimeKey, FormatSettingTime(fallback));
    if (auto parsed = ParseSettingTime(text)) return *parsed;
  } catch (const std::exception&) {
    // An unreadable settings file counts as one without the key.
  }
  return fallback;
}

void ImportSession::OpenSettingsDialog() {
  int r = jv_.JVSetUIProperties();
  if (r != 0) {
    ui_.Beep();
    ui_.Message(SJ("JVSetUIPropertiesエラー：") + JVResultMessage("JVSetUIProperties", r), true);
  }
}

bool ImportSession::Start(const LocalDateTime& fromTime) {
  if (state_ != State::Idle) return Polling();
  ui_.PollingTimer(false);
  cancelled_ = false;
  end_ = ImportEnd::None;
  read_ = {};
  ui_.DownloadPosition(0);
  ui_.ReadPosition(0);
  ui_.ClearList();

  const std::string from = FormatTimestamp(fromTime);
  ui_.BusyCursor(true);
  int r = jv_.JVOpen(kImportDataSpec, from, kImportOpenOption, readCount_, downloadCount_, lastFileTimestamp_);
  if (r == kJVOpenNoData || (r == 0 && readCount_ == 0)) {
    ui_.Beep();
    ui_.Message(SJ("最新のデータがありません。"), false);
    end_ = ImportEnd::NoData;
    CloseImport();
    return false;
  }
  if (r != 0) {
    ui_.Beep();
    ui_.Message(SJ("JVOpenエラー:") + JVResultMessage("JVOpen", r), true);
    end_ = ImportEnd::OpenFailed;
    CloseImport();
    return false;
  }

  ui_.Status(SJ("JVOpen正常:") + JVResultMessage("JVOpen", 0));
  ui_.Status("ReadCount:" + std::to_string(readCount_) + ", DownloadCount:" + std::to_string(downloadCount_));
  if (downloadCount_ > 0) {
    ui_.Status(SJ("ダウンロード中・・・"));
    ui_.DownloadRange(downloadCount_);
    state_ = State::Downloading;
    ui_.PollingTimer(true);
    return true;
  }
  ui_.DownloadRange(100);
  ui_.DownloadPosition(100);
  ReadAndClose();
  return false;
}

bool ImportSession::Poll() {
  // A poll that arrives while the reading loop lets window messages run, or
  // after the import ended, does nothing.
  if (state_ != State::Downloading) return false;
  int n = jv_.JVStatus();
  if (n < 0) {
    ui_.Beep();
    ui_.Message(SJ("JVStatusエラー:") + JVResultMessage("JVStatus", n), true);
    ui_.PollingTimer(false);
    end_ = ImportEnd::StatusFailed;
    CloseImport();
    return false;
  }
  // JV-Link never reports more files than it announced; should it, the
  // count is not taken as the end of the download.
  if (n > downloadCount_) return true;
  ui_.Status(SJ("ダウンロード中．．．(") + std::to_string(n) + "/" + std::to_string(downloadCount_) + ")");
  ui_.DownloadPosition(n);
  if (n < downloadCount_) return true;
  ui_.PollingTimer(false);
  ReadAndClose();
  return false;
}

void ImportSession::Cancel() {
  ui_.PollingTimer(false);
  jv_.JVCancel();
  cancelled_ = true;
  ui_.Beep();
  const std::string& text = SJ("JVCancel:キャンセルされました");
  ui_.Message(text, false);
  ui_.Status(text);
  // During the download nothing else would close the import.
  if (state_ == State::Downloading) {
    end_ = ImportEnd::Cancelled;
    CloseImport();
  }
}

void ImportSession::ReadAndClose() {
  state_ = State::Reading;
  fromTimeNotSaved_ = false;
  // What an import killed before this one left behind.
  RemoveStaleTempFiles(store_);
  std::unique_ptr<StoreWriter> writer;
  if (batched_)
    writer = std::make_unique<BatchedStoreWriter>();
  else
    writer = std::make_unique<DirectStoreWriter>(store_);
  read_ = ReadAndFile(jv_, store_, *writer, readCount_, clock_, cancelled_, ui_);
  switch (read_.end) {
    case ReadEnd::Finished: end_ = ImportEnd::Finished; break;
    case ReadEnd::Cancelled: end_ = ImportEnd::Cancelled; break;
    case ReadEnd::ReadError: end_ = ImportEnd::ReadFailed; break;
    case ReadEnd::StoreFailed: end_ = ImportEnd::StoreFailed; break;
  }
  CloseImport();
  // Only an import that read and wrote everything moves the from-time on:
  // after a cancel or a failure the next import starts from the same time
  // and brings the rest.
  if (end_ == ImportEnd::Finished) StoreFromTime();
}

void ImportSession::CloseImport() {
  int r = jv_.JVClose();
  ui_.BusyCursor(false);
  if (r != 0) {
    ui_.Beep();
    ui_.Message(SJ("JVCloseエラー:") + JVResultMessage("JVClose", r), true);
  } else {
    ui_.Beep();
  }
  state_ = State::Idle;
}

void ImportSession::StoreFromTime() {
  if (IsBlank(lastFileTimestamp_) || lastFileTimestamp_ == "00000000000000") return;
  auto parsed = ParseTimestamp(lastFileTimestamp_);
  if (!parsed) return;
  ui_.FromTimeChanged(*parsed);
  try {
    settings_.WriteString(kLastTimeSection, kLastTimeKey, FormatSettingTime(*parsed));
  } catch (const std::exception& e) {
    fromTimeNotSaved_ = true;
    ui_.Beep();
    ui_.Message(Utf8ToSjis(e.what()), true);
  }
}

}  // namespace furlong
