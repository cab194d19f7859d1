#include "app/BacktestWindow.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QDateTime>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/WindowWorker.h"
#include "store/Encoding.h"
#include "store/Store.h"
#include "views/DateLineChart.h"
#include "views/ViewSupport.h"

namespace furlong {

namespace {

QDate DateOf(const std::string& yyyymmdd) { return QDate::fromString(QString::fromStdString(yyyymmdd), "yyyyMMdd"); }
std::string TextOf(const QDate& d) { return d.toString("yyyyMMdd").toStdString(); }

// Sorts numeric columns by their value, not their text.
class SortItem : public QTableWidgetItem {
 public:
  using QTableWidgetItem::QTableWidgetItem;
  bool operator<(const QTableWidgetItem& other) const override {
    const QVariant a = data(Qt::UserRole), b = other.data(Qt::UserRole);
    if (a.isValid() && b.isValid()) return a.toDouble() < b.toDouble();
    return QTableWidgetItem::operator<(other);
  }
};

QTableWidgetItem* Cell(const QString& text) { return new SortItem(text); }
QTableWidgetItem* Cell(double value, const QString& text) {
  auto* item = new SortItem(text);
  item->setData(Qt::UserRole, value);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QString Rate(bool has, double v) { return has ? QString::number(v, 'f', 1) + "%" : QString("-"); }

}  // namespace

BacktestWindow::BacktestWindow(const std::filesystem::path& dataRoot, std::shared_ptr<Dialogs> dialogs, QWidget* parent)
    : QDialog(parent), dataRoot_(dataRoot), dialogs_(std::move(dialogs)) {
  setObjectName("BacktestWindow");
  setWindowTitle("回収率");
  setFont(UiFont(12));
  resize(1000, 720);

  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  from_ = new QDateEdit(this);
  to_ = new QDateEdit(this);
  for (QDateEdit* d : {from_, to_}) {
    d->setCalendarPopup(true);
    d->setDisplayFormat("yyyy/MM/dd");
  }
  from_->setObjectName("FromDate");
  to_->setObjectName("ToDate");
  // The oldest and the newest stored meeting.
  const std::vector<std::string> names = Store(dataRoot_, false).MeetingNames();
  std::string oldest, newest;
  for (const std::string& n : names) {
    const std::string d = MeetingDate(n);
    if (d.empty()) continue;
    if (oldest.empty() || d < oldest) oldest = d;
    if (newest.empty() || d > newest) newest = d;
  }
  from_->setDate(oldest.empty() ? QDate::currentDate() : DateOf(oldest));
  to_->setDate(newest.empty() ? QDate::currentDate() : DateOf(newest));

  start_ = new QPushButton("開始", this);
  start_->setObjectName("StartBtn");
  cancel_ = new QPushButton("中止", this);
  cancel_->setObjectName("CancelBtn");
  cancel_->setEnabled(false);
  csv_ = new QPushButton("CSV保存", this);
  csv_->setObjectName("CsvBtn");
  csv_->setEnabled(false);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("BacktestProgress");
  progress_->setRange(0, 1);
  progress_->setValue(0);
  row->addWidget(new QLabel("期間:", this));
  row->addWidget(from_);
  row->addWidget(new QLabel("～", this));
  row->addWidget(to_);
  row->addWidget(start_);
  row->addWidget(cancel_);
  row->addWidget(progress_, 1);
  row->addWidget(csv_);
  layout->addLayout(row);

  status_ = new QLabel(this);
  status_->setObjectName("BacktestStatus");
  layout->addWidget(status_);

  auto* split = new QSplitter(Qt::Vertical, this);
  table_ = new QTableWidget(0, 10, split);
  table_->setObjectName("BacktestTable");
  table_->setHorizontalHeaderLabels(
      {"区分", "グループ", "券種", "レース", "点数", "的中", "的中率", "投資", "払戻", "回収率"});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->setVisible(false);
  table_->verticalHeader()->setDefaultSectionSize(20);
  // In the order of the report until a column header is clicked.
  table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  table_->setSortingEnabled(true);
  // Sized to the headers until there are rows: ten default-width columns are
  // wider than the window and hid 回収率.
  table_->resizeColumnsToContents();
  chart_ = new DateLineChart("累積回収率", "日付", "回収率 (%)", split);
  chart_->setObjectName("BacktestChart");
  chart_->setMinimumHeight(260);
  split->addWidget(table_);
  split->addWidget(chart_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  layout->addWidget(split, 1);

  connect(start_, &QPushButton::clicked, this, &BacktestWindow::StartClick);
  connect(cancel_, &QPushButton::clicked, this, &BacktestWindow::CancelClick);
  connect(csv_, &QPushButton::clicked, this, &BacktestWindow::CsvClick);
}

BacktestWindow::~BacktestWindow() { StopWorker(); }

void BacktestWindow::StopWorker() {
  if (!worker_.joinable()) return;
  cancelRequested_ = true;
  worker_.join();
}

void BacktestWindow::closeEvent(QCloseEvent* event) {
  StopWorker();
  QDialog::closeEvent(event);
}

void BacktestWindow::StartClick() {
  if (worker_.joinable()) return;
  const QDate from = from_->date(), to = to_->date();
  if (from > to) {
    dialogs_->Information(this, "開始日が終了日より後です。");
    return;
  }
  start_->setEnabled(false);
  csv_->setEnabled(false);
  cancel_->setEnabled(true);
  progress_->setRange(0, 0);
  status_->setText("集計中…");
  cancelRequested_ = false;

  BacktestOptions options;
  options.from = TextOf(from);
  options.to = TextOf(to);
  options.threads = std::thread::hardware_concurrency() >= 2 ? 2 : 1;
  options.cancel = &cancelRequested_;
  options.progress = [self = QPointer<BacktestWindow>(this)](int done, int total) {
    PostToWindow(self, [done, total](BacktestWindow& w) {
      w.progress_->setRange(0, total);
      w.progress_->setValue(done);
    });
  };
  worker_ = StartWindowWorker(
      this,
      [root = dataRoot_, options]() mutable {
        Run run;
        try {
          const Store store(root, false);
          run.result = RunBacktest(store, options);
        } catch (const std::exception& e) {
          run.result = BacktestResult{};
          run.result.cancelled = true;
          run.error = e.what();
        }
        return run;
      },
      &BacktestWindow::Finished);
}

void BacktestWindow::CancelClick() {
  cancelRequested_ = true;
  cancel_->setEnabled(false);
  status_->setText("中止しています…");
}

void BacktestWindow::Finished(Run run) {
  if (worker_.joinable()) worker_.join();
  result_ = std::move(run.result);
  start_->setEnabled(true);
  cancel_->setEnabled(false);
  const int total = result_.meetings + result_.skippedMeetings;
  progress_->setRange(0, std::max(total, 1));
  progress_->setValue(result_.cancelled ? progress_->value() : std::max(total, 1));
  QString status;
  if (!run.error.empty()) status = "集計できませんでした。" + QString::fromStdString(run.error);
  else if (result_.cancelled) status = "中止しました。";
  else if (total == 0) status = "指定の期間に開催がありません。";
  else status = QString("%1 開催, %2 レース").arg(result_.meetings).arg(result_.races);
  if (result_.skippedMeetings > 0) status += QString(" (読めない開催 %1)").arg(result_.skippedMeetings);
  status_->setText(status);
  if (!run.error.empty()) {
    dialogs_->Beep();
    dialogs_->Information(this, status);
  }
  csv_->setEnabled(!result_.cancelled && total > 0);
  ShowTable();
  ShowChart();
}

void BacktestWindow::ShowTable() {
  table_->setSortingEnabled(false);
  table_->setRowCount(0);
  auto add = [this](const QString& kind, const QString& name, const KindTotals& t) {
    for (BetKind b : kAllBetKinds) {
      const BetTotals& x = t[b];
      const int r = table_->rowCount();
      table_->insertRow(r);
      table_->setItem(r, 0, Cell(kind));
      table_->setItem(r, 1, Cell(name));
      table_->setItem(r, 2, Cell(QString::fromUtf8(BetKindLabel(b))));
      table_->setItem(r, 3, Cell(static_cast<double>(x.races), QString::number(x.races)));
      table_->setItem(r, 4, Cell(static_cast<double>(x.bets), QString::number(x.bets)));
      table_->setItem(r, 5, Cell(static_cast<double>(x.hits), QString::number(x.hits)));
      table_->setItem(r, 6, Cell(x.HasStake() ? x.HitRate() * 100.0 : -1.0, Rate(x.HasStake(), x.HitRate() * 100.0)));
      table_->setItem(r, 7, Cell(static_cast<double>(x.stake), QString::number(x.stake)));
      table_->setItem(r, 8, Cell(static_cast<double>(x.returned), QString::number(x.returned)));
      table_->setItem(r, 9, Cell(x.HasStake() ? x.ReturnRate() : -1.0, Rate(x.HasStake(), x.ReturnRate())));
    }
  };
  if (result_.meetings > 0) {
    add("全体", "", result_.total);
    for (int g = 0; g < kGroupKinds; ++g)
      for (const auto& [key, group] : result_.by[static_cast<std::size_t>(g)])
        add(QString::fromUtf8(GroupKindLabel(static_cast<GroupKind>(g))),
            QString::fromStdString(SjisToUtf8(group.name)), group.totals);
  }
  table_->setSortingEnabled(true);
  table_->resizeColumnsToContents();
}

void BacktestWindow::ShowChart() {
  // The bet kinds in the colours of a line chart's usual palette.
  static const QColor colours[] = {QColor(32, 159, 223), QColor(153, 202, 83), QColor(246, 166, 37),
                                   QColor(109, 95, 213)};
  std::vector<DateSeries> lines;
  if (!result_.dates.empty()) {
    std::size_t i = 0;
    for (BetKind b : kAllBetKinds) {
      DateSeries line{QString::fromUtf8(BetKindLabel(b)), colours[i++ % std::size(colours)], {}};
      BetTotals running;
      for (const DateTotals& d : result_.dates) {
        running += d.totals[b];
        if (running.HasStake()) line.points.push_back({DateOf(d.date), running.ReturnRate()});
      }
      lines.push_back(std::move(line));
    }
  }
  chart_->SetSeries(std::move(lines));
}

void BacktestWindow::CsvClick() {
  const std::filesystem::path file =
      dialogs_->SaveFileName(this, "CSV保存", dataRoot_ / "kaishuritsu.csv", "CSVファイル", "*.csv");
  if (file.empty()) return;
  QFile out(PathText(file));
  const std::string csv = BacktestCsv(result_);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      out.write(csv.data(), static_cast<qint64>(csv.size())) != static_cast<qint64>(csv.size())) {
    dialogs_->Information(this, "保存できませんでした: " + PathText(file) + "\n" + out.errorString());
    return;
  }
  out.close();
  status_->setText(status_->text() + "  保存: " + PathText(file));
}

}  // namespace furlong
