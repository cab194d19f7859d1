#include "store/CodeTables.h"
#include "store/Store.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <random>
#include <system_error>

#include "store/Encoding.h"
#include "store/FilingRules.h"
#include "store/Record.h"
#include "store/RecordLayout.h"
#include "store/StorePlatform.h"
#include "store/TextLines.h"

namespace furlong {

namespace fs = std::filesystem;
using namespace store_platform;

namespace {

std::string SystemMessage(int err) { return std::generic_category().message(err); }

// A meeting base name may only name a file inside "Data".
void CheckMeetingName(std::string_view name) {
  bool bad = name.empty() || name == "." || name == "..";
  for (char c : name)
    if (c == '/' || c == '\\' || c == '\0' || c == ':') bad = true;
  if (bad) throw RefusedRecord("meeting name cannot form a file name: " + SjisToUtf8(name));
}

void CheckHorseId(std::string_view horseId) {
  if (horseId.size() < 4 || !IsPathSafe(horseId))
    throw RefusedRecord("horse id is not made of ASCII letters and digits: '" + SjisToUtf8(horseId) + "'");
}

}  // namespace

namespace {

std::vector<std::string> LoadLines(const fs::path& path) {
  std::string content;
  if (!ReadFileIfExists(path, content)) return {};
  return SplitLines(content);
}

}  // namespace

StoreError::StoreError(const fs::path& path, const std::string& what)
    : std::runtime_error(PathUtf8(path) + ": " + what), path_(path) {}

std::string MeetingBaseName(std::string_view rec) {
  std::string name;
  name.reserve(18);
  name += head::Year(rec);
  name += SJ("年");
  name += head::Month(rec);
  name += SJ("月");
  name += head::Day(rec);
  name += SJ("日");
  name += CourseName(head::Course(rec));
  return name;
}

std::string ZeroRecordStamp(std::string_view line) { return OverwriteAt(line, "000000000", 3); }

Store::Store(fs::path root, bool createFolders) : root_(std::move(root)) {
  if (createFolders) {
    std::error_code ec;
    if (!fs::is_directory(root_, ec)) {
      fs::create_directories(root_, ec);
      if (ec) throw StoreError(root_, ec.message());
    }
    for (auto name : {store_names::kData, store_names::kSei, store_names::kSeir, store_names::kUm2,
                      store_names::kYlzh})
      Folder(name, true);
  }
}

fs::path Store::Folder(std::string_view name, bool create) const {
  std::lock_guard lock(foldersMutex_);
  for (auto& [known, path] : folders_)
    if (known == name) return path;
  // A folder of the same name in another letter case (a store copied from
  // Windows) serves instead of a second one.
  if (auto found = EntriesNamedIgnoringCase(root_, name, EntryKind::Folder, 1); !found.empty()) {
    folders_.emplace_back(std::string(name), found.front());
    return found.front();
  }
  const fs::path exact = root_ / fs::path(std::string(name));
  if (create) {
    std::error_code ec;
    fs::create_directory(exact, ec);
    if (ec) throw StoreError(exact, ec.message());
    folders_.emplace_back(std::string(name), exact);
  }
  return exact;
}

fs::path Store::YearFolder(std::string_view folder, std::string_view year, bool create) const {
  if (!IsPathSafe(year)) throw RefusedRecord("year folder name is not made of ASCII letters and digits");
  fs::path base = Folder(folder, false);
  fs::path p = base / std::string(year);
  if (create) {
    std::error_code ec;
    if (!fs::is_directory(p, ec)) {
      fs::create_directory(p, ec);
      if (ec) throw StoreError(p, ec.message());
    }
  }
  return p;
}

fs::path Store::MeetingDataFile(std::string_view m, std::string_view extension) const {
  CheckMeetingName(m);
  return Folder(store_names::kData) / SjisPath(std::string(m).append(extension));
}
fs::path Store::RaceFile(std::string_view m) const { return MeetingDataFile(m, ".jvRA"); }
fs::path Store::RunnerFile(std::string_view m) const { return MeetingDataFile(m, ".jvSEr"); }
fs::path Store::PayoutFile(std::string_view m) const { return MeetingDataFile(m, ".jvHR"); }
fs::path Store::OddsFile(std::string_view m) const { return MeetingDataFile(m, ".yoz"); }
fs::path Store::DayOddsFile(std::string_view m) const {
  CheckMeetingName(m);
  return Folder(store_names::kData) / SjisPath(std::string(m.substr(0, 14)) + ".yoz");
}

fs::path Store::ResultsRaceFile(std::string_view rec) const {
  std::string_view year = head::Year(rec), date = head::Date(rec), course = head::Course(rec);
  if (year.size() != 4 || date.size() != 8 || course.size() != 2 || !IsPathSafe(date) || !IsPathSafe(course))
    throw RefusedRecord("race date or racecourse code is not made of ASCII letters and digits");
  return Folder(store_names::kSeir) / std::string(year) / (std::string(date) + std::string(course) + ".jvSERA");
}

fs::path Store::HorseHistoryFile(std::string_view id) const {
  CheckHorseId(id);
  return Folder(store_names::kSei) / std::string(id.substr(0, 4)) / (std::string(id) + ".jvSEI");
}
fs::path Store::HorseMasterFile(std::string_view id) const {
  CheckHorseId(id);
  return Folder(store_names::kUm2) / std::string(id.substr(0, 4)) / (std::string(id) + ".jvUM2");
}
fs::path Store::LegacyHorseMasterFile(std::string_view id) const {
  CheckHorseId(id);
  return Folder(store_names::kUma) / std::string(id.substr(0, 4)) / (std::string(id) + ".jvUMA");
}

void Store::MergeByRaceKey(const fs::path& path, std::string_view record, bool dropBlankFirstLine) const {
  const std::string_view line = RecordLine(record);
  std::vector<std::string> lines = LoadLines(path);
  MergeLineByRaceKey(lines, line, dropBlankFirstLine);
  WriteFileAtomically(path, JoinLinesCrLf(lines));
}

void Store::PutRunnerSlot(const fs::path& path, std::string_view record, int race, int horse) const {
  const std::size_t slot = RunnerSlot(race, horse);
  const std::string_view line = RecordLine(record);
  std::vector<std::string> lines = LoadLines(path);
  PutRunnerLine(lines, line, slot);
  WriteFileAtomically(path, JoinLinesCrLf(lines));
}

void Store::ReplaceWholeFile(const fs::path& path, std::string_view record) const {
  const std::string_view line = RecordLine(record);
  CreateParentFolder(path);
  std::string content(line);
  content += "\r\n";
  WriteFileAtomically(path, content);
}

std::vector<fs::path> EntriesNamedIgnoringCase(const fs::path& folder, std::string_view sjisName, EntryKind kind,
                                               std::size_t most) {
  std::vector<fs::path> found;
  if (most == 0) return found;
  std::error_code ec;
  const fs::path exact = folder / SjisPath(sjisName);
  const bool exactFound = kind == EntryKind::Folder        ? fs::is_directory(exact, ec)
                          : kind == EntryKind::RegularFile ? fs::is_regular_file(exact, ec)
                                                           : fs::exists(exact, ec);
  if (exactFound) {
    found.push_back(exact);
    if (found.size() == most) return found;
  }
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& p = it->path();
    if (p == exact || !EqualsIgnoringAsciiCase(PathNameToSjis(p.filename()), sjisName)) continue;
    std::error_code kindEc;
    if (kind == EntryKind::Folder && !it->is_directory(kindEc)) continue;
    if (kind == EntryKind::RegularFile && !it->is_regular_file(kindEc)) continue;
    found.push_back(p);
    if (found.size() == most) break;
  }
  return found;
}

std::vector<std::string> Store::MeetingNames() const {
  std::vector<std::string> names;
  fs::path data = Folder(store_names::kData);
  std::error_code ec;
  if (!fs::is_directory(data, ec)) return names;
  fs::directory_iterator it(data, ec), end;
  if (ec) throw StoreError(data, ec.message());
  for (; it != end; it.increment(ec)) {
    if (ec) throw StoreError(data, ec.message());
    std::string name = PathNameToSjis(it->path().filename());
    if (!EndsWithIgnoringAsciiCase(name, ".jvRA")) continue;
    if (name.size() < 18 + 5) continue;
    // A folder of that name is no race file (and no meeting).
    std::error_code typeEc;
    if (it->is_directory(typeEc)) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  for (auto& n : names) n.resize(18);
  return names;
}

namespace {

std::atomic<SyncObserver> syncObserver{nullptr};

void Observe(SyncKind kind, const fs::path& path) {
  if (SyncObserver o = syncObserver.load()) o(kind, path);
}

// Writes all bytes to a new file and forces them to the disk; returns 0 or
// the errno of the failure.
int WriteAndSync(const fs::path& tmp, std::string_view bytes) {
  const int fd = CreateForWriting(tmp);
  if (fd < 0) return errno ? errno : EIO;
  int err = 0;
  std::size_t done = 0;
  while (done < bytes.size() && err == 0) {
    const long long n = WriteSome(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno ? errno : EIO;
    } else if (n == 0) {
      err = ENOSPC;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  // The data reaches the disk before the rename can name the file.
  if (err == 0) err = SyncFd(fd);
  const int closed = CloseWritten(fd);
  return err ? err : closed;
}

fs::path ParentOrDot(const fs::path& path) {
  fs::path parent = path.parent_path();
  return parent.empty() ? fs::path(".") : parent;
}

}  // namespace

void SetSyncObserver(SyncObserver observer) { syncObserver.store(observer); }

void SyncFolder(const fs::path& folder) {
  if (int err = SyncFolderEntries(folder)) throw StoreError(folder, SystemMessage(err));
  Observe(SyncKind::Folder, folder);
}

fs::path TemporaryPathBeside(const fs::path& path) {
  static std::atomic<unsigned long> counter{0};
  thread_local std::mt19937_64 rng{std::random_device{}()};
  fs::path tmp = path;
  tmp += ".tmp" + std::to_string(CurrentProcessId()) + "-" + std::to_string(counter.fetch_add(1)) + "-" +
         std::to_string(rng() % 1000000);
  return tmp;
}

void WriteFileAtomically(const fs::path& path, std::string_view bytes, bool syncFolder) {
  const fs::path tmp = TemporaryPathBeside(path);
  if (int err = WriteAndSync(tmp, bytes)) {
    std::error_code ignore;
    fs::remove(tmp, ignore);
    throw StoreError(path, SystemMessage(err));
  }
  // The data first, so that the rename never names an empty file after a
  // power loss.
  Observe(SyncKind::File, tmp);
  if (std::string reason = RenameOverFile(tmp, path); !reason.empty()) {
    std::error_code ignore;
    fs::remove(tmp, ignore);
    throw StoreError(path, reason);
  }
  if (syncFolder) {
    SyncFolder(ParentOrDot(path));
  }
}

std::string FileTooLargeReason(std::size_t maxBytes) {
  return "file too large (more than " + std::to_string(maxBytes) + " bytes)";
}

bool ReadFileIfExists(const fs::path& path, std::string& out, std::size_t maxBytes) {
  out.clear();
  const int fd = OpenForReading(path);
  if (fd < 0) {
    int err = errno;
    if (err == ENOENT || err == ENOTDIR) return false;
    throw StoreError(path, SystemMessage(OpenFailureReason(path, err)));
  }
  auto fail = [&](const std::string& reason) {
    CloseFd(fd);
    throw StoreError(path, reason);
  };
  const long long size = FileSize(fd);
  if (size == -2) fail(SystemMessage(EISDIR));
  if (size < 0) fail(SystemMessage(errno ? errno : EIO));
  if (static_cast<unsigned long long>(size) > maxBytes) fail(FileTooLargeReason(maxBytes));
  // Room for the whole file at once: a large file grown by doubling would
  // briefly take about twice its size.
  out.reserve(static_cast<std::size_t>(size));
  char buf[65536];
  for (;;) {
    const long long got = ReadAt(fd, buf, sizeof buf, out.size());
    if (got < 0) fail(SystemMessage(errno ? errno : EIO));
    if (got == 0) break;
    // A file that grows while it is read is held to the same limit.
    if (out.size() + static_cast<std::size_t>(got) > maxBytes) fail(FileTooLargeReason(maxBytes));
    out.append(buf, static_cast<std::size_t>(got));
  }
  CloseFd(fd);
  return true;
}

std::string ReadWholeFile(const fs::path& path, std::size_t maxBytes) {
  std::string content;
  if (!ReadFileIfExists(path, content, maxBytes)) throw StoreError(path, SystemMessage(ENOENT));
  return content;
}

bool IsStoreTempName(std::string_view name) {
  std::size_t at = name.rfind(".tmp");
  if (at == std::string_view::npos || at == 0) return false;
  std::string_view rest = name.substr(at + 4);
  int groups = 0;
  std::size_t digits = 0;
  for (char c : rest) {
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '-' && digits > 0 && groups < 2) {
      ++groups;
      digits = 0;
    } else {
      return false;
    }
  }
  return groups == 2 && digits > 0;
}

namespace {

// The process id in one of our temporary names (IsStoreTempName holds).
long long TempNamePid(std::string_view name) {
  std::string_view rest = name.substr(name.rfind(".tmp") + 4);
  const auto pid = DigitsValue(rest.substr(0, rest.find('-')));
  return pid && *pid <= 0x7FFFFFFF ? *pid : -1;
}

int RemoveStaleIn(const fs::path& folder) {
  int removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = PathUtf8(it->path().filename());
    if (!IsStoreTempName(name)) continue;
    std::error_code typeEc;
    if (!it->is_regular_file(typeEc) || it->is_symlink(typeEc)) continue;
    if (ProcessRunning(TempNamePid(name))) continue;
    std::error_code removeEc;
    if (fs::remove(it->path(), removeEc)) ++removed;
  }
  return removed;
}

}  // namespace

int RemoveStaleTempFiles(const Store& store) {
  int removed = RemoveStaleIn(store.root());
  for (auto name : {store_names::kData, store_names::kHpUpload}) {
    std::error_code ec;
    fs::path folder = store.Folder(name);
    if (fs::is_directory(folder, ec)) removed += RemoveStaleIn(folder);
  }
  for (auto name : {store_names::kSei, store_names::kSeir, store_names::kUm2}) {
    std::error_code ec;
    fs::path folder = store.Folder(name);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      std::error_code typeEc;
      if (it->is_directory(typeEc) && !it->is_symlink(typeEc)) removed += RemoveStaleIn(it->path());
    }
  }
  return removed;
}

bool RecordFile::Open(const fs::path& path, std::size_t recordLength) {
  Close();
  fd_ = OpenForReading(path);
  if (fd_ < 0) {
    int err = errno;
    if (err == ENOENT || err == ENOTDIR) return false;
    throw StoreError(path, SystemMessage(OpenFailureReason(path, err)));
  }
  path_ = path;
  recordLength_ = recordLength;
  long long size = FileSize(fd_);
  if (size < 0) {
    int err = size == -2 ? EISDIR : errno;
    Close();
    throw StoreError(path, SystemMessage(err));
  }
  count_ = recordLength ? static_cast<std::size_t>(size) / recordLength : 0;
  return true;
}

RecordFile::~RecordFile() { Close(); }

bool RecordFile::Read(std::size_t n, char* out) {
  if (fd_ < 0 || n >= count_) return false;
  if (ReadAt(fd_, out, recordLength_, n * recordLength_) != static_cast<long long>(recordLength_))
    throw StoreError(path_, SystemMessage(EIO));
  return true;
}

void RecordFile::ReadAll(std::string& out) {
  if (count_ * recordLength_ > kMaxStoreFileBytes)
    throw StoreError(path_, FileTooLargeReason());
  out.resize(count_ * recordLength_);
  if (fd_ < 0 || out.empty()) return;
  if (ReadAt(fd_, out.data(), out.size(), 0) != static_cast<long long>(out.size()))
    throw StoreError(path_, SystemMessage(EIO));
}

void RecordFile::Close() {
  if (fd_ >= 0) CloseFd(fd_);
  fd_ = -1;
  count_ = 0;
}

FirstRecord ReadFirstRecord(const fs::path& path, std::size_t length, char* out) {
  int fd = OpenForReading(path);
  if (fd < 0) {
    int err = errno;
    if (err == ENOENT || err == ENOTDIR) return FirstRecord::Missing;
    throw StoreError(path, SystemMessage(err));
  }
  long long got = ReadAt(fd, out, length, 0);
  int err = errno;
  CloseFd(fd);
  if (got < 0) throw StoreError(path, SystemMessage(err));
  return got == static_cast<long long>(length) ? FirstRecord::Read : FirstRecord::Short;
}

}  // namespace furlong
