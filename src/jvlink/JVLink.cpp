#include "jvlink/JVLink.h"

#include "jvlink/JVLinkStandIn.h"
#include "store/Encoding.h"
#include "store/IniGT.h"

#ifdef _WIN32
#include "jvlink/JVLinkWin32.h"
#endif

namespace furlong {

namespace fs = std::filesystem;

std::string SoftwareId(std::string_view versionText) {
  std::string id(kSoftwareIdPrefix);
  id += versionText;
  return id;
}

std::string JVLinkVersionWarning(std::string_view version) {
  if (version >= "0490") return {};
  // The version's 2nd to 4th characters joined by dots: "0480" -> "4.8.0".
  std::string shown;
  for (std::size_t i = 1; i < version.size() && i < 4; ++i) {
    if (!shown.empty()) shown += '.';
    shown += version[i];
  }
  return SJ("ご利用中のJV-Linkのバージョンは[") + shown + SJ("]です。\r\n") +
         SJ("本ソフトのご利用にはバージョン[4.9.0]以上が必要です。\r\n") +
         SJ("JRA-VANのホームページより最新のJV-Linkを入手し、インストールしてください。");
}

fs::path DefaultFeedFolder(const fs::path& dataRoot) { return dataRoot / kDefaultFeedFolderName; }

JVLinkSettings ChooseJVLink(const fs::path& dataRoot, const TIniGT* settings, const fs::path& explicitFeed) {
  JVLinkSettings chosen;
  if (!explicitFeed.empty()) {
    chosen.kind = JVLinkKind::StandIn;
    chosen.feedFolder = explicitFeed;
    return chosen;
  }
  if (settings) {
    std::string named = settings->ReadString(kFeedSettingSection, kFeedSettingKey, "");
    if (!named.empty()) {
      fs::path feed = SjisPath(named);
      chosen.kind = JVLinkKind::StandIn;
      chosen.feedFolder = feed.is_absolute() ? feed : dataRoot / feed;
      return chosen;
    }
  }
  chosen.feedFolder = DefaultFeedFolder(dataRoot);
  return chosen;
}

std::unique_ptr<JVLink> CreateJVLink(const JVLinkSettings& settings) {
  JVLinkKind kind = settings.kind;
#ifdef _WIN32
  if (kind == JVLinkKind::Default) kind = JVLinkKind::Control;
  if (kind == JVLinkKind::Control) return CreateJVLinkControl();
#else
  if (kind == JVLinkKind::Control) throw JVLinkUnavailable("the JV-Link control exists on Windows only");
#endif
  return std::make_unique<JVLinkStandIn>(settings.feedFolder);
}

#ifndef _WIN32
bool JVLinkControlInstalled() { return false; }
#endif

}  // namespace furlong
