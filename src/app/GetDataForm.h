#pragma once
// The import window (TGetDataForm, "ＪＶデータ取込"): one JV-Link download of
// race data from the chosen from-time on, its download and reading progress,
// the list of filed records, cancel, and JV-Link's own settings dialog. The
// import itself is ImportSession; this window shows what it reports, polls
// the download with a 10 ms timer and lets window messages run while the
// records are read, so that the cancel button stays usable.
//
// Opened modally by the main window, created anew each time; the main window
// rebuilds its meeting calendar when it closes.
#include <QDialog>
#include <QElapsedTimer>

#include "app/ImportListModel.h"
#include "jvlink/ImportDriver.h"

class QDateTimeEdit;
class QLabel;
class QListView;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;

namespace furlong {

class Dialogs;

class TGetDataForm : public QDialog, private ImportUi {
  Q_OBJECT
 public:
  // FormCreate: reads the from-time ("LastTime" of "JvDataGet", or now minus
  // 8 days) into the date picker. `clock` gives "now" for that default and
  // for the filing's cut-off date.
  TGetDataForm(JVLink& jvlink, const Store& store, TIniGT& settings, Dialogs& dialogs, QWidget* parent = nullptr,
               Clock clock = SystemClock());
  ~TGetDataForm() override;

  // Controls, for the tests.
  QPushButton* ButtonStart() const { return buttonStart_; }
  QPushButton* ButtonCancel() const { return buttonCancel_; }
  QToolButton* SpeedButton1() const { return speedButton1_; }
  QLabel* ProgressLabel() const { return progressLabel_; }
  QProgressBar* ProgressBar1() const { return progressBar1_; }
  QProgressBar* ProgressBar2() const { return progressBar2_; }
  QListView* ListBox1() const { return listBox1_; }
  const ImportListModel& ListLines() const { return listLines_; }
  QDateTimeEdit* DateTimePicker1() const { return dateTimePicker1_; }
  QLabel* Label5() const { return label5_; }
  QTimer* TimerJVStatus() const { return timerJVStatus_; }
  const ImportSession& Session() const { return session_; }

  // The from-time of the next import: the picker's date with the time of day
  // of the stored from-time.
  LocalDateTime FromTime() const { return fromTime_; }
  void SetFromTime(const LocalDateTime& fromTime);

 public slots:
  void ButtonStartClick();
  void ButtonCancelClick();
  void SpeedButton1Click();
  void TimerJVStatusTimer();
  // Closing (the window's close box or Esc) while an import runs asks the
  // cancel question; on Yes the import is cancelled and the window closes
  // once it has ended.
  void reject() override;

 private:
  // ImportUi: what the import shows.
  void Status(const std::string& text) override;
  void DownloadRange(int maximum) override;
  void DownloadPosition(int position) override;
  void ReadRange(int maximum) override;
  void ReadPosition(int position) override;
  void ListLine(const std::string& line) override;
  void ClearList() override;
  void Beep() override;
  void Message(const std::string& text, bool isError) override;
  void BusyCursor(bool on) override;
  void PollingTimer(bool on) override;
  void FromTimeChanged(const LocalDateTime& fromTime) override;
  void ProcessEvents() override;

  void BuildControls();
  // Shows the list lines gathered since the last call in ListBox1.
  void FlushList();
  // Buttons and picker for a running or an idle import; closes the window
  // when that was asked for while the import ran.
  void ShowRunning(bool running);
  void AfterImportStep();

  Dialogs& dialogs_;
  ImportSession session_;
  LocalDateTime fromTime_;
  ImportListModel listLines_;
  QElapsedTimer sinceEvents_;
  bool busy_ = false;
  bool polling_ = false;
  bool closeRequested_ = false;
  bool settingPicker_ = false;

  QPushButton* buttonStart_ = nullptr;
  QPushButton* buttonCancel_ = nullptr;
  QToolButton* speedButton1_ = nullptr;
  QLabel* progressLabel_ = nullptr;
  QProgressBar* progressBar1_ = nullptr;
  QProgressBar* progressBar2_ = nullptr;
  QListView* listBox1_ = nullptr;
  QDateTimeEdit* dateTimePicker1_ = nullptr;
  QLabel* label5_ = nullptr;
  QTimer* timerJVStatus_ = nullptr;
};

}  // namespace furlong
