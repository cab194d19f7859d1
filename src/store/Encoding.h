#pragma once
// The one place where Shift-JIS (code page 932) text meets Unicode.
// Records and stored texts stay raw Shift-JIS bytes everywhere in the core;
// only the edges (terminal, JSON, file names, the window) convert.
#include <filesystem>
#include <string>
#include <string_view>

namespace furlong {

// Shift-JIS -> UTF-8. Bytes that are not valid code page 932 become U+FFFD;
// the conversion never fails and never reads past the input.
std::string SjisToUtf8(std::string_view sjis);

// UTF-8 -> Shift-JIS. Characters without a code page 932 form become "?".
std::string Utf8ToSjis(std::string_view utf8);

// True when the bytes are well-formed code page 932 text.
bool IsValidSjis(std::string_view sjis);

// A file-system path from a Shift-JIS relative name (file names are stored as
// their Unicode form on disk: UTF-8 on POSIX, wide characters on Windows).
std::filesystem::path SjisPath(std::string_view sjis);

// The Shift-JIS form of a path's file name, for matching store names.
std::string PathNameToSjis(const std::filesystem::path& name);

// A path from UTF-8 text (the command line, JSON, the window's texts), never
// through the system code page: the same bytes on POSIX, wide characters on
// Windows.
inline std::filesystem::path Utf8Path(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A path as UTF-8 text, for messages and output.
inline std::string PathUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace furlong

// A Shift-JIS copy of a UTF-8 literal, converted once per call site.
#define SJ(literal)                                                              \
  ([]() -> const std::string& {                                                  \
    static const std::string converted_ = ::furlong::Utf8ToSjis(literal);        \
    return converted_;                                                           \
  }())
