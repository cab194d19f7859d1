#pragma once
// Character boundaries in Shift-JIS (code page 932) bytes.
#include <cstddef>
#include <string_view>

namespace furlong {

// True for the first byte of a two-byte character.
constexpr bool IsSjisLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Byte length of the character starting at index i: 2 for a lead byte that
// has a byte after it, else 1.
constexpr std::size_t SjisCharLength(std::string_view text, std::size_t i) {
  return IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Byte index where the last character of a non-empty text starts.
constexpr std::size_t SjisLastCharStart(std::string_view text) {
  std::size_t i = 0, last = 0;
  while (i < text.size()) {
    last = i;
    i += SjisCharLength(text, i);
  }
  return last;
}

}  // namespace furlong
