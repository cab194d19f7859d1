#include "store/Encoding.h"

#include <windows.h>

#include "store/SjisChars.h"

namespace furlong {
namespace {

constexpr UINT kShiftJis = 932;

// The conversions give the same text as the POSIX ones (iconv's CP932): the
// code page API decides what each character maps to, but bad input is found
// and replaced here, character by character, by the same rules. Windows'
// own table would turn some bytes that iconv refuses into private-use
// characters (0xA0, 0xFD to 0xFF) or keep them (0x80).


// Shift-JIS -> UTF-16. Each bad character becomes U+FFFD: a lead byte with a
// byte after it costs both bytes, any other bad byte one.
std::wstring Widen(std::string_view in, bool* valid) {
  if (valid) *valid = true;
  std::wstring out;
  out.reserve(in.size());
  std::size_t i = 0;
  while (i < in.size()) {
    const unsigned char c = static_cast<unsigned char>(in[i]);
    if (c < 0x80) {
      out += static_cast<wchar_t>(c);
      ++i;
      continue;
    }
    if (c >= 0xA1 && c <= 0xDF) {  // half-width katakana
      out += static_cast<wchar_t>(0xFF61 + (c - 0xA1));
      ++i;
      continue;
    }
    wchar_t w[2];
    if (IsSjisLeadByte(c) && i + 1 < in.size() &&
        MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, in.data() + i, 2, w, 2) == 1) {
      out += w[0];
      i += 2;
      continue;
    }
    if (valid) *valid = false;
    out += static_cast<wchar_t>(0xFFFD);
    i += IsSjisLeadByte(c) && i + 1 < in.size() ? 2 : 1;
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// One well-formed UTF-8 character at in[i] (no overlong form, no surrogate,
// at most U+10FFFF): its code point and length, or false.
bool DecodeUtf8(std::string_view in, std::size_t i, char32_t& c, std::size_t& length) {
  const unsigned char b = static_cast<unsigned char>(in[i]);
  char32_t minimum;
  if (b < 0x80) {
    c = b;
    length = 1;
    return true;
  } else if (b >= 0xC2 && b <= 0xDF) {
    c = b & 0x1F, length = 2, minimum = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    c = b & 0x0F, length = 3, minimum = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    c = b & 0x07, length = 4, minimum = 0x10000;
  } else {
    return false;
  }
  if (i + length > in.size()) return false;
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned char t = static_cast<unsigned char>(in[i + k]);
    if ((t & 0xC0) != 0x80) return false;
    c = (c << 6) | (t & 0x3F);
  }
  return c >= minimum && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

// Characters iconv's CP932 also takes, for the JIS X 0208 forms of the same
// signs (the wave dash, the yen sign, ...), which Windows' table lacks.
struct OneWay {
  char32_t from;
  const char* to;
};
constexpr OneWay kIconvOneWay[] = {{0x00A2, "\x81\x91"}, {0x00A3, "\x81\x92"}, {0x00A5, "\x5C"},
                                   {0x00AC, "\x81\xCA"}, {0x2014, "\x81\x5C"}, {0x2016, "\x81\x61"},
                                   {0x203E, "\x7E"},     {0x2212, "\x81\x7C"}, {0x301C, "\x81\x60"}};

// One code point in code page 932, without Windows' best-fit look-alikes;
// false when it has no form there.
bool NarrowOne(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return true;
  }
  if (c > 0xFFFF) return false;  // code page 932 has nothing beyond the BMP
  for (const OneWay& m : kIconvOneWay) {
    if (m.from == c) {
      out += m.to;
      return true;
    }
  }
  // Windows' table gives these the single bytes iconv refuses (0x80, 0xA0, 0xFD to 0xFF).
  if (c == 0x80 || (c >= 0xF8F0 && c <= 0xF8F3)) return false;
  const wchar_t w = static_cast<wchar_t>(c);
  char bytes[4];
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, &w, 1, bytes, sizeof bytes, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  out.append(bytes, static_cast<std::size_t>(n));
  return true;
}

// The length iconv is told to skip for a bad UTF-8 character: by its first
// byte, at most what is left.
std::size_t BadUtf8Length(std::string_view in, std::size_t i) {
  const unsigned char c = static_cast<unsigned char>(in[i]);
  std::size_t skip = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  return skip > in.size() - i ? in.size() - i : skip;
}

std::string Narrow(const std::wstring& w) {
  std::string out;
  out.reserve(w.size() * 2);
  for (std::size_t i = 0; i < w.size(); ++i) {
    char32_t c = static_cast<char16_t>(w[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(w[++i]) - 0xDC00);
    if (!NarrowOne(c, out)) out += '?';
  }
  return out;
}

}  // namespace

std::string SjisToUtf8(std::string_view sjis) {
  const std::wstring w = Widen(sjis, nullptr);
  std::string out;
  out.reserve(w.size() * 3);
  for (wchar_t c : w) AppendUtf8(out, static_cast<char16_t>(c));
  return out;
}

std::string Utf8ToSjis(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t c;
    std::size_t length;
    if (DecodeUtf8(utf8, i, c, length) && NarrowOne(c, out)) {
      i += length;
      continue;
    }
    out += '?';
    i += BadUtf8Length(utf8, i);
  }
  return out;
}

bool IsValidSjis(std::string_view sjis) {
  bool valid = true;
  Widen(sjis, &valid);
  return valid;
}

std::filesystem::path SjisPath(std::string_view sjis) { return std::filesystem::path(Widen(sjis, nullptr)); }

std::string PathNameToSjis(const std::filesystem::path& name) { return Narrow(name.wstring()); }

}  // namespace furlong
