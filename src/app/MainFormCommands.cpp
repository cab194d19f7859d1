// The main window's side commands: the import window (JVデータ取得), the
// predicted odds import and its folder (予想配当), the results fetch (結果情報)
// and the hit reports (的中, 穴的中). The work is done by the core; this file
// asks the user, shows the messages and brings the window up to date.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QListWidget>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <exception>
#include <memory>

#include "analysis/MeetingFlow.h"
#include "app/BacktestWindow.h"
#include "app/Dialogs.h"
#include "app/GetDataForm.h"
#include "app/MainForm.h"
#include "app/PrgrsForm.h"
#include "app/RebuildMeetingsWindow.h"
#include "app/UpDownArrows.h"
#include "imports/PredictedOdds.h"
#include "jvlink/JVResultMessage.h"
#include "jvlink/ResultsFetch.h"
#include "reports/HitReport.h"
#include "store/Record.h"
#include "store/RecordLayout.h"
#include "store/Store.h"
#include "views/ResultView.h"
#include "views/ViewSupport.h"

namespace furlong {

namespace {

// What the results fetch shows while it reads: the window repaints between
// records (no input reaches it, the button is disabled), and the beeps.
class FetchUi : public ImportUi {
 public:
  explicit FetchUi(Dialogs& dialogs) : dialogs_(dialogs) {}
  void Beep() override { dialogs_.Beep(); }
  void ProcessEvents() override {
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < 10) return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceEvents_.start();
  }

 private:
  Dialogs& dialogs_;
  QElapsedTimer sinceEvents_;
};

}  // namespace

void TMainForm::JVBtnClick() {
  if (!jvlink_ || loading_) return;
  {
    TGetDataForm form(*jvlink_, *store_, ini_, *dialogs_, this);
    // What was shown before, to be shown again from the store as it now is.
    const std::string meeting = flow_->Meeting();
    int raceNumber = 0;
    if (flow_->SelectedItem() >= 0) {
      const int slot = flow_->RaceList()[static_cast<std::size_t>(flow_->SelectedItem())].slot;
      raceNumber = FieldNumber(flow_->Day().RaceRecords[static_cast<std::size_t>(slot)].view(), ra::kRaceNumber);
    }
    form.exec();
    // Closing the import window rebuilds the calendar before the window goes.
    MakeDataListBtnClick();
    // The lists were emptied: the meeting and race shown before are chosen
    // again, or the pages go when that meeting is no longer listed.
    if (meeting.empty() || !ChooseMeeting(meeting)) pageControl1_->hide();
    else if (raceNumber > 0) ChooseRace(raceNumber);
  }
}

void TMainForm::RebuildMeetingsClick() {
  if (loading_) return;
  {
    RebuildMeetingsWindow window(dataRoot_, *dialogs_, this);
    window.exec();
  }
  // The new meetings join the calendar.
  MakeDataListBtnClick();
}

void TMainForm::TozBtnClick() {
  const std::filesystem::path archive =
      dialogs_->OpenFileName(this, QString(), PredictedOddsFolder(ini_, *store_), FromSjis(PredictedOddsFilterText()),
                             QString::fromLatin1(kPredictedOddsFilterPatterns.data(),
                                                 static_cast<qsizetype>(kPredictedOddsFilterPatterns.size())));
  if (archive.empty()) return;
  OddsImportCallbacks callbacks;
  callbacks.message = [this](const std::string& message) { Information(FromSjis(message)); };
  callbacks.warning = [this](const std::string& warning) {
    statusBar()->showMessage(QString::fromStdString(warning), 10000);
  };
  try {
    // The odds show once the meeting is loaded again; the closing message
    // says so.
    ImportPredictedOdds(*store_, archive, flow_->YearFrom2005(), callbacks);
  } catch (const std::exception& e) {
    Information(QString::fromStdString(e.what()));
  }
}

void TMainForm::YosoDirClick() {
  const std::filesystem::path folder = dialogs_->ExistingFolder(this, FromSjis(PredictedOddsFolderPickerTitle()),
                                                                PredictedOddsFolder(ini_, *store_));
  if (folder.empty()) return;
  try {
    SetPredictedOddsFolder(ini_, folder);
  } catch (const std::exception& e) {
    Information(QString::fromStdString(e.what()));
  }
}

void TMainForm::KekkaGetBtnClick() {
  const int meeting = dateCombo_->currentIndex();
  const int race = datList_->currentRow();
  if (meeting < 0 || race < 0 || loading_ || !jvlink_) return;
  auto* button = findChild<QToolButton*>("KekkaGetBtn");
  if (button && !button->isEnabled()) return;

  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (button) button->setEnabled(false);
  // The meeting's date (columns 12-19 of its race records, the same in every
  // slot; taken from the selected race's slot, which always holds a race).
  // One fetch files every racecourse of that date.
  const int slot = race < static_cast<int>(flow_->RaceList().size())
                       ? flow_->RaceList()[static_cast<std::size_t>(race)].slot
                       : 0;
  const std::string date(ra::Date(flow_->Day().RaceRecords[static_cast<std::size_t>(slot)].view()));
  FetchUi ui(*dialogs_);
  const ResultsFetchResult fetched = FetchResults(*jvlink_, *store_, date, ui);

  if (!fetched.error.empty()) {
    // JV-Link is already closed; a store failure ends the fetch.
    QApplication::restoreOverrideCursor();
    if (button) button->setEnabled(true);
    Information(QString::fromStdString(fetched.error));
    return;
  }
  if (fetched.openCode != 0 && fetched.openCode != kJVOpenNoData)
    statusBar()->showMessage("JVRTOpenエラー:" + FromSjis(JVResultMessage("JVRTOpen", fetched.openCode)), 10000);
  else if (fetched.readCode < kJVReadDownloading)
    statusBar()->showMessage("JVReadエラー:" + FromSjis(JVResultMessage("JVRead", fetched.readCode)), 10000);

  // The meeting again, and the race that was selected.
  DateComboChange(meeting);
  if (race < datList_->count() && datList_->currentRow() != race) {
    datList_->setCurrentRow(race);  // runs DatListClick
    if (flow_->SelectedItem() != race) DatListClick();
  }
  QApplication::restoreOverrideCursor();
  if (button) button->setEnabled(true);
  // The payouts are on the 結果 tab.
  for (int i = 0; i < pageControl1_->count(); ++i) {
    auto* area = qobject_cast<QScrollArea*>(pageControl1_->widget(i));
    if (area && area->widget() == result_) pageControl1_->setCurrentIndex(i);
  }
}

void TMainForm::TekiAnaBtnClick() { MakeHitReport(HitReportKind::kAll); }

void TMainForm::TekiAnaBtn2Click() { MakeHitReport(HitReportKind::kLongshot); }

BacktestWindow* TMainForm::Backtest() const { return backtest_.data(); }

void TMainForm::KaishuBtnClick() {
  // One window, kept while it is open; it reads the store on its own and
  // leaves the loaded meeting alone.
  if (!backtest_) {
    backtest_ = new BacktestWindow(dataRoot_, dialogs_, this);
    backtest_->setAttribute(Qt::WA_DeleteOnClose);
  }
  backtest_->show();
  backtest_->raise();
  backtest_->activateWindow();
}

void TMainForm::MakeHitReport(HitReportKind kind) {
  const int selected = dateCombo_->currentIndex();
  const std::vector<std::string>& calendar = flow_->Calendar();
  if (selected < 0 || selected >= static_cast<int>(calendar.size()) || loading_) return;
  const std::string meeting = calendar[static_cast<std::size_t>(selected)];

  HitReportResult report;
  QString failure;
  const MeetingFlowCallbacks callbacks = LoadCallbacks();
  loading_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    report = RunHitReport(*store_, *flow_, meeting, kind, callbacks);
  } catch (const std::exception& e) {
    failure = QString::fromStdString(e.what());
  }
  prgrsForm_->Finish();
  QApplication::restoreOverrideCursor();
  loading_ = false;
  // The run leaves the date's last meeting loaded and its last race analysed.
  ShowFlowState();

  if (!failure.isEmpty()) {
    Information(failure);
    return;
  }
  if (!report.written) return;  // no hit: nothing is written, opened or copied
  QGuiApplication::clipboard()->setText(FromSjis(report.reportText));
  // When no program opens it, the message still says where the report is.
  if (!dialogs_->OpenWithDefaultApplication(report.reportPath))
    Information("的中レポートを保存しました。開くプログラムが見つかりません。\n" + PathText(report.reportPath));
}

void TMainForm::ShowFlowState() {
  const std::vector<std::string>& calendar = flow_->Calendar();
  int index = -1;
  for (int i = 0; i < static_cast<int>(calendar.size()); ++i)
    if (calendar[static_cast<std::size_t>(i)] == flow_->Meeting()) index = i;
  if (index < 0) return;
  dateCombo_->setCurrentIndex(index);
  selectingRow_ = true;
  datList_->clear();
  for (const RaceListItem& item : flow_->RaceList()) datList_->addItem(FromSjis(item.label));
  selectingRow_ = false;
  upDown1_->SetMax(flow_->UpDownMax());
  if (flow_->SelectedItem() >= 0) ShowAnalysis(&flow_->Analyzer().Result());
}

}  // namespace furlong
