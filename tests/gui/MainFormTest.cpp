// The main window: calendar, race list and arrows, the pages after a race
// change, start-up and closing steps, the settings file and the screenshots.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <set>

#include "GuiTestSupport.h"
#include "MeetingStoreBuilder.h"
#include "app/PrgrsForm.h"
#include "app/Screenshots.h"
#include "app/UpDownArrows.h"
#include "store/IniGT.h"
#include "store/Record.h"
#include "views/PaintedGrid.h"
#include "views/PredictionView.h"
#include "views/VerificationView.h"

namespace furlong {
namespace {

using test::FormHarness;
using test::ScratchDir;
using test::Sjis;

QStringList TabCaptions(const QTabWidget* tabs) {
  QStringList captions;
  for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
  return captions;
}

TEST(MainForm, FirstStartCreatesTheStoreFoldersAndUsesTheDefaultGeometry) {
  ScratchDir root, settings;
  FormHarness h(root.path(), settings.path());
  for (const char* folder : {"Data", "SEI", "SEIR", "UM2", "yLZH"})
    EXPECT_TRUE(std::filesystem::is_directory(root.path() / folder)) << folder;
  EXPECT_EQ(h.form->DateCombo()->count(), 0);
  EXPECT_EQ(h.form->x(), 10);
  EXPECT_EQ(h.form->y(), 10);
  EXPECT_EQ(h.form->width(), 1200);
  EXPECT_EQ(h.form->height(), 800);
  EXPECT_EQ(h.form->windowTitle(), "ハロンボード");
}

TEST(MainForm, PagesAndSubPagesComeInTheirOrderWithTheirCaptions) {
  ScratchDir root, settings;
  FormHarness h(root.path(), settings.path());
  EXPECT_EQ(TabCaptions(h.form->PageControl1()),
            (QStringList{"予想", "出馬表", "出馬表(詳細)", "指数表", "ｼｸﾞﾅﾙ検討表", "前走検証表", "グラフ", "展開予想図",
                         "結果"}));
  EXPECT_EQ(TabCaptions(h.form->GraphTabs()), (QStringList{"指数グラフ", "展開グラフ"}));
  auto* index = h.form->GraphTabs()->widget(0)->findChild<QTabWidget*>();
  auto* development = h.form->GraphTabs()->widget(1)->findChild<QTabWidget*>();
  ASSERT_TRUE(index && development);
  EXPECT_EQ(TabCaptions(index), (QStringList{"能力指数", "Ｄ指数", "脚力指数"}));
  EXPECT_EQ(TabCaptions(development), (QStringList{"前走展開値指数", "過去５走展開指数"}));
  EXPECT_EQ(h.form->PageControl1()->currentIndex(), 0);
}

TEST(MainForm, ChoosingAMeetingFillsTheRaceListAndTheArrows) {
  ScratchDir settings;
  FormHarness h(test::DemoRoot(), settings.path());
  h.Show();
  ASSERT_EQ(h.form->DateCombo()->count(), 6);
  EXPECT_EQ(h.form->DateCombo()->itemText(0), "2024年11月17日福島");  // newest first
  EXPECT_EQ(h.form->UpDown1()->Max(), 35);                            // nothing loaded yet

  ASSERT_TRUE(h.form->ChooseMeeting(Sjis("2024年11月16日東京")));
  ASSERT_EQ(h.form->DatList()->count(), 12);
  EXPECT_EQ(h.form->DatList()->item(0)->text(), "東京  05回 05日 1R");
  EXPECT_EQ(h.form->DatList()->item(11)->text(), "東京  05回 05日12R");
  EXPECT_EQ(h.form->UpDown1()->Max(), 11);
  EXPECT_EQ(h.form->UpDown1()->Position(), 0);
  EXPECT_EQ(h.form->DatList()->currentRow(), 0);
  EXPECT_FALSE(h.form->PageControl1()->isHidden());
  EXPECT_TRUE(h.form->HeaderLabel(1)->text().startsWith("2024年11月16日("));
  EXPECT_TRUE(h.form->PrgrsForm()->isHidden());
  EXPECT_EQ(h.form->PrgrsForm()->Caption(), "2024年11月16日東京");
  EXPECT_EQ(h.form->PrgrsForm()->Position(), h.form->PrgrsForm()->Maximum());
  EXPECT_TRUE(h.messages.isEmpty()) << h.messages.join("\n").toStdString();

  // The arrows and the list stay in step.
  h.form->UpDown1()->Step(+1);
  EXPECT_EQ(h.form->DatList()->currentRow(), 1);
  EXPECT_EQ(h.form->Flow().Analyzer().SelectedRace(), h.form->Flow().RaceList()[1].slot);
  h.form->DatList()->setCurrentRow(5);
  EXPECT_EQ(h.form->UpDown1()->Position(), 5);
  EXPECT_EQ(h.form->Flow().Analyzer().SelectedRace(), h.form->Flow().RaceList()[5].slot);
}

TEST(MainForm, ChoosingRacesResizesTheGridsToTheirRunners) {
  ScratchDir settings;
  FormHarness h(test::DemoRoot(), settings.path());
  h.Show();
  ASSERT_TRUE(h.form->ChooseMeeting(Sjis("2024年11月16日京都")));
  const MeetingFlow& flow = h.form->Flow();
  std::set<int> sizes;
  for (int item = 0; item < h.form->DatList()->count(); ++item) {
    h.form->DatList()->setCurrentRow(item);
    const int n = RegisteredRunners(flow.Day().RaceRecords[flow.RaceList()[item].slot].view());
    sizes.insert(n);
    EXPECT_EQ(h.form->Prediction()->StringGrid6()->rowCount(), n + 1) << "item " << item;
    EXPECT_EQ(h.form->Verification()->StringGrid5()->rowCount(), n + 1) << "item " << item;
    EXPECT_EQ(h.form->Prediction()->Cell(1, n), QString("%1").arg(n, 2)) << "item " << item;
  }
  EXPECT_GT(sizes.size(), 1u) << "the demo meeting should have fields of different sizes";
}

TEST(MainForm, AMeetingWithoutItsRunnerFileSaysSoAndListsNoRace) {
  ScratchDir root, settings;
  {
    Store store(root.path());
    test::MeetingStoreBuilder builder(store, Sjis("2004年01月05日中山"));
    builder.Add(test::Race(1, 8));
    builder.Write(false);
  }
  FormHarness h(root.path(), settings.path());
  ASSERT_EQ(h.form->DateCombo()->count(), 1);
  EXPECT_FALSE(h.form->ChooseMeeting(Sjis("2004年01月06日中山")));
  EXPECT_TRUE(h.form->ChooseMeeting(Sjis("2004年01月05日中山")));
  EXPECT_EQ(h.messages, QStringList{"データ作成が未完了のようです。"});
  EXPECT_EQ(h.form->DatList()->count(), 0);
  EXPECT_TRUE(h.form->PageControl1()->isHidden());
}

TEST(MainForm, ARaceWithoutRunnerDataShowsItsMessageAndKeepsThePagesHidden) {
  ScratchDir root, settings;
  {
    Store store(root.path());
    test::MeetingStoreBuilder builder(store, Sjis("2004年01月05日中山"));
    builder.Add(test::Race(1, 8));
    test::MeetingRace empty = test::Race(2, 10);
    empty.firstRunnerNumbered = false;
    builder.Add(empty);
    builder.Write();
  }
  FormHarness h(root.path(), settings.path());
  h.Show();
  ASSERT_TRUE(h.form->ChooseMeeting(Sjis("2004年01月05日中山")));
  EXPECT_TRUE(h.messages.isEmpty()) << "no message during the batch run";
  EXPECT_FALSE(h.form->PageControl1()->isHidden());
  h.form->UpDown1()->Step(+1);
  ASSERT_EQ(h.messages.size(), 1);
  EXPECT_EQ(h.messages[0].trimmed(), "2レースは予想に必要なデータ量がありません。時間をおいて再取得してください。");
  EXPECT_TRUE(h.form->PageControl1()->isHidden());
  h.form->UpDown1()->Step(-1);
  EXPECT_FALSE(h.form->PageControl1()->isHidden());
}

TEST(MainForm, TheGeometrySurvivesARestart) {
  ScratchDir root, settings;
  {
    FormHarness h(root.path(), settings.path());
    h.Show();
    h.form->move(140, 90);
    h.form->resize(1150, 760);
    QApplication::processEvents();
    h.form->close();
  }
  TIniGT ini(settings.path() / "furlong.ini");
  EXPECT_EQ(ini.ReadInteger("locate", "left", 0), 140);
  EXPECT_EQ(ini.ReadInteger("locate", "top", 0), 90);
  FormHarness again(root.path(), settings.path());
  EXPECT_EQ(again.form->x(), 140);
  EXPECT_EQ(again.form->y(), 90);
  EXPECT_EQ(again.form->width(), 1150);
  EXPECT_EQ(again.form->height(), 760);
}

TEST(MainForm, FirstShowingInitialisesJVLinkAndWarnsOfAnOldVersion) {
  ScratchDir root, settings;
  {
    FormHarness h(root.path(), settings.path(), "0490");
    h.Show();
    EXPECT_EQ(h.jvlink->CallCount(JVOperation::Init), 1);
    EXPECT_TRUE(h.messages.isEmpty());
    h.form->hide();
    h.Show();
    EXPECT_EQ(h.jvlink->CallCount(JVOperation::Init), 1) << "only the first showing initialises";
  }
  {
    FormHarness h(root.path(), settings.path(), "0500");
    h.Show();
    EXPECT_TRUE(h.messages.isEmpty());
  }
  {
    FormHarness h(root.path(), settings.path(), "0480");
    h.Show();
    ASSERT_EQ(h.messages.size(), 1);
    EXPECT_EQ(h.messages[0],
              "ご利用中のJV-Linkのバージョンは[4.8.0]です。\r\n本ソフトのご利用にはバージョン[4.9.0]以上が必要です。\r\n"
              "JRA-VANのホームページより最新のJV-Linkを入手し、インストールしてください。");
  }
  {
    FormHarness h(root.path(), settings.path(), "0480");
    h.jvlink->InjectResult(JVOperation::Init, -101);
    h.Show();
    ASSERT_EQ(h.messages.size(), 1) << "a failed JVInit skips the version check";
    EXPECT_TRUE(h.messages[0].startsWith("JVInitエラー：")) << h.messages[0].toStdString();
    EXPECT_GT(h.messages[0].size(), QString("JVInitエラー：").size());
  }
}

TEST(MainForm, SideCommandsAreActiveAndHelperButtonsHidden) {
  ScratchDir root, settings;
  FormHarness h(root.path(), settings.path());
  for (const char* name : {"JVBtn", "TozBtn", "KekkaGetBtn", "TekiAnaBtn", "TekiAnaBtn2"}) {
    auto* button = h.form->findChild<QWidget*>(name);
    ASSERT_TRUE(button) << name;
    EXPECT_TRUE(button->isEnabled()) << name;
    EXPECT_FALSE(button->isHidden()) << name;
  }
  for (const char* name : {"GrphBtn", "TenkaiGraphBtn", "UMConvertBtn", "MakeDataListBtn", "IniBtn"}) {
    auto* button = h.form->findChild<QWidget*>(name);
    ASSERT_TRUE(button) << name;
    EXPECT_TRUE(button->isHidden()) << name;
  }
  auto* quit = h.form->findChild<QWidget*>("SpeedButton4");
  ASSERT_TRUE(quit);
  EXPECT_EQ(quit->statusTip(), "ソフトを終了します");
  EXPECT_TRUE(std::filesystem::exists(TMainForm::HelpFile()));
}

TEST(MainForm, ScreenshotsCoverEveryPageAndShowTheRace) {
  ScratchDir settings, out;
  FormHarness h(test::DemoRoot(), settings.path());
  h.form->resize(1200, 800);
  h.Show();
  ASSERT_TRUE(h.form->ChooseMeeting(Sjis("2024年11月16日東京")));
  ASSERT_TRUE(h.form->ChooseRace(11));
  EXPECT_FALSE(h.form->ChooseRace(13));
  const QStringList files = WriteScreenshots(*h.form, QString::fromStdString(out.path().string()));
  ASSERT_EQ(files.size(), 13 + 4 + 1);
  EXPECT_TRUE(files[0].endsWith("01-prediction.png"));
  EXPECT_TRUE(files[12].endsWith("13-result.png"));
  EXPECT_TRUE(files[17].endsWith("backtest.png"));
  EXPECT_EQ(h.form->Flow().Meeting(), Sjis("2024年11月16日東京")) << "the return window leaves the meeting alone";
  for (const QString& file : files) {
    const QImage image(file);
    ASSERT_FALSE(image.isNull()) << file.toStdString();
  }
  EXPECT_EQ(QImage(files[0]).size(), QSize(1200, 800));
  EXPECT_EQ(h.form->PageControl1()->currentIndex(), 0) << "the page shown before is shown again";
}

}  // namespace
}  // namespace furlong
