#include "app/RebuildMeetingsWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/WindowWorker.h"
#include "views/ViewSupport.h"

namespace furlong {

namespace {

// Progress from the worker thread, shown on the window's thread.
class WindowProgress : public RebuildProgress {
 public:
  explicit WindowProgress(QPointer<RebuildMeetingsWindow> window) : window_(std::move(window)) {}
  void Histories(int done, int total) override { Post("競走馬成績を読込み中．．．", done, total); }
  void Meetings(int done, int total) override { Post("開催データ作成中．．．", done, total); }

 private:
  void Post(const char* what, int done, int total) {
    const QString text = QString("%1(%2/%3)").arg(QString::fromUtf8(what)).arg(done).arg(total);
    PostToWindow(window_, [text, done, total](RebuildMeetingsWindow& w) {
      w.Status()->setText(text);
      w.Progress()->setRange(0, std::max(total, 1));
      w.Progress()->setValue(done);
    });
  }
  QPointer<RebuildMeetingsWindow> window_;
};

}  // namespace

RebuildMeetingsWindow::RebuildMeetingsWindow(const std::filesystem::path& dataRoot, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dataRoot_(dataRoot), dialogs_(dialogs) {
  setObjectName("RebuildMeetingsWindow");
  setWindowTitle("開催データ作成");
  auto* layout = new QVBoxLayout(this);
  auto* about = new QLabel(
      "セットアップで取り込んだ成績データから、開催データ（レース・出走馬）のない過去の開催を作成します。\n"
      "作成済みの開催は変更しません。",
      this);
  about->setWordWrap(true);
  layout->addWidget(about);
  status_ = new QLabel(this);
  status_->setObjectName("RebuildStatus");
  status_->setFont(UiFont(12, true));
  layout->addWidget(status_);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("RebuildProgress");
  progress_->setRange(0, 1);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  layout->addWidget(progress_);
  auto* row = new QHBoxLayout;
  start_ = new QPushButton("開始", this);
  start_->setObjectName("RebuildStart");
  cancel_ = new QPushButton("中止", this);
  cancel_->setObjectName("RebuildCancel");
  cancel_->setEnabled(false);
  row->addStretch(1);
  row->addWidget(start_);
  row->addWidget(cancel_);
  layout->addLayout(row);
  connect(start_, &QPushButton::clicked, this, &RebuildMeetingsWindow::StartClick);
  connect(cancel_, &QPushButton::clicked, this, &RebuildMeetingsWindow::CancelClick);
  resize(460, 160);
}

RebuildMeetingsWindow::~RebuildMeetingsWindow() { StopWorker(); }

void RebuildMeetingsWindow::StopWorker() {
  if (!worker_.joinable()) return;
  cancelRequested_ = true;
  worker_.join();
}

void RebuildMeetingsWindow::reject() {
  StopWorker();
  QDialog::reject();
}

void RebuildMeetingsWindow::StartClick() {
  if (worker_.joinable()) return;
  start_->setEnabled(false);
  cancel_->setEnabled(true);
  progress_->setRange(0, 0);
  status_->setText("開始しています…");
  cancelRequested_ = false;
  QPointer<RebuildMeetingsWindow> self(this);
  worker_ = StartWindowWorker(
      this,
      [self, root = dataRoot_, cancel = &cancelRequested_] {
        RebuildResult result;
        try {
          const Store store(root, false);
          WindowProgress progress(self);
          result = RebuildMeetings(store, RebuildOptions{}, cancel, &progress);
        } catch (const std::exception& e) {
          result.error = e.what();
        }
        return result;
      },
      &RebuildMeetingsWindow::Finished);
}

void RebuildMeetingsWindow::CancelClick() {
  cancelRequested_ = true;
  cancel_->setEnabled(false);
  status_->setText("中止しています…");
}

void RebuildMeetingsWindow::Finished(RebuildResult result) {
  if (worker_.joinable()) worker_.join();
  result_ = std::move(result);
  start_->setEnabled(true);
  cancel_->setEnabled(false);
  progress_->setRange(0, 1);
  progress_->setValue(result_.cancelled ? 0 : 1);
  QString text = result_.cancelled ? QString("中止しました。作成した開催: %1").arg(result_.meetings)
                                   : QString("作成した開催: %1 (%2 レース)").arg(result_.meetings).arg(result_.races);
  if (result_.racesMissingRunners > 0) text += QString("\n出走馬の欠けたレース: %1").arg(result_.racesMissingRunners);
  status_->setText(text);
  if (!result_.error.empty()) {
    dialogs_.Beep();
    dialogs_.Information(this, "開催データ作成エラー:" + QString::fromStdString(result_.error) + "\n" + text);
  } else {
    dialogs_.Information(this, text);
  }
}

}  // namespace furlong
