// The COM path to JV-Link (JVLinkWin32.cpp) against the stand-in control of
// tests/jvlink-com, registered under "JVDTLab.JVLink": records cross COM
// byte for byte, and the command line reports a failing JVInit, an old
// control and a JVRead error. Without the stand-in registered the tests are
// skipped, unless FURLONG_REQUIRE_JVLINK_STANDIN is set (CI), where that fails.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "Command.h"
#include "FeedTestSupport.h"
#include "jvlink/JVLink.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;
using test::RaRec;
using test::SeRec;

constexpr CLSID kStandInClsid = {0x9c2a6d41, 0x5b0e, 0x4f3a, {0x8e, 0x61, 0x3f, 0x0b, 0x7a, 0x1c, 0x2d, 0x55}};

bool StandInRegistered() {
  CLSID clsid;
  return SUCCEEDED(CLSIDFromProgID(L"JVDTLab.JVLink", &clsid)) && clsid == kStandInClsid;
}

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

class JVLinkControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!StandInRegistered()) {
      if (std::getenv("FURLONG_REQUIRE_JVLINK_STANDIN")) FAIL() << "the JV-Link stand-in control is not registered";
      GTEST_SKIP() << "the JV-Link stand-in control (tests/jvlink-com) is not registered";
    }
    fs::create_directories(feed);
    SetEnvironmentVariableW(L"JVLINK_STANDIN_FEED", feed.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"JVLINK_STANDIN_FEED", nullptr);
    SetEnvironmentVariableW(L"JVLINK_STANDIN_VERSION", nullptr);
  }
  void Faults(const std::string& text) { std::ofstream(feed / "faults.txt", std::ios::binary) << text; }

  test::ScratchDir dir;
  fs::path feed = dir.path() / "feed";
  std::string root = PathUtf8(dir.path() / "root");
};

TEST_F(JVLinkControlTest, RecordsCrossComByteForByte) {
  std::string ra = RaRec("20240105", "06", 1, '1');
  test::Put(ra, 33, Utf8ToSjis("中山金杯ﾃｽﾄ"));
  WriteFeedFile(feed, "RACE", "20240104120000", {ra, SeRec("20240105", "06", 1, 3, "2019104567", '1')});

  auto jv = CreateJVLink({JVLinkKind::Control, {}});
  EXPECT_EQ(jv->JVInit(SoftwareId("Ver.1.33")), 0);
  EXPECT_EQ(jv->Version(), "0490");
  int reads = 0, downloads = 0;
  std::string last, record, file;
  ASSERT_EQ(jv->JVOpen(kImportDataSpec, "20240101000000", kImportOpenOption, reads, downloads, last), 0);
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(downloads, 0);
  EXPECT_EQ(last, "20240104120000");
  EXPECT_EQ(jv->JVRead(record, file), static_cast<int>(kRaLength));
  EXPECT_EQ(record, ra);
  EXPECT_EQ(file, "RACE20240104120000.jvd");
  EXPECT_EQ(jv->JVRead(record, file), static_cast<int>(kSeLength));
  EXPECT_EQ(jv->JVRead(record, file), kJVReadFileSwitch);
  EXPECT_EQ(jv->JVRead(record, file), kJVReadEnd);
  EXPECT_EQ(jv->JVClose(), 0);
  EXPECT_EQ(jv->JVRTOpen(kResultsDataSpec, "2024-01-05"), -114);
}

TEST_F(JVLinkControlTest, CommandLineReportsFailingInitOldControlAndReadError) {
  WriteFeedFile(feed, "RACE", "20240104120000", {RaRec("20240105", "06", 1, '1')});
  WriteRealTimeFile(feed, "0B12", "20240105",
                    {RaRec("20240105", "06", 1, '7'), SeRec("20240105", "06", 1, 3, "2019104567", '7')});

  Faults("JVInit -101\n");
  CliRun r = Cli({"import", "--root", root, "--from", "20240101000000"});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(Contains(r.err, "JVInitエラー：")) << r.err;

  Faults("");
  SetEnvironmentVariableW(L"JVLINK_STANDIN_VERSION", L"0480");
  r = Cli({"import", "--root", root, "--from", "20240101000000"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "ご利用中のJV-Linkのバージョンは[4.8.0]です。\n本ソフトのご利用にはバージョン[4.9.0]以上"))
      << r.err;
  EXPECT_TRUE(fs::exists(Utf8Path(root) / "Data" / Utf8Path("2024年01月05日中山.jvRA")));

  SetEnvironmentVariableW(L"JVLINK_STANDIN_VERSION", nullptr);
  Faults("JVRead -502 1\n");
  r = Cli({"results", "--root", root, "--date", "20240105"});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(Contains(r.err, "JVReadエラー:")) << r.err;
  EXPECT_FALSE(Contains(r.err, "バージョン")) << r.err;
}

}  // namespace
}  // namespace furlong
