// JVデータ取得 through the JV-Link control (COM) in the window: the stand-in
// control of tests/jvlink-com serves the demo feed, and the store the import
// window files from it equals the one it files from the feed stand-in. The
// test is skipped without the stand-in registered, unless
// FURLONG_REQUIRE_JVLINK_STANDIN is set (CI), where that fails.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <QLabel>
#include <QPushButton>
#include <cstdlib>

#include "FeedTestSupport.h"
#include "ScriptedDialogs.h"
#include "demo/DemoFeed.h"
#include "jvlink/ImportDriver.h"
#include "jvlink/JVLinkWin32.h"
#include "store/IniGT.h"

namespace furlong {
namespace {

constexpr CLSID kStandInClsid = {0x9c2a6d41, 0x5b0e, 0x4f3a, {0x8e, 0x61, 0x3f, 0x0b, 0x7a, 0x1c, 0x2d, 0x55}};

bool StandInRegistered() {
  CLSID clsid;
  return SUCCEEDED(CLSIDFromProgID(L"JVDTLab.JVLink", &clsid)) && clsid == kStandInClsid;
}

// Imports the feed into `root` through the window's import window.
void ImportThroughWindow(const std::filesystem::path& root, std::unique_ptr<JVLink> link) {
  test::ScratchDir settings;
  TIniGT(settings.path() / "furlong.ini").WriteString(kLastTimeSection, kLastTimeKey, "2024/11/01 09:30:00");
  test::CommandHarness h(root, settings.path(), std::move(link));
  QString status;
  ASSERT_TRUE(h.WithImportWindow([&](TGetDataForm& w) {
    w.ButtonStart()->click();
    ASSERT_TRUE(test::WaitUntil([&] { return !w.Session().Running(); }, 120000));
    status = w.ProgressLabel()->text();
  }));
  EXPECT_EQ(status, "データ読込み完了(6/6)");
}

TEST(ImportWindowControl, FilesTheSameStoreAsTheFeedStandIn) {
  if (!StandInRegistered()) {
    if (std::getenv("FURLONG_REQUIRE_JVLINK_STANDIN")) FAIL() << "the JV-Link stand-in control is not registered";
    GTEST_SKIP() << "the JV-Link stand-in control (tests/jvlink-com) is not registered";
  }
  test::ScratchDir dir;
  const std::filesystem::path feed = dir.path() / "feed";
  WriteDemoFeed(feed);
  SetEnvironmentVariableW(L"JVLINK_STANDIN_FEED", feed.c_str());
  ImportThroughWindow(dir.path() / "com", CreateJVLinkControl());
  SetEnvironmentVariableW(L"JVLINK_STANDIN_FEED", nullptr);
  ImportThroughWindow(dir.path() / "standin", std::make_unique<JVLinkStandIn>(feed));
  const auto com = test::Snapshot(dir.path() / "com");
  EXPECT_GT(com.size(), 100u);
  EXPECT_EQ(com, test::Snapshot(dir.path() / "standin"));
}

}  // namespace
}  // namespace furlong
