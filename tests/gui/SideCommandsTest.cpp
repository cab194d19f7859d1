// The main window's side commands on a copy of the demo store: the results
// fetch behind 結果情報, the predicted odds import behind 予想配当 and its folder
// menu item, and the hit reports behind 的中 and 穴的中.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>

#include "FeedTestSupport.h"
#include "ScriptedDialogs.h"
#include "demo/DemoOddsArchives.h"
#include "imports/PredictedOdds.h"
#include "jvlink/ImportDriver.h"
#include "store/IniGT.h"
#include "views/PaintedGrid.h"
#include "views/RaceCardView.h"
#include "views/ResultView.h"
#include "views/SignalTableView.h"
#include "views/ViewSupport.h"

namespace furlong {
namespace {

using test::CommandHarness;
using test::ScratchDir;
using test::Sjis;

// A copy of the demo store; with `imported`, the demo feed's race cards are
// imported into it, so that their results can be fetched.
struct DemoCopy {
  ScratchDir root, settings;
  std::filesystem::path feed = settings.path() / "feed";
  DemoFeedSummary summary;

  explicit DemoCopy(bool imported = false) {
    test::CopyDemoStore(root.path());
    summary = WriteDemoFeed(feed);
    if (!imported) return;
    Store store(root.path());
    TIniGT ini(settings.path() / "import.ini");
    JVLinkStandIn jv(feed);
    ImportUi quiet;
    ImportSession session(jv, store, ini, quiet);
    EXPECT_EQ(jv.JVInit("test"), 0);
    if (session.Start({2024, 11, 1, 0, 0, 0}))
      while (session.Poll()) {
      }
    EXPECT_EQ(session.LastEnd(), ImportEnd::Finished);
  }
};

// Pixels of the blue odds text in a cell of a painted grid.
int BlueInk(const PaintedGrid* grid, int col, int row) {
  const QImage image = grid->renderAll();
  const QRect cell = grid->contentCellRect(col, row);
  int ink = 0;
  for (int y = cell.top(); y <= cell.bottom(); ++y)
    for (int x = cell.left(); x <= cell.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.blue() > 150 && c.red() < 110 && c.green() < 110) ++ink;
    }
  return ink;
}

TEST(ResultsFetch, FetchingResultsFillsTheResultTabOfTheSelectedRace) {
  DemoCopy demo(true);
  CommandHarness h(demo.root.path(), demo.settings.path(), demo.feed);
  const std::string meeting = Utf8ToSjis(demo.summary.meetings.front());
  auto* button = h.Button("KekkaGetBtn");
  ASSERT_NE(button, nullptr);

  // Nothing selected: nothing happens.
  button->click();
  EXPECT_EQ(h.jvlink->CallCount(JVOperation::RTOpen), 0);

  ASSERT_TRUE(h.form->ChooseMeeting(meeting));
  ASSERT_TRUE(h.form->ChooseRace(3));
  const ResultView* result = h.form->Result();
  for (int g = 0; g < ResultView::kGroups; ++g) EXPECT_TRUE(result->Value(g, 0, 2)->text().trimmed().isEmpty()) << g;
  EXPECT_FALSE(std::filesystem::exists(Store(demo.root.path()).PayoutFile(meeting)));

  button->click();
  EXPECT_EQ(h.jvlink->CallCount(JVOperation::RTOpen), 1);
  EXPECT_EQ(h.jvlink->CallCount(JVOperation::Close), 2);
  EXPECT_FALSE(h.jvlink->IsOpen());
  EXPECT_TRUE(button->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(h.dialogs->events.isEmpty());
  EXPECT_TRUE(std::filesystem::exists(Store(demo.root.path()).PayoutFile(meeting)));
  // The meeting was loaded again and the selected race analysed again.
  EXPECT_EQ(h.form->DateCombo()->currentText(), QString::fromStdString(demo.summary.meetings.front()));
  EXPECT_EQ(h.form->DatList()->currentRow(), 2);
  EXPECT_TRUE(h.form->HeaderLabel(1)->text().contains(" 3R") || h.form->HeaderLabel(1)->text().contains("3R"));
  // The 結果 tab is shown with the payouts: the winner, its popularity and payout.
  EXPECT_EQ(h.form->PageControl1()->tabText(h.form->PageControl1()->currentIndex()), "結果");
  for (int line = 0; line < 3; ++line) EXPECT_FALSE(result->Value(0, 0, line)->text().trimmed().isEmpty()) << line;
  EXPECT_FALSE(result->Value(3, 0, 2)->text().trimmed().isEmpty());  // 馬連
  if (const QByteArray dir = qgetenv("FURLONG_SCREENSHOT_DIR"); !dir.isEmpty())
    h.form->grab().save(QString::fromUtf8(dir) + "/results-fetched.png");

  // Fetching twice gives the same files.
  const auto once = test::Snapshot(demo.root.path());
  button->click();
  EXPECT_EQ(test::Snapshot(demo.root.path()), once);
}

TEST(ResultsFetch, AFailedOpenStillClosesJVLinkAndReloadsTheMeeting) {
  DemoCopy demo(true);
  CommandHarness h(demo.root.path(), demo.settings.path(), demo.feed);
  ASSERT_TRUE(h.form->ChooseMeeting(Utf8ToSjis(demo.summary.meetings.front())));
  ASSERT_TRUE(h.form->ChooseRace(5));
  h.jvlink->InjectResult(JVOperation::RTOpen, -504);
  h.jvlink->InjectResult(JVOperation::Close, -1);
  h.Button("KekkaGetBtn")->click();
  EXPECT_EQ(h.jvlink->CallCount(JVOperation::Read), 0);
  EXPECT_EQ(h.jvlink->CallCount(JVOperation::Close), 2);
  // The failed JVClose is beeped; the open failure shows in the status line.
  EXPECT_EQ(h.dialogs->events, QStringList{"beep"});
  EXPECT_TRUE(h.form->statusBar()->currentMessage().startsWith("JVRTOpenエラー:"));
  EXPECT_EQ(h.form->DatList()->currentRow(), 4);
  EXPECT_TRUE(h.Button("KekkaGetBtn")->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(PredictedOddsCommands, TheOddsButtonImportsAnArchiveWhoseOddsShowAfterTheMeetingIsReloaded) {
  DemoCopy demo;
  const std::vector<DemoOddsArchive> archives = WriteDemoOddsArchives(demo.root.path());
  ASSERT_EQ(archives.size(), 3u);
  const DemoOddsArchive& jrdb = archives[2];
  ASSERT_EQ(jrdb.source, "JRDB");
  const std::string meeting = Utf8ToSjis(jrdb.meeting);
  Store store(demo.root.path());
  std::filesystem::remove(store.OddsFile(meeting));
  std::filesystem::remove(store.DayOddsFile(meeting));

  CommandHarness h(demo.root.path(), demo.settings.path(), demo.feed);
  ASSERT_TRUE(h.form->ChooseMeeting(meeting));
  ASSERT_TRUE(h.form->ChooseRace(1));
  auto* raceCard = h.form->findChild<RaceCardView*>();
  auto* signalTable = h.form->findChild<SignalTableView*>();
  ASSERT_TRUE(raceCard && signalTable);
  EXPECT_EQ(BlueInk(raceCard->StringGrid2(), 2, 1), 0);
  EXPECT_EQ(BlueInk(signalTable->Grid(), 4, 1), 0);

  // Cancelling the file dialog does nothing.
  h.Button("TozBtn")->click();
  EXPECT_EQ(h.dialogs->events, QStringList{"open-file"});
  EXPECT_EQ(h.dialogs->filterText, "KOL3ｵｯｽﾞ（kd3_jb*.lzh）,KOL2ｵｯｽﾞ（j*.lzh）,JRDBｵｯｽﾞ(OZ*.lzh)");
  EXPECT_EQ(h.dialogs->filterPatterns, "kd3_jb*.lzh;j*.lzh;OZ*.lzh");
  EXPECT_EQ(h.dialogs->openFolder, PredictedOddsFolder(TIniGT(h.iniFile), store));

  h.dialogs->fileToOpen = jrdb.path;
  h.Button("TozBtn")->click();
  const QString saved = "JRDB基準オッズデータを解凍し、2024年11月16日のデータを保存しました。データを再読込すると反映されます。";
  EXPECT_EQ(h.dialogs->Messages(), QStringList{saved});
  EXPECT_TRUE(h.dialogs->BeepedBefore(saved));
  EXPECT_TRUE(std::filesystem::exists(store.OddsFile(meeting)));
  // Not shown until the meeting is loaded again, as the message says.
  EXPECT_EQ(BlueInk(raceCard->StringGrid2(), 2, 1), 0);
  ASSERT_TRUE(h.form->ChooseMeeting(meeting));
  ASSERT_TRUE(h.form->ChooseRace(1));
  EXPECT_GT(BlueInk(raceCard->StringGrid2(), 2, 1), 0);
  EXPECT_GT(BlueInk(signalTable->Grid(), 4, 1), 0);

  // An archive that cannot be extracted.
  const std::filesystem::path broken = demo.root.path() / "yLZH" / "OZ241117.lzh";
  WriteFileAtomically(broken, "not an archive");
  h.dialogs->fileToOpen = broken;
  h.dialogs->events.clear();
  h.Button("TozBtn")->click();
  EXPECT_EQ(h.dialogs->Messages(), QStringList{"データが解凍できませんでした。"});
  EXPECT_TRUE(h.dialogs->BeepedBefore("データが解凍できませんでした。"));
}

TEST(PredictedOddsCommands, TheFolderMenuItemStoresTheChosenFolderForTheFileDialog) {
  DemoCopy demo;
  CommandHarness h(demo.root.path(), demo.settings.path(), demo.feed);
  QAction* item = nullptr;
  for (QAction* a : h.form->menuBar()->findChildren<QAction*>())
    if (a->text() == "単勝予想配当ﾃﾞｰﾀﾌｫﾙﾀﾞの指定(&Y)") item = a;
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->isEnabled());

  item->trigger();  // cancelled: nothing stored
  EXPECT_EQ(h.dialogs->folderTitle, "単勝予想配当ﾃﾞｰﾀﾌｫﾙﾀﾞの指定");
  EXPECT_EQ(TIniGT(h.iniFile).ReadString(kOddsFolderSection, kOddsFolderKey, "-"), "-");

  const std::filesystem::path chosen = demo.settings.path() / "PAT for WIN";
  std::filesystem::create_directories(chosen);
  h.dialogs->folderToPick = chosen;
  item->trigger();
  h.Button("TozBtn")->click();
  EXPECT_EQ(h.dialogs->openFolder, chosen);
}

TEST(HitReportCommands, TheHitButtonsWriteTheReportOpenItAndPutItOnTheClipboard) {
  DemoCopy demo;
  CommandHarness h(demo.root.path(), demo.settings.path(), demo.feed);
  QGuiApplication::clipboard()->setText("untouched");

  // Nothing selected: nothing happens.
  h.Button("TekiAnaBtn")->click();
  EXPECT_TRUE(h.dialogs->opened.empty());

  ASSERT_TRUE(h.form->ChooseMeeting(Sjis("2024年11月16日東京")));
  h.Button("TekiAnaBtn")->click();
  ASSERT_EQ(h.dialogs->opened.size(), 1u);
  const std::filesystem::path report = h.dialogs->opened.front();
  EXPECT_EQ(report.parent_path(), demo.root.path() / "HPupload");
  EXPECT_EQ(report.filename().string().substr(0, 10), "TK20241116");
  const std::string text = ReadWholeFile(report);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), FromSjis(text));
  EXPECT_TRUE(FromSjis(text).startsWith("<br /><img src=\"./image/balist.gif\">"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  // The window shows the date's last meeting, its last race analysed.
  EXPECT_TRUE(h.form->DateCombo()->currentText().startsWith("2024年11月16日"));
  EXPECT_EQ(h.form->DateCombo()->currentText(), FromSjis(h.form->Flow().Meeting()));
  EXPECT_EQ(h.form->DatList()->currentRow(), h.form->DatList()->count() - 1);
  const std::string log = ReadWholeFile(demo.root.path() / "HPupload" / "Rararavu.txt");

  // 穴的中 reports fewer hits and appends them to the same log.
  h.Button("TekiAnaBtn2")->click();
  ASSERT_EQ(h.dialogs->opened.size(), 2u);
  const std::string longshot = ReadWholeFile(h.dialogs->opened.back());
  EXPECT_LT(longshot.size(), text.size());
  EXPECT_GT(ReadWholeFile(demo.root.path() / "HPupload" / "Rararavu.txt").size(), log.size());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), FromSjis(longshot));

  // A date without a longshot hit: nothing opens and the clipboard stays.
  QGuiApplication::clipboard()->setText("untouched");
  ASSERT_TRUE(h.form->ChooseMeeting(Sjis("2024年11月17日東京")));
  h.Button("TekiAnaBtn2")->click();
  EXPECT_EQ(h.dialogs->opened.size(), 2u);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "untouched");
  EXPECT_TRUE(h.dialogs->Messages().isEmpty());

  // Where the desktop cannot open the report, a message says it was saved and where.
  h.dialogs->openSucceeds = false;
  ASSERT_TRUE(h.form->ChooseMeeting(Sjis("2024年11月16日東京")));
  h.Button("TekiAnaBtn")->click();
  const QString message =
      "的中レポートを保存しました。開くプログラムが見つかりません。\n" + PathText(h.dialogs->opened.back());
  EXPECT_EQ(h.dialogs->Messages(), QStringList{message});
  EXPECT_TRUE(h.dialogs->BeepedBefore(message));
}

}  // namespace
}  // namespace furlong
