#pragma once
// The "回収率" window: the return on the analysis's own bets over a range of
// meeting dates. It runs on a worker thread with its own store reader and
// meeting flows, so the window stays responsive and the main window's
// loaded meeting is never touched.
#include <QDialog>
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "reports/Backtest.h"

class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace furlong {

class DateLineChart;
class Dialogs;

class BacktestWindow : public QDialog {
  Q_OBJECT
 public:
  BacktestWindow(const std::filesystem::path& dataRoot, std::shared_ptr<Dialogs> dialogs, QWidget* parent = nullptr);
  ~BacktestWindow() override;

  QDateEdit* FromDate() const { return from_; }
  QDateEdit* ToDate() const { return to_; }
  QPushButton* StartButton() const { return start_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* CsvButton() const { return csv_; }
  QProgressBar* Progress() const { return progress_; }
  QTableWidget* Table() const { return table_; }
  DateLineChart* Chart() const { return chart_; }
  QLabel* Status() const { return status_; }
  bool Running() const { return worker_.joinable(); }
  const BacktestResult& Result() const { return result_; }

 public slots:
  void StartClick();
  void CancelClick();
  void CsvClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // What the worker hands back: the result, or why the store could not be read.
  struct Run {
    BacktestResult result;
    std::string error;
  };
  void Finished(Run run);
  void ShowTable();
  void ShowChart();
  void StopWorker();

  std::filesystem::path dataRoot_;
  std::shared_ptr<Dialogs> dialogs_;
  QDateEdit* from_ = nullptr;
  QDateEdit* to_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* csv_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QTableWidget* table_ = nullptr;
  DateLineChart* chart_ = nullptr;

  std::thread worker_;
  std::atomic<bool> cancelRequested_{false};
  BacktestResult result_;
};

}  // namespace furlong
