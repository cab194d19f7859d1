#pragma once
// Small text rules shared by the store, the imports and the reports: ASCII
// letter case, line splitting and joining.
#include <string>
#include <string_view>
#include <vector>

#include "store/SjisChars.h"

namespace furlong {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// Equal but for the letter case of ASCII letters. A two-byte Shift-JIS
// character must match exactly, also when its second byte is the code of an
// ASCII letter ("ア" is 0x83 0x41, "ャ" 0x83 0x61).
constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t n = SjisCharLength(a, i);
    if (n == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
    i += n;
  }
  return true;
}

constexpr bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

// The lines of a text, split at CR LF, CR or LF; a final line break does not
// start another line. The views point into `text`.
std::vector<std::string_view> SplitLineViews(std::string_view text);
// As SplitLineViews, as copies.
std::vector<std::string> SplitLines(std::string_view text);
// The lines joined again, with CR LF after every line.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// ---- Shift-JIS text helpers.

// The text without any full-width space (matched character by character).
std::string RemoveWideSpaces(std::string_view text);
// Deletes length(r) bytes of s at 1-based position p, then inserts r there.
std::string OverwriteAt(std::string_view s, std::string_view r, std::size_t p);

}  // namespace furlong
