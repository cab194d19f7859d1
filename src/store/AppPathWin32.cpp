#include "store/AppPath.h"

#include <windows.h>

#include <string>

namespace furlong {

std::filesystem::path ExecutablePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) {
      buf.resize(n);
      return std::filesystem::path(buf);
    }
    // Truncated: try again with a larger buffer.
    if (buf.size() >= 32768) return {};
    buf.resize(buf.size() * 2);
  }
}

std::filesystem::path SystemSettingsDir() {
  wchar_t buf[MAX_PATH + 1];
  UINT n = GetWindowsDirectoryW(buf, MAX_PATH + 1);
  if (n == 0 || n > MAX_PATH) return {};
  return std::filesystem::path(std::wstring(buf, n));
}

}  // namespace furlong
