#include "jvlink/JVLinkStandIn.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <sstream>
#include <system_error>

#include "jvlink/ImportTime.h"
#include "store/Encoding.h"
#include "store/Store.h"

namespace furlong {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kOperationNames[] = {"JVInit", "JVSetUIProperties", "JVOpen",  "JVStatus",
                                                "JVRead", "JVCancel",          "JVClose", "JVRTOpen"};

constexpr std::string_view kDownloadFolder = "download";
constexpr std::string_view kRealTimeFolder = "realtime";
constexpr std::string_view kFaultFile = "faults.txt";

bool IsAlnum(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
  return true;
}

// The name up to its first dot.
std::string_view Stem(std::string_view name) { return name.substr(0, name.find('.')); }

// The regular files of a folder; nothing when it does not exist.
std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> out;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return out;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec)) out.push_back(it->path());
  return out;
}

bool ReadFileBytes(const fs::path& path, std::string& out) {
  try {
    out = ReadWholeFile(path);
    return true;
  } catch (const StoreError&) {
    return false;
  }
}

}  // namespace

std::string_view JVOperationName(JVOperation op) { return kOperationNames[static_cast<std::size_t>(op)]; }

bool ParseJVOperation(std::string_view name, JVOperation& op) {
  for (std::size_t i = 0; i < std::size(kOperationNames); ++i) {
    if (kOperationNames[i] == name) {
      op = static_cast<JVOperation>(i);
      return true;
    }
  }
  return false;
}

JVLinkStandIn::JVLinkStandIn(fs::path feedFolder) : feed_(std::move(feedFolder)) { LoadFaultFile(); }

void JVLinkStandIn::LoadFaultFile() {
  std::string text;
  std::error_code ec;
  if (!fs::is_regular_file(feed_ / kFaultFile, ec) || !ReadFileBytes(feed_ / kFaultFile, text)) return;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string name;
    int code = 0, skip = 0, times = 1;
    if (!(words >> name >> code)) continue;
    JVOperation op;
    if (!ParseJVOperation(name, op)) continue;
    if (words >> skip) words >> times;
    InjectResult(op, code, skip, times);
  }
}

void JVLinkStandIn::InjectResult(JVOperation op, int code, int skip, int times) {
  if (times == 0) return;
  injections_.push_back({op, code, skip < 0 ? 0 : skip, times});
}

void JVLinkStandIn::ClearInjectedResults() { injections_.clear(); }

bool JVLinkStandIn::Injected(JVOperation op, int& code) {
  ++calls_[static_cast<std::size_t>(op)];
  for (auto it = injections_.begin(); it != injections_.end(); ++it) {
    if (it->op != op) continue;
    if (it->skip > 0) {
      --it->skip;
      return false;
    }
    code = it->code;
    if (it->times > 0 && --it->times == 0) injections_.erase(it);
    return true;
  }
  return false;
}

void JVLinkStandIn::SetDownloadPerCall(int files) {
  perCall_ = files < 1 ? 1 : files;
  filesPerSecond_ = 0;
}

void JVLinkStandIn::SetDownloadRate(double filesPerSecond) { filesPerSecond_ = filesPerSecond > 0 ? filesPerSecond : 0; }

int JVLinkStandIn::JVInit(std::string_view softwareId) {
  int code;
  if (Injected(JVOperation::Init, code)) return code;
  if (softwareId.empty()) return -101;
  if (softwareId.size() >= 64) return -102;
  if (softwareId.front() == ' ') return -103;
  initialised_ = true;
  return 0;
}

int JVLinkStandIn::JVSetUIProperties() {
  int code;
  if (Injected(JVOperation::SetUIProperties, code)) return code;
  return 0;
}

int JVLinkStandIn::JVOpen(std::string_view dataSpec, std::string_view fromTime, int option, int& readCount,
                          int& downloadCount, std::string& lastFileTimestamp) {
  readCount = 0;
  downloadCount = 0;
  lastFileTimestamp.clear();
  int code;
  if (Injected(JVOperation::Open, code)) return code;
  if (!initialised_) return -201;
  if (mode_ != Mode::Closed) return -202;
  if (dataSpec.empty() || dataSpec.size() % 4 != 0 || !IsAlnum(dataSpec)) return -111;
  if (!ParseTimestamp(fromTime)) return -112;
  if (option < 1 || option > 4) return -115;

  std::vector<FeedFile> selected;
  auto consider = [&](const fs::path& path, bool needsDownload) {
    std::string name = PathNameToSjis(path.filename());
    std::string_view stem = Stem(name);
    if (stem.size() < 14) return;
    std::string_view ts = stem.substr(stem.size() - 14);
    if (!ParseTimestamp(ts) || ts <= fromTime) return;
    std::string_view prefix = stem.substr(0, stem.size() - 14);
    if (prefix.size() >= 4) {
      bool wanted = false;
      for (std::size_t i = 0; i + 4 <= dataSpec.size(); i += 4)
        if (dataSpec.substr(i, 4) == prefix.substr(0, 4)) wanted = true;
      if (!wanted) return;
    }
    selected.push_back({path, name, std::string(ts), needsDownload});
  };
  for (auto& p : FilesIn(feed_)) consider(p, false);
  for (auto& p : FilesIn(feed_ / kDownloadFolder)) consider(p, true);
  if (selected.empty()) return kJVOpenNoData;
  std::sort(selected.begin(), selected.end(), [](const FeedFile& a, const FeedFile& b) {
    return a.timestamp != b.timestamp ? a.timestamp < b.timestamp : a.name < b.name;
  });

  int rank = 0;
  for (auto& f : selected)
    if (f.needsDownload) f.downloadRank = rank++;
  files_ = std::move(selected);
  downloadTotal_ = rank;
  downloaded_ = 0;
  cancelled_ = false;
  openedAt_ = std::chrono::steady_clock::now();
  current_ = 0;
  loaded_ = false;
  content_.clear();
  offset_ = 0;
  ended_ = false;
  mode_ = Mode::Download;

  readCount = static_cast<int>(files_.size());
  downloadCount = downloadTotal_;
  lastFileTimestamp = files_.back().timestamp;
  return 0;
}

void JVLinkStandIn::AdvanceDownload(int files) {
  if (cancelled_) return;
  downloaded_ = std::min(downloadTotal_, downloaded_ + files);
}

int JVLinkStandIn::DownloadedNow() {
  if (filesPerSecond_ > 0 && !cancelled_) {
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - openedAt_).count();
    int byNow = static_cast<int>(std::min<double>(downloadTotal_, std::floor(seconds * filesPerSecond_)));
    downloaded_ = std::max(downloaded_, byNow);
  }
  return downloaded_;
}

bool JVLinkStandIn::Available(std::size_t i) {
  const FeedFile& f = files_[i];
  return !f.needsDownload || f.downloadRank < DownloadedNow();
}

int JVLinkStandIn::JVStatus() {
  int code;
  if (Injected(JVOperation::Status, code)) return code;
  if (!initialised_) return -201;
  if (mode_ != Mode::Download) return -203;
  if (filesPerSecond_ <= 0) AdvanceDownload(perCall_);
  return DownloadedNow();
}

int JVLinkStandIn::JVRead(std::string& record, std::string& fileName, int bufferSize) {
  record.clear();
  int code;
  if (Injected(JVOperation::Read, code)) return code;
  if (!initialised_) return -201;
  if (mode_ == Mode::Closed) return -203;
  if (ended_) return kJVReadEnd;
  if (current_ >= files_.size()) {
    ended_ = true;
    return kJVReadEnd;
  }
  const FeedFile& file = files_[current_];
  fileName = file.name;
  if (!loaded_) {
    if (!Available(current_)) {
      if (cancelled_) return -502;
      if (filesPerSecond_ <= 0) AdvanceDownload(perCall_);
      return kJVReadDownloading;
    }
    if (!ReadFileBytes(file.path, content_)) return -503;
    loaded_ = true;
    offset_ = 0;
  }
  if (offset_ >= content_.size()) {
    ++current_;
    loaded_ = false;
    std::string().swap(content_);  // the next file is read into a fresh buffer
    return kJVReadFileSwitch;
  }
  std::size_t end = content_.find("\r\n", offset_);
  end = end == std::string::npos ? content_.size() : end + 2;
  std::size_t length = end - offset_;
  if (bufferSize > 0 && length > static_cast<std::size_t>(bufferSize)) length = static_cast<std::size_t>(bufferSize);
  record.assign(content_, offset_, length);
  offset_ = end;
  return static_cast<int>(record.size());
}

int JVLinkStandIn::JVCancel() {
  int code;
  if (Injected(JVOperation::Cancel, code)) return code;
  if (mode_ == Mode::Download) {
    DownloadedNow();
    cancelled_ = true;
  }
  return 0;
}

int JVLinkStandIn::JVClose() {
  int code;
  if (Injected(JVOperation::Close, code)) return code;
  mode_ = Mode::Closed;
  files_.clear();
  content_.clear();
  loaded_ = false;
  ended_ = false;
  return 0;
}

int JVLinkStandIn::JVRTOpen(std::string_view dataSpec, std::string_view key) {
  int code;
  if (Injected(JVOperation::RTOpen, code)) return code;
  if (!initialised_) return -201;
  if (mode_ != Mode::Closed) return -202;
  if (dataSpec.size() != 4 || !IsAlnum(dataSpec)) return -111;
  if (!IsAlnum(key)) return -114;
  if (dataSpec == kResultsDataSpec && !ParseDate8(key)) return -114;

  std::vector<FeedFile> selected;
  for (auto& p : FilesIn(feed_ / kRealTimeFolder / std::string(dataSpec))) {
    std::string name = PathNameToSjis(p.filename());
    std::string_view stem = Stem(name);
    if (stem == key || (stem.size() > key.size() && stem.substr(0, key.size()) == key && stem[key.size()] == '_'))
      selected.push_back({p, name, {}, false});
  }
  if (selected.empty()) return kJVOpenNoData;
  std::sort(selected.begin(), selected.end(), [](const FeedFile& a, const FeedFile& b) { return a.name < b.name; });
  files_ = std::move(selected);
  downloadTotal_ = downloaded_ = 0;
  cancelled_ = false;
  current_ = 0;
  loaded_ = false;
  content_.clear();
  offset_ = 0;
  ended_ = false;
  mode_ = Mode::RealTime;
  return 0;
}

}  // namespace furlong
