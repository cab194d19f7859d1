#pragma once
// The settings file: one INI file beside the executable, read and written at
// once on every call (there is no cache, so two instances that address the
// same file always agree). Sections, keys and values are Shift-JIS bytes and
// are stored in the file unchanged.
#include <filesystem>
#include <string>
#include <string_view>

namespace furlong {

// Where a FileName without a folder is placed.
enum class TDefaultDir {
  ddApplication,  // the application folder (the executable's, or its override)
  ddWindows,      // the system settings folder (the Windows folder on Windows)
  ddNone,         // the name as it stands, relative to the current directory
};

// The executable's file name with its extension replaced by ".ini"
// ("furlong.ini" when the executable cannot be found).
std::filesystem::path DefaultIniFileName();

// The settings file of a data root named on the command line (--root):
// "furlong.ini" in that folder, shared by the window and furlong-cli, so
// that a store carries its own from-time and feed.
std::filesystem::path SettingsFileOf(const std::filesystem::path& dataRoot);

class TIniGT {
 public:
  // FileName = DefaultIniFileName(), DefaultDir = ddApplication.
  TIniGT();
  // An empty fileName means DefaultIniFileName().
  explicit TIniGT(std::filesystem::path fileName, TDefaultDir defaultDir = TDefaultDir::ddApplication);

  const std::filesystem::path& FileName() const { return fileName_; }
  void SetFileName(const std::filesystem::path& fileName);
  TDefaultDir DefaultDir() const { return defaultDir_; }
  void SetDefaultDir(TDefaultDir defaultDir) { defaultDir_ = defaultDir; }

  // The file that reads and writes go to: FileName unchanged when it holds a
  // folder, else FileName placed by DefaultDir. Resolved on every call.
  std::filesystem::path FilePath() const;

  // The key's value as a decimal integer; the default when the file or key
  // is missing or the value is not a number.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  void WriteInteger(std::string_view section, std::string_view key, int value);

  // The key's value, or the default when it is missing. A value enclosed in
  // double quotes or in the half-width corner brackets comes back without
  // them, so spaces at its ends can be kept.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // Writes the value unchanged (no quotes added). A section, key or value
  // holding a line break or NUL is refused with std::invalid_argument; file
  // failures throw StoreError (store/Store.h) and leave the old file.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

 private:
  std::filesystem::path fileName_;
  TDefaultDir defaultDir_ = TDefaultDir::ddApplication;
};

}  // namespace furlong
