#include "jvlink/FeedWriter.h"

#include <stdexcept>
#include <system_error>

#include "jvlink/ImportTime.h"
#include "store/Record.h"
#include "store/Store.h"

namespace furlong {

namespace fs = std::filesystem;

namespace {

void MakeFolder(const fs::path& folder) {
  std::error_code ec;
  if (fs::is_directory(folder, ec)) return;
  fs::create_directories(folder, ec);
  if (ec) throw StoreError(folder, ec.message());
}

fs::path WriteRecords(const fs::path& folder, const std::string& name, const std::vector<std::string>& records) {
  MakeFolder(folder);
  std::size_t total = 0;
  for (auto& r : records) total += r.size();
  std::string bytes;
  bytes.reserve(total);
  for (auto& r : records) bytes += r;
  fs::path path = folder / name;
  WriteFileAtomically(path, bytes);
  return path;
}

}  // namespace

fs::path WriteFeedFile(const fs::path& feed, std::string_view dataId, std::string_view timestamp,
                       const std::vector<std::string>& records, bool needsDownload) {
  if (dataId.size() != 4 || !IsPathSafe(dataId)) throw std::invalid_argument("data id must be four letters or digits");
  if (!ParseTimestamp(timestamp)) throw std::invalid_argument("timestamp must be yyyymmddhhnnss");
  std::string name = std::string(dataId) + std::string(timestamp) + ".jvd";
  return WriteRecords(needsDownload ? feed / "download" : feed, name, records);
}

fs::path WriteRealTimeFile(const fs::path& feed, std::string_view dataSpec, std::string_view key,
                           const std::vector<std::string>& records, std::string_view part) {
  if (!IsPathSafe(dataSpec) || !IsPathSafe(key) || (!part.empty() && !IsPathSafe(part)))
    throw std::invalid_argument("dataspec, key and part must be letters or digits");
  std::string name(key);
  if (!part.empty()) {
    name += '_';
    name += part;
  }
  name += ".jvd";
  return WriteRecords(feed / "realtime" / std::string(dataSpec), name, records);
}

}  // namespace furlong
