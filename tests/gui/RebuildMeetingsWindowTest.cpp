// 開催データ作成: the past meetings made on the worker thread, with progress
// and the closing message; and the import window's list of a million lines.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "ScriptedDialogs.h"
#include "StoreTestSupport.h"
#include "app/ImportListModel.h"
#include "app/RebuildMeetingsWindow.h"
#include "store/Encoding.h"
#include "store/Store.h"

namespace furlong {
namespace {

TEST(RebuildMeetingsWindow, MakesTheMeetingsOfTheResultsAndSaysHowMany) {
  test::ScratchDir root;
  Store store(root.path());
  std::string ra = test::RaceHead("RA", kRaLength, "20230105", "06", 1, '7', "20230108");
  test::PutNum(ra, 882, 2, 2);
  store.YearFolder(store_names::kSeir, "2023", true);
  store.MergeByRaceKey(store.ResultsRaceFile(ra), ZeroRecordStamp(ra), false);
  std::string se = test::RaceHead("SE", kSeLength, "20230105", "06", 1, '7', "20230108");
  test::PutNum(se, 29, 2, 1);
  test::Put(se, 31, "2019000001");
  store.YearFolder(store_names::kSei, "2019", true);
  store.MergeByRaceKey(store.HorseHistoryFile("2019000001"), ZeroRecordStamp(se), false);

  test::ScriptedDialogs dialogs;
  RebuildMeetingsWindow w(root.path(), dialogs);
  w.show();
  EXPECT_FALSE(w.CancelButton()->isEnabled());
  w.StartButton()->click();
  ASSERT_TRUE(test::WaitUntil([&] { return !w.Running() && w.StartButton()->isEnabled(); }));
  EXPECT_EQ(w.Result().meetings, 1);
  EXPECT_EQ(w.Progress()->value(), w.Progress()->maximum());
  EXPECT_EQ(dialogs.events, QStringList{"info:作成した開催: 1 (1 レース)\n出走馬の欠けたレース: 1"});
  EXPECT_EQ(store.MeetingNames().size(), 1u);
}

TEST(ImportListModel, AMillionLinesAreRowsWithoutAnItemEach) {
  ImportListModel list;
  const std::string line = Utf8ToSjis("作成済み:01R/01番/2024年11月23日福島.jvSEr");
  for (int i = 0; i < 1000000; ++i) list.Add(line);
  EXPECT_EQ(list.rowCount(), 0);  // until published
  EXPECT_TRUE(list.Publish());
  EXPECT_FALSE(list.Publish());
  EXPECT_EQ(list.rowCount(), 1000000);
  EXPECT_EQ(list.Line(999999), "作成済み:01R/01番/2024年11月23日福島.jvSEr");
  EXPECT_EQ(list.index(5, 0).data().toString(), list.Line(0));
  list.Clear();
  EXPECT_EQ(list.rowCount(), 0);
}

}  // namespace
}  // namespace furlong
