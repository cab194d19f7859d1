#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "Command.h"
#include "FeedTestSupport.h"
#include "store/IniGT.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;
using test::RaRec;
using test::SeRec;

struct CliRun {
  int code;
  std::string out, err;
};

CliRun Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "furlong-cli");
  std::vector<const char*> argv;
  for (auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  int code = cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class ImportCommandTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  std::string root = (dir.path() / "root").string();
  std::string feed = (dir.path() / "feed").string();
};

TEST_F(ImportCommandTest, ImportsTheFeedPrintsTheListAndKeepsTheNextFromTime) {
  WriteFeedFile(feed, "RACE", "20240302180000", {RaRec("20240309", "05", 1, '2')});
  WriteFeedFile(feed, "RACE", "20240303180000", {SeRec("20240309", "05", 1, 3, "2019100001", '2')}, true);
  auto r = Cli({"import", "--root", root, "--jvlink-feed", feed, "--from", "20240301000000"});
  ASSERT_EQ(0, r.code) << r.err;
  EXPECT_TRUE(Contains(r.out, "作成済み:01R/2024年03月09日東京.jvRA\n作成済み:01R/03番/2024年03月09日東京.jvSEr\n"))
      << r.out;
  EXPECT_TRUE(Contains(r.out, "データ読込み完了(2/2)\nImported 2 records from 2 of 2 files; next from-time "
                              "2024/03/03 18:00:00\n"))
      << r.out;
  EXPECT_EQ("2024/03/03 18:00:00",
            TIniGT(fs::path(root) / "furlong.ini", TDefaultDir::ddNone).ReadString("JvDataGet", "LastTime", ""));

  // Without --from the stored from-time is used: nothing is newer.
  r = Cli({"import", "--root", root, "--jvlink-feed", feed});
  EXPECT_EQ(0, r.code);
  EXPECT_EQ("最新のデータがありません。\n", r.out);
}

TEST_F(ImportCommandTest, ASettingsFileThatCannotBeWrittenFailsTheImport) {
  WriteFeedFile(feed, "RACE", "20240302180000", {RaRec("20240309", "05", 1, '2')});
  fs::create_directories(fs::path(root) / "furlong.ini");  // a folder where the settings file belongs
  auto r = Cli({"import", "--root", root, "--jvlink-feed", feed, "--from", "20240301000000"});
  EXPECT_EQ(1, r.code);
  EXPECT_FALSE(Contains(r.out, "next from-time")) << r.out;
  EXPECT_TRUE(Contains(r.err, "furlong.ini")) << r.err;
  EXPECT_TRUE(Contains(r.err, "could not be stored")) << r.err;
}

TEST_F(ImportCommandTest, BadArgumentsExit2AndJVLinkErrorsExit1WithTheirMessage) {
  EXPECT_EQ(2, Cli({"import", "--jvlink-feed", feed}).code);
  EXPECT_EQ(2, Cli({"import", "--root", root, "--from", "20240230000000"}).code);
  EXPECT_EQ(2, Cli({"import", "--root", root, "--from", "2024"}).code);
  auto r = Cli({"import", "--root", root, "--jvlink-feed", (dir.path() / "none").string()});
  EXPECT_EQ(1, r.code);
  EXPECT_TRUE(Contains(r.err, "no such feed folder"));

  WriteFeedFile(feed, "RACE", "20240302180000", {RaRec("20240309", "05", 1, '2')});
  { std::ofstream(fs::path(feed) / "faults.txt") << "JVInit -101\n"; }
  r = Cli({"import", "--root", root, "--jvlink-feed", feed, "--from", "20240301000000"});
  EXPECT_EQ(1, r.code);
  EXPECT_TRUE(Contains(r.err, "JVInitエラー：sid が設定されていません。(-101)")) << r.err;

  { std::ofstream(fs::path(feed) / "faults.txt") << "JVOpen -504\n"; }
  r = Cli({"import", "--root", root, "--jvlink-feed", feed, "--from", "20240301000000"});
  EXPECT_EQ(1, r.code);
  EXPECT_TRUE(Contains(r.err, "JVOpenエラー:サーバーがメンテナンス中です。(-504)")) << r.err;

  { std::ofstream(fs::path(feed) / "faults.txt") << "JVRead -403\n"; }
  r = Cli({"import", "--root", root, "--jvlink-feed", feed, "--from", "20240301000000"});
  EXPECT_EQ(1, r.code);
  EXPECT_TRUE(Contains(r.err, "JVReadエラー:ダウンロードしたファイル内容が異常です。(-403)")) << r.err;
  EXPECT_TRUE(Contains(r.err, "the from-time is unchanged"));
  EXPECT_EQ("", TIniGT(fs::path(root) / "furlong.ini", TDefaultDir::ddNone).ReadString("JvDataGet", "LastTime", ""));
}

TEST_F(ImportCommandTest, TheDemoStoreImportsItsFeedWithoutAFromTimeAndThenFetchesResults) {
  auto r = Cli({"sample", "--root", root});
  ASSERT_EQ(0, r.code) << r.err;
  r = Cli({"import", "--root", root});
  ASSERT_EQ(0, r.code) << r.err;
  EXPECT_TRUE(Contains(r.out, "Imported 2060 records from 6 of 6 files")) << r.out;
  r = Cli({"results", "--root", root, "--date", "20241123"});
  ASSERT_EQ(0, r.code) << r.err;
  EXPECT_TRUE(Contains(r.out, ".jvHR\n")) << r.out;
}

TEST_F(ImportCommandTest, ResultsAreFetchedForTheDateAndErrorsExit1) {
  WriteRealTimeFile(feed, "0B12", "20240302",
                    {RaRec("20240302", "05", 11, '7'), SeRec("20240302", "05", 11, 0, "2019100001", '7')});
  auto r = Cli({"results", "--root", root, "--date", "20240302", "--jvlink-feed", feed});
  ASSERT_EQ(0, r.code) << r.err;
  EXPECT_EQ("作成済み:11R/2024年03月02日東京.jvRA\nRead 2 records, filed 1\n", r.out);

  r = Cli({"results", "--root", root, "--date", "20240309", "--jvlink-feed", feed});
  EXPECT_EQ(0, r.code);
  EXPECT_TRUE(Contains(r.out, "No results for 20240309"));

  EXPECT_EQ(2, Cli({"results", "--root", root, "--date", "20240230", "--jvlink-feed", feed}).code);
  EXPECT_EQ(2, Cli({"results", "--root", root, "--jvlink-feed", feed}).code);

  { std::ofstream(fs::path(feed) / "faults.txt") << "JVRead -502 1\n"; }
  r = Cli({"results", "--root", root, "--date", "20240302", "--jvlink-feed", feed});
  EXPECT_EQ(1, r.code);
  EXPECT_TRUE(Contains(r.err, "JVReadエラー:")) << r.err;
}

}  // namespace
}  // namespace furlong
