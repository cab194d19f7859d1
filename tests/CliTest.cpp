#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "Command.h"
#include "StoreTestSupport.h"
#include "store/Store.h"

using namespace furlong;
using namespace furlong::test;

namespace {

struct CliRun {
  int code;
  std::string out, err;
};

CliRun CliArgs(std::vector<std::string> args) {
  args.insert(args.begin(), "furlong-cli");
  std::vector<const char*> argv;
  for (auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  int code = cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}

}  // namespace

TEST(Cli, BadArgumentsGiveUsageAndExit2) {
  EXPECT_EQ(CliArgs({}).code, 2);
  EXPECT_EQ(CliArgs({"no-such-command"}).code, 2);
  CliRun r = CliArgs({"meetings"});  // --root missing
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("--root"), std::string::npos);
  EXPECT_EQ(CliArgs({"day", "--root", "/tmp"}).code, 2);
}

TEST(Cli, StoreErrorsExit1WithTheMessage) {
  CliRun r = CliArgs({"meetings", "--root", "/nonexistent/furlong-store"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("/nonexistent/furlong-store"), std::string::npos);
  ScratchDir dir;
  r = CliArgs({"day", "--root", dir.path().string(), "--meeting", "2024年01月06日中山"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("データ作成が未完了のようです。"), std::string::npos);
  r = CliArgs({"day", "--root", dir.path().string(), "--meeting", "../../etc/passwd"});
  EXPECT_EQ(r.code, 1);
}

TEST(Cli, MeetingsAreListedNewestFirstAndDayShowsTheRaces) {
  ScratchDir dir;
  Store store(dir.path());
  for (auto date : {"20240106", "20240107"}) {
    std::string ra = RaceHead("RA", kRaLength, date, "06", 1);
    PutNum(ra, 882, 2, 1);
    Put(ra, 698, "1200");
    store.MergeByRaceKey(store.RaceFile(MeetingBaseName(ra)), ZeroRecordStamp(ra), true);
    std::string se = RaceHead("SE", kSeLength, date, "06", 1);
    PutNum(se, 29, 2, 1);
    Put(se, 31, "2020100001");
    store.PutRunnerSlot(store.RunnerFile(MeetingBaseName(ra)), se, 1, 1);
  }
  CliRun r = CliArgs({"meetings", "--root", dir.path().string()});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "2024年01月07日中山\n2024年01月06日中山\n");
  r = CliArgs({"day", "--root", dir.path().string(), "--meeting", "2024年01月07日中山"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("1200m"), std::string::npos);
  EXPECT_NE(r.out.find("過去0走"), std::string::npos);
}
