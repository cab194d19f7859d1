#include "imports/LzhArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "StoreTestSupport.h"
#include "store/Encoding.h"
#include "store/Store.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;

fs::path TestArchive(const char* name) { return fs::path(FURLONG_TEST_DATA) / "lzh" / name; }

// Copies a committed test archive into `folder` and returns its new path.
fs::path CopyArchive(const char* name, const fs::path& folder) {
  fs::create_directories(folder);
  fs::path to = folder / name;
  fs::copy_file(TestArchive(name), to, fs::copy_options::overwrite_existing);
  return to;
}

std::set<std::string> Listing(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    names.insert(fs::relative(e.path(), folder).generic_string());
  return names;
}

std::string ReadFile(const fs::path& p) { return ReadWholeFile(p); }

TEST(LzhArchive, ExtractsMembersOfEveryHeaderLevelAndMethod) {
  test::ScratchDir dir;
  struct Case {
    const char* archive;
    const char* member;
    std::size_t size;
    std::size_t lineLength;
  } cases[] = {
      {"kd3_jb040105.lzh", "kol_ods.kd3", 5 * 1504 - 602, 1504},  // -lh5-, level 2
      {"j040105.lzh", "kol_ods.kd2", 2 * 1504, 1504},            // -lh5-, level 1
      {"OZ040105.lzh", "Oz040105.txt", 4 * 957 + 502, 957},      // -lh5-, level 0
      {"stored.lzh", "readme.txt", 40 * 17, 17},                 // -lh0-
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.archive);
    fs::path folder = dir.path() / c.archive;
    fs::path archive = CopyArchive(c.archive, folder);
    LzhExtraction x = ExtractLzhArchive(archive, folder);
    EXPECT_EQ(x.extracted, 1);
    EXPECT_TRUE(x.refused.empty());
    ASSERT_EQ(x.written.size(), 1u);
    EXPECT_EQ(x.written[0], c.member);
    std::string content = ReadFile(folder / c.member);
    EXPECT_EQ(content.size(), c.size);
    EXPECT_EQ(content.substr(c.lineLength - 2, 2), "\r\n");
    EXPECT_EQ(Listing(folder), (std::set<std::string>{c.archive, c.member}));
  }
}

TEST(LzhArchive, AnEmptyArchiveOrFileHasNoMembers) {
  test::ScratchDir dir;
  fs::path archive = CopyArchive("empty.lzh", dir.path());
  EXPECT_EQ(ExtractLzhArchive(archive, dir.path()).extracted, 0);
  std::ofstream(dir.path() / "zero.lzh", std::ios::binary).close();
  EXPECT_EQ(ExtractLzhArchive(dir.path() / "zero.lzh", dir.path()).extracted, 0);
  EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"empty.lzh", "zero.lzh"}));
}

TEST(LzhArchive, MembersInFoldersAreWrittenUnderTheirBaseName) {
  test::ScratchDir dir;
  fs::path archive = CopyArchive("folders.lzh", dir.path());
  LzhExtraction x = ExtractLzhArchive(archive, dir.path());
  EXPECT_EQ(x.extracted, 2);
  EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"folders.lzh", "kol_ods.kd3", "readme.txt"}));
}

TEST(LzhArchive, HostileNamesAreRefusedAndNothingIsWrittenOutsideTheFolder) {
  test::ScratchDir dir;
  const fs::path in = dir.path() / "in";

  LzhExtraction x = ExtractLzhArchive(CopyArchive("dotdot.lzh", in), in);
  EXPECT_EQ(x.extracted, 1);
  ASSERT_EQ(x.refused.size(), 2u);
  EXPECT_EQ(x.refused[0].name, "../escape.txt");
  EXPECT_EQ(x.refused[1].name, "sub/../../escape.txt");
  EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"in", "in/dotdot.lzh", "in/good.txt"}));
  fs::remove_all(in);

  x = ExtractLzhArchive(CopyArchive("absolute.lzh", in), in);
  EXPECT_EQ(x.extracted, 1);
  ASSERT_EQ(x.refused.size(), 1u);
  EXPECT_EQ(x.refused[0].name, "/tmp/furlong-lzh-abs/abs.txt");
  EXPECT_EQ(x.refused[0].reason, "absolute path");
  EXPECT_FALSE(fs::exists("/tmp/furlong-lzh-abs/abs.txt"));
  EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"in", "in/absolute.lzh", "in/good.txt"}));
  fs::remove_all(in);

  x = ExtractLzhArchive(CopyArchive("drive.lzh", in), in);
  EXPECT_EQ(x.extracted, 1);
  ASSERT_EQ(x.refused.size(), 1u);
  EXPECT_EQ(x.refused[0].name, "C:/evil.txt");
  EXPECT_EQ(x.refused[0].reason, "drive in the path");
  EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"in", "in/drive.lzh", "in/good.txt"}));
}

TEST(LzhArchive, TwoByteCharactersEndingIn0x5CStayInTheName) {
  // "ソ" is 0x83 0x5C in Shift-JIS: its second byte is no folder separator.
  test::ScratchDir dir;
  LzhExtraction x = ExtractLzhArchive(CopyArchive("sjis.lzh", dir.path()), dir.path());
  ASSERT_EQ(x.extracted, 1);
  EXPECT_EQ(x.written[0], Utf8ToSjis("ソ.txt"));
  EXPECT_EQ(ReadFile(dir.path() / SjisPath(Utf8ToSjis("ソ.txt"))), "sjis\r\n");
}

TEST(LzhArchive, BrokenArchivesThrowAndWriteNothing) {
  test::ScratchDir dir;
  std::ofstream(dir.path() / "text.lzh", std::ios::binary) << "this is not an archive\r\n";
  // truncated: half an archive; oversize: a stored member longer than its
  // header says; corrupt: one changed byte of -lh5- data; huge: a header
  // claiming 2 GiB.
  for (const char* name : {"truncated.lzh", "oversize.lzh", "corrupt.lzh", "huge.lzh", "text.lzh"}) {
    SCOPED_TRACE(name);
    fs::path archive = dir.path() / name;
    if (!fs::exists(archive)) CopyArchive(name, dir.path());
    EXPECT_THROW(ExtractLzhArchive(archive, dir.path()), LzhError);
  }
  EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"truncated.lzh", "oversize.lzh", "corrupt.lzh", "huge.lzh",
                                                        "text.lzh"}));
}

TEST(LzhArchive, AMissingArchiveIsAStoreError) {
  test::ScratchDir dir;
  EXPECT_THROW(ExtractLzhArchive(dir.path() / "none.lzh", dir.path()), StoreError);
}

TEST(LzhArchive, StoredArchivesReadBackThroughLhasa) {
  const std::string sjisName = Utf8ToSjis("表.txt");  // 0x95 0x5C
  std::string big(70000, 'x');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  std::vector<LzhMember> members =
      ReadLzhArchive(MakeStoredLzhArchive({{"a.txt", "alpha\r\n"}, {sjisName, big}, {"empty", ""}}));
  ASSERT_EQ(members.size(), 3u);
  EXPECT_EQ(members[0].name, "a.txt");
  EXPECT_EQ(members[0].method, "-lh0-");
  EXPECT_EQ(members[0].data, "alpha\r\n");
  EXPECT_EQ(members[1].name, sjisName);
  EXPECT_EQ(members[1].data, big);
  EXPECT_EQ(members[2].data, "");
}

TEST(LzhArchive, AMemberNamedLikeTheArchiveIsNotWrittenOverIt) {
  test::ScratchDir dir;
  const std::string bytes = MakeStoredLzhArchive({{"OZ040105.LZH", "x"}, {"ok.txt", "y"}});
  std::ofstream(dir.path() / "OZ040105.lzh", std::ios::binary) << bytes;
  LzhExtraction x = ExtractLzhArchive(dir.path() / "OZ040105.lzh", dir.path());
  EXPECT_EQ(x.extracted, 1);
  ASSERT_EQ(x.refused.size(), 1u);
  EXPECT_EQ(ReadFile(dir.path() / "OZ040105.lzh"), bytes);
}

TEST(LzhArchive, MemberNameRules) {
  std::string why;
  EXPECT_EQ(LzhMemberFileName("a/b/kol_ods.kd3", &why), "kol_ods.kd3");
  EXPECT_EQ(why, "");
  EXPECT_EQ(LzhMemberFileName("./x.txt"), "x.txt");
  EXPECT_EQ(LzhMemberFileName("a\\b.txt"), "b.txt");
  EXPECT_EQ(LzhMemberFileName("../x.txt", &why), "");
  EXPECT_EQ(why, "'..' in the path");
  EXPECT_EQ(LzhMemberFileName("a/../../x.txt"), "");
  EXPECT_EQ(LzhMemberFileName("/etc/x", &why), "");
  EXPECT_EQ(why, "absolute path");
  EXPECT_EQ(LzhMemberFileName("\\\\server\\share\\x"), "");
  EXPECT_EQ(LzhMemberFileName("C:x.txt", &why), "");
  EXPECT_EQ(why, "drive in the path");
  EXPECT_EQ(LzhMemberFileName("x.txt:stream"), "");
  EXPECT_EQ(LzhMemberFileName("a/b/", &why), "");
  EXPECT_EQ(why, "");  // a folder, not refused
  EXPECT_EQ(LzhMemberFileName("x|y"), "");
  EXPECT_EQ(LzhMemberFileName(std::string("x\0y", 3)), "");
  // Second bytes of two-byte characters are neither separators nor '|'.
  EXPECT_EQ(LzhMemberFileName(Utf8ToSjis("ソフト/表.txt")), Utf8ToSjis("表.txt"));
  EXPECT_EQ(LzhMemberFileName(Utf8ToSjis("ポ.txt")), Utf8ToSjis("ポ.txt"));
}

}  // namespace
}  // namespace furlong
