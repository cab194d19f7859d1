#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "MeetingStoreBuilder.h"
#include "StoreTestSupport.h"
#include "store/Encoding.h"

namespace furlong {
namespace {

using test::Cli;
using test::CliRun;

struct Fixture {
  test::ScratchDir dir;
  Store store{dir.path()};
  std::string root = dir.path().string();
  Fixture() {
    test::MeetingStoreBuilder b(store, Utf8ToSjis("2004年01月05日中山"));
    for (int race = 1; race <= 3; ++race) {
      test::MeetingRace r;
      r.raceNumber = race;
      r.runners = 8 + race;
      r.firstRunnerNumbered = race != 2;
      r.finish = {3, 1, 2};
      b.Add(r);
    }
    b.Write();
  }
};

TEST(AnalyzeCommand, JsonFollowsTheExportContract) {
  Fixture f;
  CliRun r = Cli({"analyze", "--root", f.root, "--meeting", "2004年01月05日中山", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto doc = nlohmann::json::parse(r.out);
  EXPECT_EQ(doc["meeting"], "2004年01月05日中山");
  ASSERT_EQ(doc["races"].size(), 3u);

  const auto& race = doc["races"][0];
  EXPECT_EQ(race["slot"], 0);
  EXPECT_EQ(race["label"], "中山  01回 08日 1R");
  EXPECT_EQ(race["analysed"], true);
  EXPECT_EQ(race["message"], "");
  ASSERT_EQ(race["labels"].size(), 4u);
  EXPECT_TRUE(race["labels"][0].is_string());
  EXPECT_EQ(race["panel_colour"], "#008000");
  ASSERT_EQ(race["runners"].size(), 9u);
  const auto& runner = race["runners"][1];
  EXPECT_EQ(runner["horse_number"], 2);
  EXPECT_EQ(runner["ResultFinishText"], " 1");
  ASSERT_EQ(runner["PastAbility"].size(), 5u);
  EXPECT_EQ(runner["PastAbility"][0], "     ");
  ASSERT_EQ(runner["PastDevelopment"].size(), 5u);
  ASSERT_EQ(runner["PastDevelopment"][0].size(), 4u);
  EXPECT_TRUE(runner["PastDevelopment"][0][0].is_number());
  for (const char* key : {"AbilityAvgRank", "TotalLastRank", "LongshotIndex", "Eliminated"})
    EXPECT_TRUE(runner[key].is_number_integer()) << key;
  for (const char* key : {"TurfWeightValue", "AvgDistanceText5", "Mark", "WeightCarriedChange"})
    EXPECT_TRUE(runner[key].is_string()) << key;
  ASSERT_EQ(race["verification_grid"].size(), 9u);
  ASSERT_EQ(race["verification_grid"][0].size(), 16u);
  EXPECT_EQ(race["verification_grid"][1][15], " 1");
  EXPECT_EQ(race["verification_grid"][2][4], "―");
  ASSERT_EQ(race["prediction_grid"].size(), 9u);
  ASSERT_EQ(race["prediction_grid"][0].size(), 10u);
  EXPECT_EQ(race["prediction_grid"][0][9], " 3");
  EXPECT_EQ(race["data_sufficiency"], "  0.0");
  ASSERT_EQ(race["bets"].size(), 6u);
  ASSERT_EQ(race["bet_payouts"].size(), 6u);
  EXPECT_EQ(race["bet_colours"][0], "info");
  ASSERT_EQ(race["diagram"].size(), 4u);
  EXPECT_TRUE(race["diagram"][0].is_array());
  const auto& panel = race["result_panel"];
  EXPECT_EQ(panel["単勝"].size(), 3u);
  EXPECT_EQ(panel["複勝"].size(), 5u);
  EXPECT_EQ(panel["枠連"].size(), 3u);
  EXPECT_EQ(panel["馬連"].size(), 3u);
  ASSERT_EQ(panel["ﾜｲﾄﾞ"].size(), 7u);
  EXPECT_EQ(panel["ﾜｲﾄﾞ"][6]["payout"], "");
  ASSERT_EQ(race["signals"].size(), 9u);
  ASSERT_EQ(race["signals"][0].size(), 12u);
  EXPECT_TRUE(race["signals"][0][0].is_boolean());
  for (const char* key : {"ability", "d_index", "leg_power", "development_last_run", "development_last_five_runs"})
    EXPECT_TRUE(race["graphs"][key].is_array()) << key;

  const auto& stopped = doc["races"][1];
  EXPECT_EQ(stopped["analysed"], false);
  EXPECT_EQ(stopped["message"], " 2レースは予想に必要なデータ量がありません。時間をおいて再取得してください。");
}

TEST(AnalyzeCommand, OneRaceBySlot) {
  Fixture f;
  CliRun r = Cli({"analyze", "--root", f.root, "--meeting", "2004年01月05日中山", "--race", "3", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto doc = nlohmann::json::parse(r.out);
  ASSERT_EQ(doc["races"].size(), 1u);
  EXPECT_EQ(doc["races"][0]["slot"], 2);
  EXPECT_EQ(doc["races"][0]["runners"].size(), 11u);
}

TEST(AnalyzeCommand, TextFormShowsHeaderGridBetsAndSufficiency) {
  Fixture f;
  CliRun r = Cli({"analyze", "--root", f.root, "--meeting", "2004年01月05日中山", "--race", "1"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("中山  01回 08日 1R"), std::string::npos);
  EXPECT_NE(r.out.find("枠 馬 馬名"), std::string::npos);
  EXPECT_NE(r.out.find("データ充足度: 0.0"), std::string::npos);
  EXPECT_NE(r.out.find("買い目: なし"), std::string::npos);
  // Horse names of one width line up: the jockey column starts at the same
  // display column in every runner row.
  EXPECT_NE(r.out.find(" 1  1 テストホース"), std::string::npos);
}

TEST(AnalyzeCommand, BadArgumentsExit2AndAMissingMeetingExits1) {
  Fixture f;
  EXPECT_EQ(Cli({"analyze", "--root", f.root}).code, 2);
  EXPECT_EQ(Cli({"analyze", "--root", f.root, "--meeting", "2004年01月05日中山", "--race", "13"}).code, 2);
  EXPECT_EQ(Cli({"analyze", "--root", f.root, "--meeting", "2004年01月05日中山", "--race", "7"}).code, 2);
  CliRun r = Cli({"analyze", "--root", f.root, "--meeting", "2004年01月06日中山"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "データ作成が未完了のようです。\n");
  EXPECT_EQ(r.out, "");
  // The real cause, as `day` gives it, for a root or a name that cannot be a meeting.
  r = Cli({"analyze", "--root", f.root + "/none", "--meeting", "2004年01月05日中山"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("no such store folder"), std::string::npos) << r.err;
  r = Cli({"analyze", "--root", f.root, "--meeting", "../../etc/passwd"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("cannot form a file name"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace furlong
