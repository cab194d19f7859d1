#pragma once
// A JV-Link that serves JV-Data from a feed folder instead of JRA-VAN's
// servers, on every platform (the format is described in docs/jvlink-feed.md):
//
//   <feed>/RACE20240105093000.jvd      a file already in JV-Link's cache
//   <feed>/download/RACE2024...jvd     a file that has to be downloaded first
//   <feed>/realtime/0B12/20240105.jvd  real-time data for JVRTOpen("0B12", key)
//   <feed>/faults.txt                  results to inject (optional)
//
// Every operation can be made to return any result code (InjectResult), so
// that every error path of the callers can be driven.
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "jvlink/JVLink.h"

namespace furlong {

enum class JVOperation { Init, SetUIProperties, Open, Status, Read, Cancel, Close, RTOpen };

// "JVInit", "JVOpen", ... and back; false for an unknown name.
std::string_view JVOperationName(JVOperation op);
bool ParseJVOperation(std::string_view name, JVOperation& op);

class JVLinkStandIn final : public JVLink {
 public:
  // Reads <feed>/faults.txt when it exists. The feed folder itself is read
  // when a download or real-time read is opened.
  explicit JVLinkStandIn(std::filesystem::path feedFolder);

  int JVInit(std::string_view softwareId) override;
  std::string Version() override { return version_; }
  int JVSetUIProperties() override;
  int JVOpen(std::string_view dataSpec, std::string_view fromTime, int option, int& readCount, int& downloadCount,
             std::string& lastFileTimestamp) override;
  int JVStatus() override;
  int JVRead(std::string& record, std::string& fileName, int bufferSize = kJVReadBufferSize) override;
  int JVCancel() override;
  int JVClose() override;
  int JVRTOpen(std::string_view dataSpec, std::string_view key) override;

  const std::filesystem::path& FeedFolder() const { return feed_; }
  void SetVersion(std::string version) { version_ = std::move(version); }

  // How the download advances. Per call (the default): every JVStatus call,
  // and every JVRead that has to wait for a file, completes `files` more
  // files. Timed: `filesPerSecond` files complete per second of wall time
  // after JVOpen.
  void SetDownloadPerCall(int files);
  void SetDownloadRate(double filesPerSecond);

  // From now on, after `skip` further calls of `op` that do their ordinary
  // work, the next `times` calls (every later call when times < 0) return
  // `code` and do nothing else. A JVRead that returns an injected code reads
  // no record, so -1, -2 and -3 can be slipped in between records. Rules for
  // one operation apply one after the other.
  void InjectResult(JVOperation op, int code, int skip = 0, int times = 1);
  void ClearInjectedResults();

  // For tests: the calls made so far, and whether a download or real-time
  // read is open.
  int CallCount(JVOperation op) const { return calls_[static_cast<std::size_t>(op)]; }
  bool IsOpen() const { return mode_ != Mode::Closed; }
  bool DownloadCancelled() const { return cancelled_; }

 private:
  struct FeedFile {
    std::filesystem::path path;
    std::string name;       // Shift-JIS form of the file name
    std::string timestamp;  // "yyyymmddhhnnss", empty for real-time files
    bool needsDownload = false;
    int downloadRank = -1;  // place in the download order
  };
  struct Injection {
    JVOperation op;
    int code;
    int skip;
    int times;
  };
  enum class Mode { Closed, Download, RealTime };

  bool Injected(JVOperation op, int& code);
  void LoadFaultFile();
  void AdvanceDownload(int files);
  int DownloadedNow();
  // True when file i may be read now (it is cached or already downloaded).
  bool Available(std::size_t i);

  std::filesystem::path feed_;
  std::string version_ = "0490";
  bool initialised_ = false;
  Mode mode_ = Mode::Closed;

  std::vector<FeedFile> files_;
  int downloadTotal_ = 0;
  int downloaded_ = 0;
  bool cancelled_ = false;
  int perCall_ = 1;
  double filesPerSecond_ = 0;  // > 0: timed download
  std::chrono::steady_clock::time_point openedAt_{};

  std::size_t current_ = 0;       // file being read
  bool loaded_ = false;           // content_ holds file current_
  std::string content_;
  std::size_t offset_ = 0;        // next record in content_
  bool ended_ = false;            // JVRead has returned 0

  std::vector<Injection> injections_;
  int calls_[8] = {};
};

}  // namespace furlong
