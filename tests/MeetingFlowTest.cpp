#include "analysis/MeetingFlow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MeetingStoreBuilder.h"
#include "StoreTestSupport.h"
#include "store/Encoding.h"

namespace furlong {
namespace {

const std::string& Meeting() {
  static const std::string name = Utf8ToSjis("2004年01月05日中山");
  return name;
}

struct Fixture {
  test::ScratchDir dir;
  Store store{dir.path()};
  std::unique_ptr<MeetingFlow> flow = std::make_unique<MeetingFlow>(store);
  std::vector<std::string> messages;
  MeetingFlowCallbacks callbacks() {
    MeetingFlowCallbacks cb;
    cb.message = [this](const std::string& m) { messages.push_back(m); };
    return cb;
  }
};

TEST(MeetingFlow, RaceLabelsKeepMeetingAndDayDigitsAndSpaceTheRaceNumber) {
  std::string ra = test::BlankRecord("RA", kRaLength);
  test::Put(ra, 12, "20040105");
  test::Put(ra, 20, "06");
  test::Put(ra, 22, "01");
  test::Put(ra, 24, "08");
  test::Put(ra, 26, "01");
  EXPECT_EQ(SjisToUtf8(RaceLabel(ra)), "中山  01回 08日 1R");
  test::Put(ra, 26, "12");
  EXPECT_EQ(SjisToUtf8(RaceLabel(ra)), "中山  01回 08日12R");
  EXPECT_TRUE(HoldsRace(ra));
  test::Put(ra, 12, "0000");
  EXPECT_FALSE(HoldsRace(ra));
  test::Put(ra, 12, "    ");
  EXPECT_FALSE(HoldsRace(ra));
  EXPECT_TRUE(IsYearFrom2005(Utf8ToSjis("2005年01月05日中山")));
  EXPECT_FALSE(IsYearFrom2005(Meeting()));
}

TEST(MeetingFlow, CalendarListsMeetingsNewestFirst) {
  Fixture f;
  for (const char* name : {"2004年01月04日中山", "2004年01月05日京都", "2004年01月05日中山"})
    test::MeetingStoreBuilder::WriteBytes(f.store.RaceFile(Utf8ToSjis(name)), "");
  const auto& calendar = f.flow->MakeDataListBtnClick();
  ASSERT_EQ(calendar.size(), 3u);
  EXPECT_EQ(SjisToUtf8(calendar[0]), "2004年01月05日中山");
  EXPECT_EQ(SjisToUtf8(calendar[1]), "2004年01月05日京都");
  EXPECT_EQ(SjisToUtf8(calendar[2]), "2004年01月04日中山");
}

TEST(MeetingFlow, AMissingRunnerFileStopsWithTheMessage) {
  Fixture f;
  test::MeetingStoreBuilder b(f.store, Meeting());
  b.Add({});
  b.Write(false);
  EXPECT_FALSE(f.flow->DateComboChange(Meeting(), f.callbacks()));
  ASSERT_EQ(f.messages.size(), 1u);
  EXPECT_EQ(SjisToUtf8(f.messages[0]), "データ作成が未完了のようです。");
  EXPECT_TRUE(f.flow->RaceList().empty());
  // A name that cannot form a store path is no meeting either.
  EXPECT_FALSE(f.flow->DateComboChange("../x", f.callbacks()));
}

TEST(MeetingFlow, ItemsKnowTheirSlotsWhenARaceRecordIsBlank) {
  Fixture f;
  test::MeetingStoreBuilder b(f.store, Meeting());
  for (int race = 1; race <= 12; ++race) {
    test::MeetingRace r;
    r.raceNumber = race;
    r.runners = 6 + race;
    if (race == 4) r.year = "    ";
    if (race == 9) r.year = "0000";
    r.finish = {2, 1, 3};
    b.Add(r);
  }
  b.Write();
  ASSERT_TRUE(f.flow->DateComboChange(Meeting(), f.callbacks()));
  EXPECT_TRUE(f.messages.empty());
  const auto& list = f.flow->RaceList();
  ASSERT_EQ(list.size(), 10u);
  EXPECT_EQ(list[3].slot, 4);
  EXPECT_EQ(SjisToUtf8(list[3].label), "中山  01回 08日 5R");
  EXPECT_EQ(list[7].slot, 9);
  EXPECT_EQ(f.flow->UpDownMax(), 9);
  EXPECT_EQ(f.flow->UpDownPosition(), 0);
  EXPECT_FALSE(f.flow->YearFrom2005());

  // The batch run filled every listed race; the first race was analysed last.
  const RaceAnalyzer& a = f.flow->Analyzer();
  EXPECT_EQ(a.SelectedRace(), 0);
  EXPECT_FALSE(a.BatchAnalysis());
  EXPECT_TRUE(a.Result().pageVisible);
  for (const auto& item : list) EXPECT_EQ(a.Runners()[item.slot][0].PastAbility[0], "     ") << item.slot;
  EXPECT_EQ(a.Runners()[3][0].PastAbility[0], "");  // no race, never analysed
  // The race's own results were copied in after the loading.
  EXPECT_EQ(a.Runners()[11][1].ResultFinishText, " 1");
  EXPECT_EQ(a.Runners()[11][5].ResultFinishText, "  ");

  const RaceAnalysisResult* res = f.flow->UpDown1Click(3);
  ASSERT_NE(res, nullptr);
  EXPECT_EQ(res->slot, 4);
  EXPECT_EQ(res->rowCount, 6 + 5 + 1);
  EXPECT_EQ(f.flow->UpDownPosition(), 3);
  EXPECT_EQ(f.flow->Analyzer().SelectedRace(), 4);
  EXPECT_EQ(f.flow->UpDown1Click(10), nullptr);
  EXPECT_EQ(f.flow->DatListClick(-1), nullptr);
}

TEST(MeetingFlow, OnlyTheFinalRunOfTheFirstRaceShowsItsMessage) {
  Fixture f;
  test::MeetingStoreBuilder b(f.store, Meeting());
  for (int race = 1; race <= 3; ++race) {
    test::MeetingRace r;
    r.raceNumber = race;
    r.firstRunnerNumbered = race == 2;  // races 1 and 3 lack a horse number
    b.Add(r);
  }
  b.Write();
  ASSERT_TRUE(f.flow->DateComboChange(Meeting(), f.callbacks()));
  ASSERT_EQ(f.messages.size(), 1u);
  EXPECT_EQ(SjisToUtf8(f.messages[0]),
            " 1レースは予想に必要なデータ量がありません。時間をおいて再取得してください。");
  EXPECT_FALSE(f.flow->Analyzer().Result().analysed);
  EXPECT_FALSE(f.flow->Analyzer().Result().pageVisible);
}

TEST(MeetingFlow, ChoosingTheMeetingAgainReloadsItsFiles) {
  Fixture f;
  test::MeetingStoreBuilder b(f.store, Meeting());
  test::MeetingRace r;
  b.Add(r);
  b.Write();
  ASSERT_TRUE(f.flow->DateComboChange(Meeting(), f.callbacks()));
  EXPECT_EQ(f.flow->Analyzer().Runners()[0][0].ResultFinishText, "  ");
  test::MeetingStoreBuilder b2(f.store, Meeting());
  r.finish = {1};
  b2.Add(r);
  b2.Write();
  ASSERT_TRUE(f.flow->DateComboChange(Meeting(), f.callbacks()));
  EXPECT_EQ(f.flow->Analyzer().Runners()[0][0].ResultFinishText, " 1");
  EXPECT_EQ(f.flow->Analyzer().Result().verificationRows[0][kVerFinish], " 1");
}

}  // namespace
}  // namespace furlong
