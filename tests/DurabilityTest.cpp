// What a crash, a failed check or a hostile file must not cost: rewrites
// reach the disk before they count, temporary files of a killed writer go,
// an unreadable file is never taken for a missing one, reasons are the real
// ones and sizes are bounded.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

#include "StoreTestSupport.h"
#include "imports/LzhArchive.h"
#include "imports/PredictedOdds.h"
#include "jvlink/StoreWriter.h"
#include "store/DayLoading.h"
#include "store/IniGT.h"
#include "store/Store.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace furlong {
namespace {

namespace fs = std::filesystem;
using test::RaceHead;
using test::ScratchDir;

std::mutex syncsMutex;
std::vector<std::pair<SyncKind, fs::path>> syncs;
void RecordSync(SyncKind kind, const fs::path& path) {
  std::lock_guard lock(syncsMutex);
  syncs.emplace_back(kind, path);
}

struct SyncRecorder {
  SyncRecorder() {
    syncs.clear();
    SetSyncObserver(RecordSync);
  }
  ~SyncRecorder() { SetSyncObserver(nullptr); }
};

std::string Ra(int race) { return ZeroRecordStamp(RaceHead("RA", kRaLength, "20240105", "06", race)); }

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(Durability, ARewriteSyncsTheFileBeforeItsRenameAndTheFolderAfterIt) {
  ScratchDir dir;
  Store store(dir.path());
  SyncRecorder recorder;
  const fs::path file = store.RaceFile("m");
  store.MergeByRaceKey(file, Ra(1), true);
  ASSERT_EQ(syncs.size(), 2u);
  EXPECT_EQ(syncs[0].first, SyncKind::File);
  EXPECT_EQ(syncs[0].second.parent_path(), file.parent_path());
  EXPECT_TRUE(IsStoreTempName(syncs[0].second.filename().string())) << syncs[0].second;
  EXPECT_EQ(syncs[1], std::make_pair(SyncKind::Folder, file.parent_path()));

  // Batched, every file is synced and each folder once, after the renames.
  syncs.clear();
  BatchedStoreWriter writer;
  for (int race = 1; race <= 3; ++race) writer.MergeByRaceKey(store.RaceFile("m" + std::to_string(race)), Ra(race), true);
  writer.Flush();
  ASSERT_EQ(syncs.size(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(syncs[i].first, SyncKind::File);
  EXPECT_EQ(syncs[3], std::make_pair(SyncKind::Folder, file.parent_path()));
}

TEST(Durability, StaleTemporaryFilesOfOurOwnPatternAloneAreRemoved) {
  ScratchDir dir;
  Store store(dir.path());
  fs::create_directories(store.Folder("UM2") / "2019");
  const fs::path other = dir.path() / "mine";
  fs::create_directories(other);
  auto make = [](const fs::path& p) { std::ofstream(p) << "x"; };
  // 2147483646 names no running process.
  const fs::path dead1 = store.Folder("Data") / "a.jvRA.tmp2147483646-3-12";
  const fs::path dead2 = store.Folder("UM2") / "2019" / "2019100001.jvUM2.tmp2147483646-0-7";
  for (const fs::path& p : {dead1, dead2}) make(p);
  std::vector<fs::path> kept = {
      store.Folder("Data") / "notes.tmp",                                   // not our pattern
      store.Folder("Data") / "a.jvRA.tmp2147483646-3",                      // not our pattern
      other / "a.jvRA.tmp2147483646-3-12",                                  // not a store folder
  };
#ifndef _WIN32
  kept.push_back(store.Folder("Data") / ("b.jvRA.tmp" + std::to_string(getpid()) + "-1-1"));  // a live writer
#endif
  for (const fs::path& p : kept) make(p);
  fs::create_directory(store.Folder("Data") / "c.jvRA.tmp2147483646-1-1");  // a folder

  EXPECT_EQ(RemoveStaleTempFiles(store), 2);
  EXPECT_FALSE(fs::exists(dead1));
  EXPECT_FALSE(fs::exists(dead2));
  for (const fs::path& p : kept) EXPECT_TRUE(fs::exists(p)) << p;
  EXPECT_TRUE(fs::is_directory(store.Folder("Data") / "c.jvRA.tmp2147483646-1-1"));
}

#ifndef _WIN32
// A path whose existence cannot be told (a link to itself: ELOOP) is not
// "missing": no writer may start it afresh over what it holds.
TEST(Durability, AFailedExistenceCheckIsAnErrorNotAMissingFile) {
  ScratchDir dir;
  Store store(dir.path());
  const fs::path loop = store.Folder("Data") / "m.jvRA";
  fs::create_symlink(loop.filename(), loop);
  EXPECT_THROW(store.MergeByRaceKey(loop, Ra(1), true), StoreError);
  EXPECT_THROW(store.PutRunnerSlot(store.Folder("Data") / "m.jvRA", RaceHead("SE", kSeLength, "20240105", "06", 1), 1, 1),
               StoreError);
  BatchedStoreWriter batched;
  EXPECT_THROW(batched.MergeByRaceKey(loop, Ra(1), true), StoreError);
  EXPECT_THROW(FileOddsRecord(loop, 1, std::string(1459, ' ')), StoreError);
  const fs::path ini = dir.path() / "loop.ini";
  fs::create_symlink(ini.filename(), ini);
  TIniGT settings(ini, TDefaultDir::ddNone);
  EXPECT_THROW(settings.WriteString("JvDataGet", "LastTime", "2024/01/01 00:00:00"), StoreError);
  EXPECT_TRUE(fs::is_symlink(loop));
  EXPECT_TRUE(fs::is_symlink(ini));
}
#endif

TEST(Durability, AFolderWhereAFileBelongsGivesItsRealReason) {
  ScratchDir dir;
  Store store(dir.path());
  const std::string base = Utf8ToSjis("2004年01月05日中山");
  fs::create_directory(store.RaceFile(base));
  std::string e = ErrorOf([&] { ReadWholeFile(store.RaceFile(base)); });
  EXPECT_NE(e.find(std::generic_category().message(EISDIR)), std::string::npos) << e;
  RecordFile f;
  e = ErrorOf([&] { f.Open(store.RaceFile(base), kRaLength); });
  EXPECT_NE(e.find(std::generic_category().message(EISDIR)), std::string::npos) << e;
  EXPECT_TRUE(store.MeetingNames().empty());
}

TEST(Durability, FilesBeyondTheirSizeCapAreErrorsNotMemory) {
  ScratchDir dir;
  Store store(dir.path());
  const fs::path small = dir.path() / "small";
  std::ofstream(small, std::ios::binary) << std::string(100, 'x');
  std::string out;
  EXPECT_NE(ErrorOf([&] { ReadFileIfExists(small, out, 99); }).find("too large"), std::string::npos);
  EXPECT_TRUE(ReadFileIfExists(small, out, 100));
  // A race file of 65 MiB (sparse) stops the day loading with its reason.
  const std::string base = Utf8ToSjis("2004年01月05日中山");
  std::ofstream(store.RaceFile(base)).close();
  std::ofstream(store.RunnerFile(base)).close();
  fs::resize_file(store.RaceFile(base), kMaxStoreFileBytes + 4096);
  auto day = std::make_unique<DayTables>();
  EXPECT_NE(ErrorOf([&] { LoadMeetingDay(store, base, *day, {}); }).find("too large"), std::string::npos);
  // A settings file of more than 1 MiB is no settings file.
  const fs::path ini = dir.path() / "big.ini";
  std::ofstream(ini, std::ios::binary) << std::string((1u << 20) + 1, ';');
  TIniGT settings(ini, TDefaultDir::ddNone);
  EXPECT_EQ(settings.ReadString("JvDataGet", "LastTime", "d"), "d");
  EXPECT_THROW(settings.WriteString("JvDataGet", "LastTime", "x"), StoreError);
}

TEST(Durability, AnArchiveOfTooManyMembersIsRefusedBeforeAnythingIsWritten) {
  ScratchDir dir;
  std::vector<LzhStoredFile> files;
  for (std::size_t i = 0; i <= kLzhMaxMembers; ++i) files.push_back({"m" + std::to_string(i) + ".txt", "x"});
  const fs::path archive = dir.path() / "OZ240105.lzh";
  std::ofstream(archive, std::ios::binary) << MakeStoredLzhArchive(files);
  EXPECT_THROW(ExtractLzhArchive(archive, dir.path()), LzhError);
  EXPECT_FALSE(fs::exists(dir.path() / "m0.txt"));
  files.pop_back();
  EXPECT_EQ(ReadLzhArchive(MakeStoredLzhArchive(files)).size(), kLzhMaxMembers);
}

TEST(Durability, TheBatchedWriterStopsAtTheFirstFailureAndListsOnlyWhatItWrote) {
  ScratchDir dir;
  Store store(dir.path());
  BatchedStoreWriter writer;
  std::vector<std::string> listed;
  auto sink = [&](const std::string& l) { listed.push_back(l); };
  const fs::path blocked = store.RaceFile("m2");
  for (int i = 1; i <= 3; ++i) {
    const fs::path file = store.RaceFile("m" + std::to_string(i));
    writer.MergeByRaceKey(file, Ra(i), true);
    writer.List(file, "claim " + std::to_string(i), sink);
    writer.List({}, "note " + std::to_string(i), sink);
  }
  fs::create_directories(blocked / "inner");  // the rename cannot replace a folder
  EXPECT_TRUE(listed.empty());
  EXPECT_THROW(writer.Flush(), StoreError);
  EXPECT_EQ(listed, (std::vector<std::string>{"claim 1", "note 1", "note 2", "note 3"}));
  EXPECT_TRUE(fs::exists(store.RaceFile("m1")));
  EXPECT_FALSE(fs::exists(store.RaceFile("m3")));
  for (auto& e : fs::directory_iterator(store.Folder("Data")))
    EXPECT_FALSE(IsStoreTempName(e.path().filename().string())) << e.path();
}

// The folder list is shared by the day loading's threads; run under the
// thread sanitizer this fails without its lock.
TEST(Durability, TheFolderListIsSafeToResolveFromTwoThreads) {
  ScratchDir dir;
  { Store create(dir.path()); }
  for (int round = 0; round < 20; ++round) {
    Store store(dir.path(), false);
    fs::path a, b;
    std::thread t([&] { a = store.HorseMasterFile("2019100001"); });
    b = store.HorseHistoryFile("2019100001");
    t.join();
    EXPECT_EQ(a.parent_path().parent_path(), dir.path() / "UM2");
    EXPECT_EQ(b.parent_path().parent_path(), dir.path() / "SEI");
  }
}

}  // namespace
}  // namespace furlong
