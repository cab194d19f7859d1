#include "store/AppPath.h"

#include <mutex>

namespace furlong {
namespace {

std::mutex& OverrideMutex() {
  static std::mutex m;
  return m;
}

std::filesystem::path& OverrideDir() {
  static std::filesystem::path dir;
  return dir;
}

}  // namespace

void SetApplicationDirOverride(const std::filesystem::path& dir) {
  std::lock_guard lock(OverrideMutex());
  OverrideDir() = dir;
}

std::filesystem::path ApplicationDir() {
  {
    std::lock_guard lock(OverrideMutex());
    if (!OverrideDir().empty()) return OverrideDir();
  }
  return ExecutablePath().parent_path();
}

}  // namespace furlong
