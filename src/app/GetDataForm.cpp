#include "app/GetDataForm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "views/GridPainting.h"
#include "views/ViewSupport.h"

namespace furlong {

namespace {

// Window messages run at most this often while records are read: often
// enough for a responsive window, rarely enough not to slow the filing.
constexpr qint64 kEventsEveryMs = 10;

QDateTime ToQDateTime(const LocalDateTime& t) {
  return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

QLabel* Caption(const char* text, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setFont(UiFont(12));
  return label;
}

}  // namespace

TGetDataForm::TGetDataForm(JVLink& jvlink, const Store& store, TIniGT& settings, Dialogs& dialogs, QWidget* parent,
                           Clock clock)
    : QDialog(parent), dialogs_(dialogs), session_(jvlink, store, settings, *this, std::move(clock)) {
  setObjectName("GetDataForm");
  setWindowTitle("ＪＶデータ取込");
  setModal(true);
  BuildControls();
  ShowRunning(false);
  // FormCreate: the from-time of the next import.
  SetFromTime(session_.LoadFromTime());
}

TGetDataForm::~TGetDataForm() {
  timerJVStatus_->stop();
  if (busy_) QApplication::restoreOverrideCursor();
}

void TGetDataForm::BuildControls() {
  setFont(UiFont(12));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(6);

  auto* buttons = new QHBoxLayout;
  buttonStart_ = new QPushButton("データ取込み開始", this);
  buttonStart_->setObjectName("ButtonStart");
  buttonCancel_ = new QPushButton("データ取込み中止", this);
  buttonCancel_->setObjectName("ButtonCancel");
  speedButton1_ = new QToolButton(this);
  speedButton1_->setObjectName("SpeedButton1");
  speedButton1_->setText("JVLink設定");
  speedButton1_->setToolTip("JRA-VAN　Data Lab.のサービスキーやデータ保存場所の設定をします");
  speedButton1_->setStatusTip(speedButton1_->toolTip());
  for (QAbstractButton* b : {static_cast<QAbstractButton*>(buttonStart_), static_cast<QAbstractButton*>(buttonCancel_),
                             static_cast<QAbstractButton*>(speedButton1_)}) {
    b->setMinimumHeight(30);
    buttons->addWidget(b);
  }
  buttonStart_->setDefault(false);
  buttonStart_->setAutoDefault(false);
  buttonCancel_->setAutoDefault(false);
  buttons->addStretch(1);
  layout->addLayout(buttons);

  // The from-time and the two captions nothing updates.
  auto* from = new QGroupBox("データ提供日FROM", this);
  auto* fromLayout = new QGridLayout(from);
  fromLayout->addWidget(Caption("ファイル識別子", from), 0, 0);
  fromLayout->addWidget(Caption("取得開始日付", from), 1, 0);
  dateTimePicker1_ = new QDateTimeEdit(from);
  dateTimePicker1_->setObjectName("DateTimePicker1");
  dateTimePicker1_->setCalendarPopup(true);
  dateTimePicker1_->setDisplayFormat("yyyy年M月d日");
  dateTimePicker1_->setMinimumWidth(160);
  fromLayout->addWidget(dateTimePicker1_, 1, 1);
  label5_ = new QLabel(from);
  label5_->setObjectName("Label5");
  label5_->setVisible(false);
  fromLayout->addWidget(label5_, 1, 2);
  fromLayout->setColumnStretch(3, 1);
  layout->addWidget(from);

  progressLabel_ = new QLabel(this);
  progressLabel_->setObjectName("ProgressLabel");
  progressLabel_->setFrameShape(QFrame::Panel);
  progressLabel_->setFrameShadow(QFrame::Raised);
  progressLabel_->setLineWidth(2);
  progressLabel_->setFont(UiFont(13, true));
  progressLabel_->setStyleSheet("QLabel#ProgressLabel { color: blue; padding: 3px; }");
  progressLabel_->setTextFormat(Qt::PlainText);
  progressLabel_->setMinimumHeight(26);
  layout->addWidget(progressLabel_);

  auto* bars = new QGridLayout;
  bars->addWidget(Caption("ダウンロード", this), 0, 0);
  progressBar1_ = new QProgressBar(this);
  progressBar1_->setObjectName("ProgressBar1");
  bars->addWidget(progressBar1_, 0, 1);
  bars->addWidget(Caption("読込み", this), 1, 0);
  progressBar2_ = new QProgressBar(this);
  progressBar2_->setObjectName("ProgressBar2");
  bars->addWidget(progressBar2_, 1, 1);
  for (QProgressBar* bar : {progressBar1_, progressBar2_}) {
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
  }
  layout->addLayout(bars);

  layout->addWidget(Caption("作成済みデータ", this));
  listBox1_ = new QListView(this);
  listBox1_->setObjectName("ListBox1");
  listBox1_->setModel(&listLines_);
  listBox1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listBox1_->setFont(PixelFont(13));
  listBox1_->setUniformItemSizes(true);
  listBox1_->setMinimumHeight(260);
  layout->addWidget(listBox1_, 1);

  timerJVStatus_ = new QTimer(this);
  timerJVStatus_->setObjectName("TimerJVStatus");
  timerJVStatus_->setInterval(10);

  connect(buttonStart_, &QPushButton::clicked, this, &TGetDataForm::ButtonStartClick);
  connect(buttonCancel_, &QPushButton::clicked, this, &TGetDataForm::ButtonCancelClick);
  connect(speedButton1_, &QToolButton::clicked, this, &TGetDataForm::SpeedButton1Click);
  connect(timerJVStatus_, &QTimer::timeout, this, &TGetDataForm::TimerJVStatusTimer);
  connect(dateTimePicker1_, &QDateTimeEdit::dateChanged, this, [this](QDate date) {
    if (settingPicker_) return;
    // The picker shows the date only; the time of day stays as it was.
    fromTime_.year = date.year();
    fromTime_.month = date.month();
    fromTime_.day = date.day();
    label5_->setText(QString::fromStdString(FormatSettingTime(fromTime_)));
  });
  resize(560, 560);
}

void TGetDataForm::SetFromTime(const LocalDateTime& fromTime) {
  fromTime_ = fromTime;
  settingPicker_ = true;
  dateTimePicker1_->setDateTime(ToQDateTime(fromTime));
  settingPicker_ = false;
  label5_->setText(QString::fromStdString(FormatSettingTime(fromTime)));
}

void TGetDataForm::ShowRunning(bool running) {
  buttonStart_->setEnabled(!running);
  buttonCancel_->setEnabled(running);
  speedButton1_->setEnabled(!running);
  dateTimePicker1_->setEnabled(!running);
}

void TGetDataForm::AfterImportStep() {
  FlushList();
  if (session_.Running()) return;
  ShowRunning(false);
  if (closeRequested_) {
    closeRequested_ = false;
    QDialog::reject();
  }
}

void TGetDataForm::ButtonStartClick() {
  if (session_.Running()) return;
  dialogs_.Information(this, FromSjis(ImportStartNotice()));
  ShowRunning(true);
  closeRequested_ = false;
  // Without a download the whole import runs here, reading with window
  // messages let through; with one it goes on in the timer.
  session_.Start(fromTime_);
  AfterImportStep();
}

void TGetDataForm::TimerJVStatusTimer() {
  // Stopped while this poll runs, so that a message box it shows does not
  // let further polls in.
  if (polling_) return;
  polling_ = true;
  timerJVStatus_->stop();
  const bool goOn = session_.Poll();
  polling_ = false;
  if (goOn && session_.Polling()) timerJVStatus_->start();
  AfterImportStep();
}

void TGetDataForm::ButtonCancelClick() {
  if (!session_.Running()) return;
  if (!dialogs_.Confirm(this, FromSjis(ImportCancelQuestion()))) return;
  // The session may have ended while the question was open.
  if (!session_.Running()) return;
  session_.Cancel();
  // A cancel during the download has closed the import; a reading loop ends
  // at its next turn, and whoever runs it tidies up then.
  if (!session_.Polling()) FlushList();
  if (!session_.Running()) AfterImportStep();
}

void TGetDataForm::SpeedButton1Click() {
  if (session_.Running()) return;
  session_.OpenSettingsDialog();
}

void TGetDataForm::reject() {
  if (!session_.Running()) {
    QDialog::reject();
    return;
  }
  if (closeRequested_) return;
  if (!dialogs_.Confirm(this, FromSjis(ImportCancelQuestion()))) return;
  if (!session_.Running()) {
    QDialog::reject();
    return;
  }
  closeRequested_ = true;
  session_.Cancel();
  if (!session_.Running()) AfterImportStep();
}

// ---- ImportUi ---------------------------------------------------------------

void TGetDataForm::Status(const std::string& text) { progressLabel_->setText(FromSjis(text)); }

void TGetDataForm::DownloadRange(int maximum) { progressBar1_->setRange(0, maximum); }

void TGetDataForm::DownloadPosition(int position) { progressBar1_->setValue(position); }

void TGetDataForm::ReadRange(int maximum) { progressBar2_->setRange(0, maximum); }

void TGetDataForm::ReadPosition(int position) { progressBar2_->setValue(position); }

void TGetDataForm::ListLine(const std::string& line) { listLines_.Add(line); }

void TGetDataForm::ClearList() { listLines_.Clear(); }

void TGetDataForm::FlushList() {
  if (listLines_.Publish()) listBox1_->scrollToBottom();
}

void TGetDataForm::Beep() { dialogs_.Beep(); }

void TGetDataForm::Message(const std::string& text, bool) {
  FlushList();
  dialogs_.Information(this, FromSjis(text));
}

void TGetDataForm::BusyCursor(bool on) {
  if (on == busy_) return;
  busy_ = on;
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void TGetDataForm::PollingTimer(bool on) {
  if (on)
    timerJVStatus_->start();
  else
    timerJVStatus_->stop();
}

void TGetDataForm::FromTimeChanged(const LocalDateTime& fromTime) { SetFromTime(fromTime); }

void TGetDataForm::ProcessEvents() {
  if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventsEveryMs) return;
  FlushList();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  sinceEvents_.start();
}

}  // namespace furlong
