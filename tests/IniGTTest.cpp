#include "store/IniGT.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

#include "store/AppPath.h"
#include "store/Encoding.h"
#include "store/Store.h"

using namespace furlong;
namespace fs = std::filesystem;

namespace {

std::string S(const char* utf8) { return Utf8ToSjis(utf8); }

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class IniGTTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("furlong-inigt-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
    SetApplicationDirOverride(dir_);
  }
  void TearDown() override {
    SetApplicationDirOverride({});
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  fs::path IniPath() const { return dir_ / DefaultIniFileName(); }

  fs::path dir_;
};

}  // namespace

TEST_F(IniGTTest, DefaultFileIsTheExecutableNameWithIniInTheApplicationFolder) {
  TIniGT ini;
  fs::path expected = ExecutablePath().filename();
  expected.replace_extension(".ini");
  EXPECT_EQ(ini.FileName(), expected);
  EXPECT_EQ(ini.DefaultDir(), TDefaultDir::ddApplication);
  EXPECT_EQ(ini.FilePath(), dir_ / expected);
}

TEST_F(IniGTTest, FileNameResolution) {
  TIniGT ini("settings.ini");
  EXPECT_EQ(ini.FilePath(), dir_ / "settings.ini");
  ini.SetDefaultDir(TDefaultDir::ddNone);
  EXPECT_EQ(ini.FilePath(), fs::path("settings.ini"));
  ini.SetDefaultDir(TDefaultDir::ddWindows);
  EXPECT_EQ(ini.FilePath(), SystemSettingsDir() / "settings.ini");
  // A name with a folder is used unchanged whatever DefaultDir says.
  fs::path withFolder = dir_ / "sub" / "x.ini";
  ini.SetFileName(withFolder);
  EXPECT_EQ(ini.FilePath(), withFolder);
  ini.SetDefaultDir(TDefaultDir::ddApplication);
  EXPECT_EQ(ini.FilePath(), withFolder);
  // An empty name falls back to the executable's.
  ini.SetFileName({});
  EXPECT_EQ(ini.FilePath(), IniPath());
}

TEST_F(IniGTTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt) {
  TIniGT ini;
  EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 10);
  EXPECT_EQ(ini.ReadInteger("locate", "width", 1200), 1200);
  EXPECT_EQ(ini.ReadString("JvDataGet", "LastTime", "2024/01/01 00:00:00"), "2024/01/01 00:00:00");
  EXPECT_FALSE(fs::exists(IniPath()));  // reading never creates the file

  ini.WriteInteger("locate", "top", 25);
  ASSERT_TRUE(fs::exists(IniPath()));
  EXPECT_NE(ReadBytes(IniPath()).find("[locate]\ntop=25"), std::string::npos);
  EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 25);
  EXPECT_EQ(ini.ReadInteger("locate", "left", 10), 10);
  // Only the settings file is left: the temporary file was renamed over it.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(IniGTTest, TwoInstancesShareOneFileWithoutCaching) {
  TIniGT mainWindow;
  TIniGT importWindow;
  EXPECT_EQ(mainWindow.FilePath(), importWindow.FilePath());
  mainWindow.WriteString("JvDataGet", "LastTime", "2024/05/01 10:00:00");
  EXPECT_EQ(importWindow.ReadString("JvDataGet", "LastTime", ""), "2024/05/01 10:00:00");
  importWindow.WriteString("JvDataGet", "LastTime", "2024/05/02 11:30:00");
  importWindow.WriteInteger("locate", "height", 700);
  EXPECT_EQ(mainWindow.ReadString("JvDataGet", "LastTime", ""), "2024/05/02 11:30:00");
  EXPECT_EQ(mainWindow.ReadInteger("locate", "height", 800), 700);
}

TEST_F(IniGTTest, ReadStringRemovesEnclosingQuotesOrCornerBrackets) {
  TIniGT ini;
  const std::string open = "\xA2", close = "\xA3";  // half-width corner brackets
  struct Case {
    std::string written, read;
  } cases[] = {
      {"\"abc\"", "abc"},
      {"\" abc \"", " abc "},
      {open + " x " + close, " x "},
      {open + S("競馬") + close, S("競馬")},
      {"\"\"", ""},
      {open + close, ""},
      {"\"", "\""},
      {"\"abc", "\"abc"},
      {"a\"b\"", "a\"b\""},
      {open + "abc\"", open + "abc\""},
      // The last byte 0xA3 belongs to "Ε" (0x83 0xA3), so this value does not
      // end with a corner bracket and is kept whole.
      {open + S("Ε"), open + S("Ε")},
  };
  for (const auto& c : cases) {
    ini.WriteString("Dir", "yoso", c.written);
    EXPECT_EQ(ini.ReadString("Dir", "yoso", "default"), c.read) << c.written;
  }
}

TEST_F(IniGTTest, DefaultsOfMissingKeysComeBackUnchanged) {
  TIniGT ini;
  ini.WriteString("Dir", "other", "x");
  EXPECT_EQ(ini.ReadString("Dir", "yoso", ""), "");
  EXPECT_EQ(ini.ReadString("Dir", "yoso", " padded "), " padded ");
  EXPECT_EQ(ini.ReadString("Nope", "yoso", "\"q\""), "\"q\"");
  // A key that is present with an empty value is empty, not the default.
  ini.WriteString("Dir", "yoso", "");
  EXPECT_EQ(ini.ReadString("Dir", "yoso", "default"), "");
}

TEST_F(IniGTTest, ReadIntegerFallsBackForNonNumbers) {
  TIniGT ini;
  for (const char* text : {"abc", "12abc", "1.5", "", "99999999999", "0x10", "+-3"}) {
    ini.WriteString("locate", "top", text);
    EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 10) << text;
  }
  ini.WriteString("locate", "top", "-5");
  EXPECT_EQ(ini.ReadInteger("locate", "top", 10), -5);
  ini.WriteString("locate", "top", "+7");
  EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 7);
}

TEST_F(IniGTTest, ValuesAreStoredAsShiftJisBytes) {
  TIniGT ini;
  const std::string folder = S("C:\\競馬\\PAT for WIN\\ソフト");  // "ソ" ends in 0x5C
  ini.WriteString("Dir", "yoso", folder);
  EXPECT_EQ(ini.ReadString("Dir", "yoso", ""), folder);
  EXPECT_NE(ReadBytes(IniPath()).find("yoso=" + folder), std::string::npos);
}

TEST_F(IniGTTest, ReadsAWindowsFileAndKeepsItsOtherKeys) {
  WriteBytes(IniPath(), "; window\r\n[locate]\r\ntop=5\r\nleft = 7\r\n\r\n[Dir]\r\nyoso=D:\\odds\r\n");
  TIniGT ini;
  EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 5);
  EXPECT_EQ(ini.ReadInteger("locate", "left", 10), 7);
  EXPECT_EQ(ini.ReadInteger("LOCATE", "Top", 10), 5);  // names ignore letter case
  EXPECT_EQ(ini.ReadString("Dir", "yoso", ""), "D:\\odds");

  ini.WriteInteger("locate", "top", 30);
  EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 30);
  EXPECT_EQ(ini.ReadInteger("locate", "left", 10), 7);
  EXPECT_EQ(ini.ReadString("Dir", "yoso", ""), "D:\\odds");
  EXPECT_NE(ReadBytes(IniPath()).find("; window"), std::string::npos);
}

TEST_F(IniGTTest, WriteRefusesLineBreaksThatWouldAddKeys) {
  TIniGT ini;
  ini.WriteString("Dir", "yoso", "D:\\odds");
  EXPECT_THROW(ini.WriteString("Dir", "yoso", "x\n[locate]\ntop=999"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("Dir", "yo\rso", "x"), std::invalid_argument);
  EXPECT_EQ(ini.ReadString("Dir", "yoso", ""), "D:\\odds");
  EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 10);
}

TEST_F(IniGTTest, WriteIntoMissingFolderFailsWithoutCreatingAnything) {
  TIniGT ini(dir_ / "missing" / "x.ini");
  EXPECT_THROW(ini.WriteInteger("locate", "top", 1), StoreError);
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
  EXPECT_EQ(ini.ReadInteger("locate", "top", 10), 10);
}
