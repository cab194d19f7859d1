#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "HitStoreBuilder.h"
#include "analysis/MeetingFlow.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;

using test::Cli;
using test::CliRun;

TEST(ReportCommand, PrintsTheReportPathOrThatThereWasNoHit) {
  test::ScratchDir dir;
  test::HitStore hs(dir.path());
  hs.AddMeeting("20040105", "06", 1, 12);
  const std::string root = dir.path().string();

  CliRun r = Cli({"report", "--root", root, "--date", "2004年01月05日"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "no hit on 2004年01月05日: nothing written\n");

  MeetingFlow flow(hs.store);
  flow.MakeDataListBtnClick();
  flow.DateComboChange(Utf8ToSjis("2004年01月05日中山"));
  const std::string bet = flow.DatListClick(0)->bets[0];
  hs.AddPayouts("20040105", "06", 1, {{bet, 3000}}, {});
  r = Cli({"report", "--root", root, "--date", "2004年01月05日", "--longshot"});
  EXPECT_EQ(r.out, "no hit on 2004年01月05日: nothing written\n");  // 3000 is not over 3000
  r = Cli({"report", "--root", root, "--date", "2004年01月05日"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, (dir.path() / "HPupload" / "TK2004010506.txt").string() + "\n");
}

TEST(ReportCommand, AnUnknownOrMalformedDateIsAnError) {
  test::ScratchDir dir;
  test::HitStore hs(dir.path());
  hs.AddMeeting("20040105", "06", 1, 8);
  EXPECT_EQ(Cli({"report", "--root", dir.path().string(), "--date", "2004年01月06日"}).code, 1);
  EXPECT_EQ(Cli({"report", "--root", dir.path().string(), "--date", "2004-01-05"}).code, 2);
  EXPECT_EQ(Cli({"report", "--root", dir.path().string()}).code, 2);
}

}  // namespace
}  // namespace furlong
