#pragma once
// What furlong-cli import and results share: choosing and initialising the
// JV-Link, and Ctrl-C as the cancel button.
#include <atomic>
#include <csignal>
#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

#include "Command.h"
#include "jvlink/JVLink.h"
#include "jvlink/JVResultMessage.h"
#include "store/Encoding.h"
#include "store/IniGT.h"
#include "store/Store.h"

namespace furlong::cli {

// The version text of the program, part of the software id given to JVInit.
inline constexpr const char* kVersionText = "Ver.1.33";

// A JV-Link ready for use: the stand-in on --jvlink-feed, on the settings
// file's feed, or the platform's default; JVInit done. Errors are reported
// on io.err and give nullptr.
inline std::unique_ptr<JVLink> OpenJVLink(CommandIo& io, const std::filesystem::path& root, const TIniGT& settings,
                                          const std::string& feed) {
  const std::filesystem::path feedFolder = Utf8Path(feed);
  std::error_code ec;
  if (!feed.empty() && !std::filesystem::is_directory(feedFolder, ec)) {
    io.err << feed << ": no such feed folder\n";
    return nullptr;
  }
  std::unique_ptr<JVLink> jv;
  try {
    jv = CreateJVLink(ChooseJVLink(root, &settings, feedFolder));
  } catch (const JVLinkUnavailable& e) {
    io.err << SjisToUtf8(SJ("JRA-VANのホームページより【JV-Link】を入手し、インストールしてください。")) << "\n"
           << e.what() << "\n";
    return nullptr;
  }
  int r = jv->JVInit(SoftwareId(kVersionText));
  if (r != 0) {
    io.err << SjisToUtf8(SJ("JVInitエラー：") + JVResultMessage("JVInit", r)) << "\n";
    return nullptr;
  }
  // An old control is only noted, as the window does; the command goes on.
  std::string warning = SjisToUtf8(JVLinkVersionWarning(jv->Version()));
  for (std::string::size_type at; (at = warning.find("\r\n")) != std::string::npos;) warning.erase(at, 1);
  if (!warning.empty()) io.err << warning << "\n";
  return jv;
}

// While alive, Ctrl-C sets Interrupted() instead of ending the program, so
// that the running import can be cancelled and its files written.
class InterruptGuard {
 public:
  InterruptGuard() {
    Flag() = false;
    previous_ = std::signal(SIGINT, &InterruptGuard::Handle);
  }
  ~InterruptGuard() { std::signal(SIGINT, previous_ == SIG_ERR ? SIG_DFL : previous_); }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

  static bool Interrupted() { return Flag().load(); }

 private:
  static std::atomic<bool>& Flag() {
    static std::atomic<bool> flag{false};
    return flag;
  }
  static void Handle(int) { Flag() = true; }
  void (*previous_)(int) = SIG_DFL;
};

}  // namespace furlong::cli
