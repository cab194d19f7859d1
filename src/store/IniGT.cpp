#include "store/IniGT.h"

// Only the byte interface is used: values stay in the file's own code page.
// SI_IMPLEMENTATION asks header builds that keep the template bodies apart
// (the Debian package) to include them here, so no library is linked.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <charconv>
#include <stdexcept>
#include <system_error>

#include "store/AppPath.h"
#include "store/SjisChars.h"
#include "store/Store.h"

namespace furlong {
namespace {

// Half-width corner brackets (one byte each in Shift-JIS) and the double quote
// that a value may be enclosed in to keep spaces at its ends.
constexpr char kOpenCorner = '\xA2';
constexpr char kCloseCorner = '\xA3';
constexpr char kQuote = '"';

// The whole file, or nothing when it does not exist. With `mustRead`, a file
// that exists but cannot be read throws StoreError (a write must not replace
// a file it could not read); without it, such a file reads as empty.
// A settings file is a few lines; one larger than this is not one.
constexpr std::size_t kMaxSettingsBytes = 1u << 20;

std::string LoadBytes(const std::filesystem::path& path, bool mustRead) {
  std::string bytes;
  try {
    ReadFileIfExists(path, bytes, kMaxSettingsBytes);
  } catch (const StoreError&) {
    if (mustRead) throw;
    bytes.clear();
  }
  return bytes;
}

void ConfigureIni(CSimpleIniA& ini) {
  ini.SetUnicode(false);  // the bytes are the system's code page, kept as they are
  ini.SetMultiKey(false);
  ini.SetMultiLine(false);
  ini.SetSpaces(false);   // "key=value", as the system's own INI functions write
}

// The raw value of a key, or `fallback` when the file or key is missing.
std::string RawValue(const std::filesystem::path& path, std::string_view section, std::string_view key,
                     const std::string& fallback) {
  std::string bytes = LoadBytes(path, false);
  if (bytes.empty()) return fallback;
  CSimpleIniA ini;
  ConfigureIni(ini);
  if (ini.LoadData(bytes.data(), bytes.size()) < 0) return fallback;
  const char* v = ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
  return v ? std::string(v) : fallback;
}

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string_view TrimBlanks(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

// True when the value's last character (not merely its last byte, which may
// be the second byte of a two-byte character) is the closing corner bracket.
bool EndsWithCloseCorner(std::string_view v) {
  return !v.empty() && v.back() == kCloseCorner && SjisLastCharStart(v) == v.size() - 1;
}

}  // namespace

std::filesystem::path DefaultIniFileName() {
  std::filesystem::path name = ExecutablePath().filename();
  if (name.empty()) return "furlong.ini";
  name.replace_extension(".ini");
  return name;
}

std::filesystem::path SettingsFileOf(const std::filesystem::path& dataRoot) { return dataRoot / "furlong.ini"; }

TIniGT::TIniGT() : fileName_(DefaultIniFileName()) {}

TIniGT::TIniGT(std::filesystem::path fileName, TDefaultDir defaultDir)
    : fileName_(fileName.empty() ? DefaultIniFileName() : std::move(fileName)), defaultDir_(defaultDir) {}

void TIniGT::SetFileName(const std::filesystem::path& fileName) {
  fileName_ = fileName.empty() ? DefaultIniFileName() : fileName;
}

std::filesystem::path TIniGT::FilePath() const {
  if (fileName_.has_parent_path()) return fileName_;
  switch (defaultDir_) {
    case TDefaultDir::ddApplication:
      return ApplicationDir() / fileName_;
    case TDefaultDir::ddWindows:
      return SystemSettingsDir() / fileName_;
    case TDefaultDir::ddNone:
      break;
  }
  return fileName_;
}

int TIniGT::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const std::string raw = RawValue(FilePath(), section, key, std::string());
  std::string_view text = TrimBlanks(raw);
  // An optional sign, then decimal digits only.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return defaultValue;
  }
  if (text.empty()) return defaultValue;
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (ec != std::errc() || end != text.data() + text.size()) return defaultValue;
  return value;
}

void TIniGT::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

std::string TIniGT::ReadString(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
  std::string fallback;
  fallback.reserve(defaultValue.size() + 2);
  fallback += kOpenCorner;
  fallback += defaultValue;
  fallback += kCloseCorner;
  std::string v = RawValue(FilePath(), section, key, fallback);
  if (v.size() == 2 && ((v[0] == kQuote && v[1] == kQuote) || (v[0] == kOpenCorner && v[1] == kCloseCorner)))
    return {};
  if (v.size() > 2 && ((v.front() == kQuote && v.back() == kQuote) ||
                       (v.front() == kOpenCorner && EndsWithCloseCorner(v))))
    return v.substr(1, v.size() - 2);
  return v;
}

void TIniGT::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (HasLineBreakOrNul(section) || HasLineBreakOrNul(key) || HasLineBreakOrNul(value))
    throw std::invalid_argument("settings text with a line break");
  const std::filesystem::path path = FilePath();
  std::string bytes = LoadBytes(path, true);
  CSimpleIniA ini;
  ConfigureIni(ini);
  if (!bytes.empty() && ini.LoadData(bytes.data(), bytes.size()) < 0)
    throw StoreError(path, "the settings file cannot be read as INI text");
  std::string out;
  if (ini.SetValue(std::string(section).c_str(), std::string(key).c_str(), std::string(value).c_str()) < 0 ||
      ini.Save(out) < 0)
    throw StoreError(path, "the settings value cannot be stored");
#ifdef _WIN32
  // SimpleIni ends lines in CR LF on Windows. The file keeps LF on every
  // system, so that a store holds the same bytes wherever it was written
  // (values never hold a line break, so every CR LF is a line end).
  std::string::size_type at = 0;
  while ((at = out.find("\r\n", at)) != std::string::npos) out.erase(at, 1);
#endif
  // Written beside the old file and renamed over it: a reader sees the old
  // settings or the new ones, never a half-written file.
  WriteFileAtomically(path, out);
}

}  // namespace furlong
