// The 回収率 window on the demo store: its dates, a run on the worker thread
// with the table and the chart it fills, sorting, CSV and the main window's
// meeting left as it was.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include "ScriptedDialogs.h"
#include "app/BacktestWindow.h"
#include "views/DateLineChart.h"
#include "reports/Backtest.h"

namespace furlong {
namespace {

using test::ScratchDir;

bool RunToEnd(BacktestWindow& w) {
  w.StartButton()->click();
  return test::WaitUntil([&] { return w.StartButton()->isEnabled(); }, 60000);
}

TEST(BacktestWindow, RunsOverTheStoredMeetingsWithoutTouchingTheLoadedMeeting) {
  ScratchDir settings;
  test::CommandHarness h(test::DemoRoot(), settings.path(), settings.path() / "feed");
  ASSERT_TRUE(h.form->ChooseMeeting(test::Sjis("2024年11月16日京都")));
  const QString meeting = h.form->DateCombo()->currentText();
  const int race = h.form->Flow().SelectedItem();

  h.Button("KaishuBtn")->click();
  BacktestWindow* w = h.form->Backtest();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->FromDate()->date(), QDate(2024, 11, 16));
  EXPECT_EQ(w->ToDate()->date(), QDate(2024, 11, 17));
  EXPECT_FALSE(w->CsvButton()->isEnabled());
  // Before 開始 the empty table fits the window: its last column, 回収率, shows.
  QApplication::processEvents();
  const QHeaderView* header = w->Table()->horizontalHeader();
  EXPECT_LE(header->sectionViewportPosition(9) + header->sectionSize(9), w->Table()->viewport()->width());

  ASSERT_TRUE(RunToEnd(*w));
  EXPECT_FALSE(w->CancelButton()->isEnabled());
  EXPECT_EQ(w->Progress()->value(), w->Progress()->maximum());
  // The same result as the computation on its own.
  Store store(test::DemoRoot(), false);
  BacktestOptions range;
  range.from = "20241116";
  range.to = "20241117";
  EXPECT_EQ(w->Result(), RunBacktest(store, range));
  // Four rows (bet kinds) for the whole and for every group.
  int groups = 1;
  for (const GroupTable& t : w->Result().by) groups += static_cast<int>(t.size());
  EXPECT_EQ(w->Table()->rowCount(), 4 * groups);
  EXPECT_EQ(w->Table()->item(0, 0)->text(), "全体");
  ASSERT_EQ(w->Chart()->Series().size(), 4u);
  EXPECT_EQ(w->Chart()->Series().at(3).points.size(), 2u);  // two dates
  EXPECT_EQ(w->Chart()->FirstDate(), QDate(2024, 11, 16));
  EXPECT_EQ(w->Chart()->LastDate(), QDate(2024, 11, 17));

  // Sorting by stake puts the largest last, by value, not by text.
  w->Table()->sortItems(7, Qt::AscendingOrder);
  const int last = w->Table()->rowCount() - 1;
  EXPECT_EQ(w->Table()->item(last, 7)->text().toLongLong(), w->Result().total[BetKind::kWide].stake);

  // CSV保存 writes the rows of furlong-cli backtest --csv.
  ScratchDir out;
  h.dialogs->fileToSave = out.path() / "r.csv";
  ASSERT_TRUE(w->CsvButton()->isEnabled());
  w->CsvButton()->click();
  QFile csv(PathText(out.path() / "r.csv"));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_EQ(csv.readAll().toStdString(), BacktestCsv(w->Result()));

  EXPECT_EQ(h.form->DateCombo()->currentText(), meeting);
  EXPECT_EQ(h.form->Flow().SelectedItem(), race);
  EXPECT_EQ(h.form->Flow().Meeting(), test::Sjis("2024年11月16日京都"));
}

TEST(BacktestWindow, ADateRangeWithoutMeetingsAndACancelSaySo) {
  ScratchDir settings;
  test::CommandHarness h(test::DemoRoot(), settings.path(), settings.path() / "feed");
  h.Button("KaishuBtn")->click();
  BacktestWindow* w = h.form->Backtest();
  w->FromDate()->setDate(QDate(2025, 1, 1));
  w->ToDate()->setDate(QDate(2025, 1, 31));
  ASSERT_TRUE(RunToEnd(*w));
  EXPECT_EQ(w->Status()->text(), "指定の期間に開催がありません。");
  EXPECT_EQ(w->Table()->rowCount(), 0);
  EXPECT_FALSE(w->CsvButton()->isEnabled());

  w->FromDate()->setDate(QDate(2024, 11, 17));
  w->ToDate()->setDate(QDate(2024, 11, 16));
  w->StartButton()->click();
  EXPECT_EQ(h.dialogs->Messages().value(0), "開始日が終了日より後です。");
  EXPECT_TRUE(w->StartButton()->isEnabled());

  // A cancel right after the start stops before every meeting is done.
  w->FromDate()->setDate(QDate(2024, 11, 16));
  w->ToDate()->setDate(QDate(2024, 11, 17));
  w->StartButton()->click();
  EXPECT_TRUE(w->CancelButton()->isEnabled());
  w->CancelButton()->click();
  ASSERT_TRUE(test::WaitUntil([&] { return w->StartButton()->isEnabled(); }, 60000));
  EXPECT_TRUE(w->Result().cancelled);
  EXPECT_EQ(w->Status()->text(), "中止しました。");
}

}  // namespace
}  // namespace furlong
