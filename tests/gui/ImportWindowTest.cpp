// The import window (TGetDataForm) opened from the main window: importing
// the demo feed through it, its messages, cancelling while records are read
// and while the download is polled, and closing it during an import.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <map>
#include <set>

#include "FeedTestSupport.h"
#include "ScriptedDialogs.h"
#include "jvlink/ImportDriver.h"
#include "store/IniGT.h"
#include "store/Record.h"

namespace furlong {
namespace {

using test::CommandHarness;
using test::ScratchDir;
using test::WaitUntil;

const QString kStartNotice =
    "データ取込を開始します。データ作成が終了するまで本ソフトを操作したり他のアプリケーションを操作することは極力避けてください。";
const QString kCancelQuestion = "データ取込を中止します。実行しますか？";
const QString kCancelled = "JVCancel:キャンセルされました";

// A store with the demo meetings, the demo feed beside it and a from-time
// before the feed's files.
struct DemoImport {
  ScratchDir root, settings;
  std::filesystem::path feed = settings.path() / "feed";
  DemoFeedSummary summary;

  DemoImport() {
    test::CopyDemoStore(root.path());
    summary = WriteDemoFeed(feed);
    TIniGT ini(settings.path() / "furlong.ini");
    ini.WriteString(kLastTimeSection, kLastTimeKey, "2024/11/01 09:30:00");
  }

  std::string LastTime() const {
    return TIniGT(settings.path() / "furlong.ini").ReadString(kLastTimeSection, kLastTimeKey, "");
  }
};

QStringList CalendarOf(const TMainForm& form) {
  QStringList items;
  for (int i = 0; i < form.DateCombo()->count(); ++i) items << form.DateCombo()->itemText(i);
  return items;
}

// Every file below the store is whole: record files hold whole records, each
// ending in CR LF, and no temporary file is left behind.
void ExpectWholeFiles(const std::filesystem::path& root) {
  const std::map<std::string, std::size_t> lengths = {
      {".jvRA", kRaLength}, {".jvSEr", kSeLength}, {".jvHR", kHrLength}, {".jvUM2", kUmLength},
      {".jvSERA", kRaLength}, {".jvSEI", kSeLength}};
  for (const auto& [name, bytes] : test::Snapshot(root)) {
    const std::string ext = std::filesystem::path(name).extension().string();
    auto it = lengths.find(ext);
    if (it == lengths.end()) continue;
    EXPECT_EQ(bytes.size() % it->second, 0u) << name;
    if (!bytes.empty()) {
      EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << name;
    }
  }
  for (auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
  }
}

TEST(ImportWindow, ImportingTheDemoFeedAddsItsMeetingsToTheCalendar) {
  DemoImport demo;
  CommandHarness h(demo.root.path(), demo.settings.path(), demo.feed);
  ASSERT_EQ(h.form->DateCombo()->count(), 6);
  const std::string shown = Utf8ToSjis(h.form->DateCombo()->itemText(1).toStdString());
  ASSERT_TRUE(h.form->ChooseMeeting(shown));
  ASSERT_TRUE(h.form->ChooseRace(5));
  const QString header = h.form->HeaderLabel(1)->text();

  QString title, status, picked;
  int listLines = 0, bar1 = -1, bar2 = -1;
  bool startEnabled = false, cancelEnabled = true;
  QString firstLine;
  ASSERT_TRUE(h.WithImportWindow([&](TGetDataForm& w) {
    title = w.windowTitle();
    EXPECT_EQ(w.Label5()->text(), "2024/11/01 09:30:00");
    EXPECT_EQ(w.DateTimePicker1()->date(), QDate(2024, 11, 1));
    EXPECT_FALSE(w.ButtonCancel()->isEnabled());
    w.ButtonStart()->click();
    // The demo's race cards are downloaded first: the 10 ms timer polls.
    EXPECT_TRUE(w.TimerJVStatus()->isActive());
    EXPECT_EQ(w.TimerJVStatus()->interval(), 10);
    ASSERT_TRUE(WaitUntil([&] { return !w.Session().Running(); }));
    status = w.ProgressLabel()->text();
    listLines = w.ListBox1()->model()->rowCount();
    if (listLines > 0) firstLine = w.ListBox1()->model()->index(0, 0).data().toString();
    bar1 = w.ProgressBar1()->value();
    bar2 = w.ProgressBar2()->value();
    picked = w.Label5()->text();
    startEnabled = w.ButtonStart()->isEnabled();
    cancelEnabled = w.ButtonCancel()->isEnabled();
    EXPECT_EQ(w.DateTimePicker1()->date(), QDate(2024, 11, 21));
  }));

  EXPECT_EQ(title, "ＪＶデータ取込");
  EXPECT_EQ(status, "データ読込み完了(6/6)");
  EXPECT_GT(listLines, demo.summary.races + demo.summary.runners - 1);
  EXPECT_TRUE(firstLine.startsWith("作成済み:01R/2024年11月")) << firstLine.toStdString();
  EXPECT_EQ(bar1, 0);
  EXPECT_EQ(bar2, 0);
  EXPECT_TRUE(startEnabled);
  EXPECT_FALSE(cancelEnabled);
  // The notice comes first, without a beep; the end is beeped.
  ASSERT_FALSE(h.dialogs->events.isEmpty());
  EXPECT_EQ(h.dialogs->events.front(), "info:" + kStartNotice);
  EXPECT_EQ(h.dialogs->Messages(), QStringList{kStartNotice});
  EXPECT_EQ(h.dialogs->events.back(), "beep");
  EXPECT_FALSE(h.jvlink->IsOpen());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  // The last file's timestamp is the next from-time.
  EXPECT_EQ(picked, "2024/11/21 18:05:00");
  EXPECT_EQ(demo.LastTime(), "2024/11/21 18:05:00");

  // Closing the window rebuilt the calendar: the six new meetings, newest first.
  const QStringList calendar = CalendarOf(*h.form);
  EXPECT_EQ(calendar.size(), 12);
  for (const std::string& meeting : demo.summary.meetings)
    EXPECT_TRUE(calendar.contains(QString::fromStdString(meeting))) << meeting;
  EXPECT_TRUE(calendar.front().startsWith("2024年11月24日"));
  // The meeting and race shown before are shown again, their lists filled.
  EXPECT_EQ(h.form->DateCombo()->currentText().toStdString(), SjisToUtf8(shown));
  EXPECT_EQ(h.form->DatList()->count(), 12);
  EXPECT_EQ(h.form->DatList()->currentRow(), 4);
  EXPECT_EQ(h.form->HeaderLabel(1)->text(), header);
  EXPECT_TRUE(h.form->PageControl1()->isVisible());
  // An imported meeting loads with its twelve races.
  ASSERT_TRUE(h.form->ChooseMeeting(Utf8ToSjis(demo.summary.meetings.front())));
  EXPECT_EQ(h.form->DatList()->count(), 12);
}

TEST(ImportWindow, NothingNewAndOpenErrorsAreBeepedAndCloseJVLink) {
  DemoImport demo;
  TIniGT(demo.settings.path() / "furlong.ini").WriteString(kLastTimeSection, kLastTimeKey, "2024/12/01 00:00:00");
  CommandHarness h(demo.root.path(), demo.settings.path(), demo.feed);

  ASSERT_TRUE(h.WithImportWindow([&](TGetDataForm& w) {
    w.ButtonStart()->click();
    EXPECT_FALSE(w.Session().Running());
    EXPECT_FALSE(w.TimerJVStatus()->isActive());
    // A from-time before the feed, but the server is down.
    w.DateTimePicker1()->setDate(QDate(2024, 11, 1));
    EXPECT_EQ(w.Label5()->text(), "2024/11/01 00:00:00");  // the time of day is kept
    h.jvlink->InjectResult(JVOperation::Open, -504);
    w.ButtonStart()->click();
    EXPECT_EQ(w.ListBox1()->model()->rowCount(), 0);
  }));

  const QString noData = "最新のデータがありません。";
  const QString openError = "JVOpenエラー:サーバーがメンテナンス中です。(-504)";
  EXPECT_EQ(h.dialogs->Messages(), (QStringList{kStartNotice, noData, kStartNotice, openError}));
  EXPECT_TRUE(h.dialogs->BeepedBefore(noData));
  EXPECT_TRUE(h.dialogs->BeepedBefore(openError));
  EXPECT_EQ(h.jvlink->CallCount(JVOperation::Close), 2);
  EXPECT_FALSE(h.jvlink->IsOpen());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(demo.LastTime(), "2024/12/01 00:00:00");
  EXPECT_EQ(h.form->DateCombo()->count(), 6);
}

TEST(ImportWindow, ACancelWhileReadingLeavesWholeFilesAndTheNextImportCompletesTheStore) {
  DemoImport demo;
  // The store an uninterrupted import gives.
  ScratchDir reference;
  test::CopyDemoStore(reference.path());
  {
    Store store(reference.path());
    TIniGT ini(reference.path() / "reference.ini");
    JVLinkStandIn jv(demo.feed);
    ImportUi quiet;
    ImportSession session(jv, store, ini, quiet);
    ASSERT_EQ(jv.JVInit("test"), 0);
    if (session.Start({2024, 11, 1, 9, 30, 0}))
      while (session.Poll()) {
      }
    ASSERT_EQ(session.LastEnd(), ImportEnd::Finished);
    std::filesystem::remove(reference.path() / "reference.ini");
  }

  CommandHarness h(demo.root.path(), demo.settings.path(), demo.feed);
  // After 400 records JV-Link keeps saying "still downloading": the reading
  // loop waits, letting window messages run, until the cancel comes.
  h.jvlink->InjectResult(JVOperation::Read, -3, 400, -1);
  QString status;
  ASSERT_TRUE(h.WithImportWindow([&](TGetDataForm& w) {
    QTimer canceller;
    canceller.setInterval(5);
    QObject::connect(&canceller, &QTimer::timeout, [&] {
      if (h.jvlink->CallCount(JVOperation::Read) > 450 && w.ButtonCancel()->isEnabled()) {
        canceller.stop();
        w.ButtonCancel()->click();
      }
    });
    canceller.start();
    w.ButtonStart()->click();
    ASSERT_TRUE(WaitUntil([&] { return !w.Session().Running(); }));
    status = w.ProgressLabel()->text();
    EXPECT_EQ(w.Session().LastEnd(), ImportEnd::Cancelled);
    // The lines of what was filed before the cancel stay.
    EXPECT_GT(w.ListBox1()->model()->rowCount(), 300);
  }));
  EXPECT_EQ(status, kCancelled);
  EXPECT_TRUE(h.dialogs->events.contains("confirm:" + kCancelQuestion));
  EXPECT_TRUE(h.dialogs->BeepedBefore(kCancelled));
  EXPECT_FALSE(h.jvlink->IsOpen());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  // The from-time stays, so the next import brings the rest.
  EXPECT_EQ(demo.LastTime(), "2024/11/01 09:30:00");
  ExpectWholeFiles(demo.root.path());
  // Some of the meetings were filed before the cancel.
  EXPECT_GT(h.form->DateCombo()->count(), 6);

  h.jvlink->ClearInjectedResults();
  ASSERT_TRUE(h.WithImportWindow([&](TGetDataForm& w) {
    w.ButtonStart()->click();
    ASSERT_TRUE(WaitUntil([&] { return !w.Session().Running(); }));
    EXPECT_EQ(w.Session().LastEnd(), ImportEnd::Finished);
  }));
  EXPECT_EQ(test::Snapshot(demo.root.path()), test::Snapshot(reference.path()));
  EXPECT_EQ(h.form->DateCombo()->count(), 12);
}

TEST(ImportWindow, ACancelOrCloseDuringTheDownloadClosesTheImportAtOnce) {
  DemoImport demo;
  CommandHarness h(demo.root.path(), demo.settings.path(), demo.feed);
  h.jvlink->SetDownloadRate(0.0001);  // the download never gets anywhere
  bool closedByCloseBox = false;
  ASSERT_TRUE(h.WithImportWindow([&](TGetDataForm& w) {
    w.ButtonStart()->click();
    ASSERT_TRUE(WaitUntil([&] { return h.jvlink->CallCount(JVOperation::Status) >= 3; }));
    EXPECT_TRUE(w.Session().Polling());
    EXPECT_EQ(w.ProgressLabel()->text(), "ダウンロード中．．．(0/6)");
    EXPECT_EQ(w.ProgressBar1()->maximum(), 6);

    // No: nothing happens.
    h.dialogs->answer = false;
    w.ButtonCancel()->click();
    EXPECT_TRUE(w.Session().Polling());
    EXPECT_TRUE(w.TimerJVStatus()->isActive());

    h.dialogs->answer = true;
    w.ButtonCancel()->click();
    EXPECT_FALSE(w.Session().Running());
    EXPECT_FALSE(w.TimerJVStatus()->isActive());
    EXPECT_FALSE(h.jvlink->IsOpen());
    EXPECT_TRUE(h.jvlink->DownloadCancelled());
    EXPECT_EQ(w.ProgressLabel()->text(), kCancelled);
    EXPECT_TRUE(w.ButtonStart()->isEnabled());
    EXPECT_FALSE(w.ButtonCancel()->isEnabled());

    // The close box during a download asks the same question, then cancels
    // and closes.
    w.ButtonStart()->click();
    ASSERT_TRUE(w.Session().Polling());
    w.close();
    closedByCloseBox = !w.isVisible();
    EXPECT_FALSE(w.Session().Running());
  }));
  EXPECT_TRUE(closedByCloseBox);
  EXPECT_EQ(h.dialogs->events.count("confirm:" + kCancelQuestion), 3);
  EXPECT_EQ(h.dialogs->Messages().count(kCancelled), 2);
  EXPECT_FALSE(h.jvlink->IsOpen());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(demo.LastTime(), "2024/11/01 09:30:00");
  EXPECT_EQ(h.form->DateCombo()->count(), 6);
}

TEST(ImportWindow, JVLinkSettingsErrorsAndStatusErrorsAreShown) {
  DemoImport demo;
  CommandHarness h(demo.root.path(), demo.settings.path(), demo.feed);
  h.jvlink->InjectResult(JVOperation::SetUIProperties, -100);
  h.jvlink->InjectResult(JVOperation::Status, -502, 1);
  ASSERT_TRUE(h.WithImportWindow([&](TGetDataForm& w) {
    EXPECT_EQ(w.SpeedButton1()->text(), "JVLink設定");
    w.SpeedButton1()->click();
    w.ButtonStart()->click();
    ASSERT_TRUE(WaitUntil([&] { return !w.Session().Running(); }));
    EXPECT_FALSE(w.TimerJVStatus()->isActive());
  }));
  const QString settingsError = "JVSetUIPropertiesエラー：パラメータが不正あるいはレジストリへの保存に失敗しました。(-100)";
  const QString statusError = "JVStatusエラー:ダウンロードに失敗しました。（通信エラーやディスクエラーなど）(-502)";
  EXPECT_EQ(h.dialogs->Messages(), (QStringList{settingsError, kStartNotice, statusError}));
  EXPECT_TRUE(h.dialogs->BeepedBefore(settingsError));
  EXPECT_TRUE(h.dialogs->BeepedBefore(statusError));
  EXPECT_FALSE(h.jvlink->IsOpen());
}

TEST(ImportWindow, AnUnreadableLastTimeFallsBackToEightDaysAgo) {
  DemoImport demo;
  TIniGT(demo.settings.path() / "furlong.ini").WriteString(kLastTimeSection, kLastTimeKey, "yesterday");
  Store store(demo.root.path());
  TIniGT ini(demo.settings.path() / "furlong.ini");
  JVLinkStandIn jv(demo.feed);
  test::ScriptedDialogs dialogs;
  TGetDataForm w(jv, store, ini, dialogs, nullptr, FixedClock({2024, 3, 10, 8, 15, 30}));
  EXPECT_EQ(w.Label5()->text(), "2024/03/02 08:15:30");
  EXPECT_EQ(w.DateTimePicker1()->date(), QDate(2024, 3, 2));
  EXPECT_TRUE(w.Label5()->isHidden());

  // Pictures of the window during the download and after the import, when
  // asked for.
  if (const QByteArray dir = qgetenv("FURLONG_SCREENSHOT_DIR"); !dir.isEmpty()) {
    ASSERT_EQ(jv.JVInit("test"), 0);
    jv.SetDownloadRate(10);
    w.SetFromTime({2024, 11, 1, 0, 0, 0});
    w.show();
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      if (w.Session().Polling() && w.ProgressBar1()->value() >= 3) {
        watcher.stop();
        w.grab().save(QString::fromUtf8(dir) + "/import-window-download.png");
      }
    });
    watcher.start();
    w.ButtonStart()->click();
    ASSERT_TRUE(WaitUntil([&] { return !w.Session().Running(); }));
    w.grab().save(QString::fromUtf8(dir) + "/import-window.png");
  }
}

}  // namespace
}  // namespace furlong
