#include "store/Encoding.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

#include "store/SjisChars.h"

namespace furlong {
namespace {

// iconv descriptors are not thread-safe; one per direction, guarded.
struct Converter {
  iconv_t cd;
  std::mutex mutex;
  Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
  ~Converter() {
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }
};

Converter& FromSjis() {
  static Converter c("UTF-8", "CP932");
  return c;
}
Converter& ToSjis() {
  static Converter c("CP932", "UTF-8");
  return c;
}

// Converts, replacing each unconvertible input sequence by `replacement` and
// skipping `skip` input bytes for it.
std::string Convert(Converter& conv, std::string_view in, std::string_view replacement,
                    bool utf8Input, bool* valid) {
  std::string out;
  if (valid) *valid = true;
  if (in.empty()) return out;
  std::lock_guard lock(conv.mutex);
  if (conv.cd == reinterpret_cast<iconv_t>(-1)) {
    if (valid) *valid = false;
    return std::string(in);
  }
  iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
  out.resize(in.size() * 3 + 16);
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    size_t r = iconv(conv.cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      size_t used = out.size() - outLeft;
      out.resize(out.size() * 2);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
      continue;
    }
    // EILSEQ or EINVAL: replace one character and go on.
    if (valid) *valid = false;
    size_t skip = 1;
    if (utf8Input) {
      unsigned char c = static_cast<unsigned char>(*inPtr);
      if (c >= 0xF0) skip = 4;
      else if (c >= 0xE0) skip = 3;
      else if (c >= 0xC0) skip = 2;
      if (skip > inLeft) skip = inLeft;
    } else {
      // A Shift-JIS lead byte followed by a bad trail byte: drop both only when
      // the pair is complete, so a lone lead byte at the end costs one byte.
      if (IsSjisLeadByte(static_cast<unsigned char>(*inPtr)) && inLeft >= 2) skip = 2;
    }
    inPtr += skip;
    inLeft -= skip;
    while (outLeft < replacement.size()) {
      size_t used = out.size() - outLeft;
      out.resize(out.size() * 2);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
    }
    for (char ch : replacement) {
      *outPtr++ = ch;
      --outLeft;
    }
    iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::string SjisToUtf8(std::string_view sjis) {
  return Convert(FromSjis(), sjis, "\xEF\xBF\xBD", false, nullptr);
}

std::string Utf8ToSjis(std::string_view utf8) {
  return Convert(ToSjis(), utf8, "?", true, nullptr);
}

bool IsValidSjis(std::string_view sjis) {
  bool valid = true;
  Convert(FromSjis(), sjis, "", false, &valid);
  return valid;
}

std::filesystem::path SjisPath(std::string_view sjis) {
  return std::filesystem::path(SjisToUtf8(sjis));
}

std::string PathNameToSjis(const std::filesystem::path& name) {
  return Utf8ToSjis(name.string());
}

}  // namespace furlong
