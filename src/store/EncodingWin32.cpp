#include "store/Encoding.h"

#include <windows.h>

namespace furlong {
namespace {

constexpr UINT kShiftJis = 932;

std::wstring Widen(UINT codePage, std::string_view in, bool* valid) {
  if (valid) *valid = true;
  if (in.empty()) return {};
  int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()),
                              nullptr, 0);
  if (n == 0) {
    if (valid) *valid = false;
    n = MultiByteToWideChar(codePage, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(codePage, 0, in.data(), static_cast<int>(in.size()), w.data(), n);
    return w;
  }
  std::wstring w(n, L'\0');
  MultiByteToWideChar(codePage, 0, in.data(), static_cast<int>(in.size()), w.data(), n);
  return w;
}

std::string Narrow(UINT codePage, const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace

std::string SjisToUtf8(std::string_view sjis) { return Narrow(CP_UTF8, Widen(kShiftJis, sjis, nullptr)); }

std::string Utf8ToSjis(std::string_view utf8) { return Narrow(kShiftJis, Widen(CP_UTF8, utf8, nullptr)); }

bool IsValidSjis(std::string_view sjis) {
  bool valid = true;
  Widen(kShiftJis, sjis, &valid);
  return valid;
}

std::filesystem::path SjisPath(std::string_view sjis) {
  return std::filesystem::path(Widen(kShiftJis, sjis, nullptr));
}

std::string PathNameToSjis(const std::filesystem::path& name) { return Narrow(kShiftJis, name.wstring()); }

}  // namespace furlong
