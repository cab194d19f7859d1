#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "StoreTestSupport.h"
#include "store/Store.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;

using test::Cli;
using test::CliRun;

std::string CopyArchive(const fs::path& folder, const char* name) {
  fs::create_directories(folder);
  fs::copy_file(fs::path(FURLONG_TEST_DATA) / "lzh" / name, folder / name);
  return (folder / name).string();
}

TEST(OddsCommand, ImportsAnArchiveAndNamesTheFilesWritten) {
  test::ScratchDir dir;
  Store store(dir.path());
  CliRun r = Cli({"odds", "--root", dir.path().string(), CopyArchive(dir.path() / "yLZH", "kd3_jb040105.lzh")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("KOL予想オッズデータを解凍し、2004年01月05日のデータを保存しました。"), std::string::npos);
  EXPECT_NE(r.out.find("3 race(s) filed, 2 line(s) skipped"), std::string::npos);
  EXPECT_NE(r.out.find("2004年01月05日東京.yoz"), std::string::npos);
  EXPECT_NE(r.err.find("warning: odds line 4 skipped"), std::string::npos);
  EXPECT_TRUE(fs::exists(store.OddsFile(Utf8ToSjis("2004年01月05日中山"))));
}

TEST(OddsCommand, NothingExtractedExits1WithTheMessage) {
  test::ScratchDir dir;
  Store store(dir.path());
  CliRun r = Cli({"odds", "--root", dir.path().string(), CopyArchive(dir.path() / "yLZH", "truncated.lzh")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("データが解凍できませんでした。"), std::string::npos);
  EXPECT_NE(r.err.find("truncated"), std::string::npos);
  r = Cli({"odds", "--root", dir.path().string(), CopyArchive(dir.path() / "yLZH", "noexpected.lzh")});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("nothing filed"), std::string::npos);
  EXPECT_EQ(Cli({"odds", "--root", dir.path().string()}).code, 2);
}

}  // namespace
}  // namespace furlong
