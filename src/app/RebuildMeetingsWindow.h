#pragma once
// 開催データ作成: makes the meetings of past dates that a setup download
// filed only as results (RebuildMeetings), on a worker thread, with a
// progress bar and a cancel button. Modal; the main window rebuilds its
// meeting calendar when it closes.
#include <QDialog>

#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>

#include "jvlink/MeetingRebuild.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace furlong {

class Dialogs;

class RebuildMeetingsWindow : public QDialog {
  Q_OBJECT
 public:
  RebuildMeetingsWindow(const std::filesystem::path& dataRoot, Dialogs& dialogs, QWidget* parent = nullptr);
  ~RebuildMeetingsWindow() override;

  QPushButton* StartButton() const { return start_; }
  QPushButton* CancelButton() const { return cancel_; }
  QProgressBar* Progress() const { return progress_; }
  QLabel* Status() const { return status_; }
  bool Running() const { return worker_.joinable(); }
  // The last run's result.
  const RebuildResult& Result() const { return result_; }

 public slots:
  void StartClick();
  void CancelClick();
  // Closing while it runs cancels and waits for the meeting being written.
  void reject() override;

 private:
  void Finished(RebuildResult result);
  void StopWorker();

  std::filesystem::path dataRoot_;
  Dialogs& dialogs_;
  std::thread worker_;
  std::atomic<bool> cancelRequested_{false};
  RebuildResult result_;

  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace furlong
