#include "store/Store.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#include "store/SortedTextList.h"
#include "store/Encoding.h"
#include "store/KeibaFunc.h"
#include "store/Record.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#define FURLONG_GETPID _getpid
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define FURLONG_GETPID getpid
#endif

namespace furlong {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kRunnerFileLines = 216;
constexpr std::size_t kSeLineLength = kSeLength - 2;

std::string SystemMessage(int err) { return std::generic_category().message(err); }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

bool EndsWithIgnoreCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && EqualsIgnoreCase(s.substr(s.size() - suffix.size()), suffix);
}

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

std::vector<std::string> SplitStoreLines(const std::string& content) {
  std::vector<std::string> lines;
  std::size_t start = 0, i = 0;
  const std::size_t n = content.size();
  while (i < n) {
    char c = content[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(content, start, i - start);
      if (c == '\r' && i + 1 < n && content[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < n) lines.emplace_back(content, start, n - start);
  return lines;
}

std::string JoinStoreLines(const std::vector<std::string>& lines) {
  std::size_t total = 0;
  for (auto& l : lines) total += l.size() + 2;
  std::string out;
  out.reserve(total);
  for (auto& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

namespace {

std::string_view LineOf(std::string_view record) {
  if (record.size() < 2) throw RefusedRecord("record too short to file");
  return record.substr(0, record.size() - 2);
}

std::vector<std::string> LoadLines(const fs::path& path, bool& existed) {
  std::error_code ec;
  existed = fs::exists(path, ec);
  if (!existed) return {};
  return SplitStoreLines(ReadWholeFile(path));
}

}  // namespace

StoreError::StoreError(const fs::path& path, const std::string& what)
    : std::runtime_error(PathUtf8(path) + ": " + what), path_(path) {}

std::string MeetingBaseName(std::string_view rec) {
  std::string name;
  name.reserve(18);
  name += Field(rec, 12, 15);
  name += SJ("年");
  name += Field(rec, 16, 17);
  name += SJ("月");
  name += Field(rec, 18, 19);
  name += SJ("日");
  name += CourseName(Field(rec, 20, 21));
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
  for (auto& [known, path] : folders_)
    if (known == name) return path;
  std::error_code ec;
  fs::path exact = root_ / fs::path(std::string(name));
  if (fs::is_directory(exact, ec)) {
    folders_.emplace_back(std::string(name), exact);
    return exact;
  }
  // A folder of the same name in another letter case (a store copied from
  // Windows) serves instead of a second one.
  for (fs::directory_iterator it(root_, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsIgnoreCase(PathUtf8(it->path().filename()), name) && it->is_directory(ec)) {
      folders_.emplace_back(std::string(name), it->path());
      return it->path();
    }
  }
  if (create) {
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

fs::path Store::RaceFile(std::string_view m) const {
  CheckMeetingName(m);
  return Folder(store_names::kData) / SjisPath(std::string(m) + ".jvRA");
}
fs::path Store::RunnerFile(std::string_view m) const {
  CheckMeetingName(m);
  return Folder(store_names::kData) / SjisPath(std::string(m) + ".jvSEr");
}
fs::path Store::PayoutFile(std::string_view m) const {
  CheckMeetingName(m);
  return Folder(store_names::kData) / SjisPath(std::string(m) + ".jvHR");
}
fs::path Store::OddsFile(std::string_view m) const {
  CheckMeetingName(m);
  return Folder(store_names::kData) / SjisPath(std::string(m) + ".yoz");
}
fs::path Store::DayOddsFile(std::string_view m) const {
  CheckMeetingName(m);
  return Folder(store_names::kData) / SjisPath(std::string(m.substr(0, 14)) + ".yoz");
}

fs::path Store::ResultsRaceFile(std::string_view rec) const {
  std::string_view year = Field(rec, 12, 15), date = Field(rec, 12, 19), course = Field(rec, 20, 21);
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
  std::string_view line = LineOf(record);
  bool existed = false;
  std::vector<std::string> lines = LoadLines(path, existed);
  std::string_view key = Field(line, 12, 27);
  bool replaced = false;
  for (auto& l : lines) {
    if (Field(l, 12, 27) == key) {
      l.assign(line);
      replaced = true;
      break;
    }
  }
  if (!replaced) lines.emplace_back(line);
  std::stable_sort(lines.begin(), lines.end(), CaseInsensitiveLess{});
  if (dropBlankFirstLine && !lines.empty() && IsBlank(lines.front())) lines.erase(lines.begin());
  WriteFileAtomically(path, JoinStoreLines(lines));
}

void Store::PutRunnerSlot(const fs::path& path, std::string_view record, int race, int horse) const {
  if (race < 1 || race > 12 || horse < 1 || horse > 18)
    throw RefusedRecord("race number " + std::to_string(race) + " / horse number " + std::to_string(horse) +
                        " has no slot in the runner file");
  std::string_view line = LineOf(record);
  bool existed = false;
  std::vector<std::string> lines = LoadLines(path, existed);
  // A runner file that lost lines is made whole again, so that every slot
  // keeps its position.
  while (lines.size() < kRunnerFileLines) lines.emplace_back(kSeLineLength, ' ');
  lines[static_cast<std::size_t>((race - 1) * 18 + (horse - 1))].assign(line);
  WriteFileAtomically(path, JoinStoreLines(lines));
}

void Store::ReplaceWholeFile(const fs::path& path, std::string_view record) const {
  std::error_code ec;
  fs::path parent = path.parent_path();
  if (!fs::is_directory(parent, ec)) {
    fs::create_directory(parent, ec);
    if (ec) throw StoreError(parent, ec.message());
  }
  std::string content(LineOf(record));
  content += "\r\n";
  WriteFileAtomically(path, content);
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
    if (!EndsWithIgnoreCase(name, ".jvRA")) continue;
    if (name.size() < 18 + 5) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  for (auto& n : names) n.resize(18);
  return names;
}

void WriteFileAtomically(const fs::path& path, std::string_view bytes) {
  // A name no other writer (thread or process) picks at the same time.
  static std::atomic<unsigned long> counter{0};
  thread_local std::mt19937_64 rng{std::random_device{}()};
  fs::path tmp = path;
  tmp += ".tmp" + std::to_string(FURLONG_GETPID()) + "-" + std::to_string(counter.fetch_add(1)) + "-" +
         std::to_string(rng() % 1000000);
#ifdef _WIN32
  std::FILE* f = _wfopen(tmp.c_str(), L"wb");
#else
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
#endif
  if (!f) throw StoreError(path, SystemMessage(errno));
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  int err = ok ? 0 : errno;
  if (std::fflush(f) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (std::fclose(f) != 0 && ok) {
    ok = false;
    err = errno;
  }
  std::error_code ec;
  if (!ok) {
    fs::remove(tmp, ec);
    throw StoreError(path, SystemMessage(err ? err : EIO));
  }
  fs::rename(tmp, path, ec);
  if (ec) {
    std::error_code ignore;
    fs::remove(tmp, ignore);
    throw StoreError(path, ec.message());
  }
}

std::string ReadWholeFile(const fs::path& path) {
#ifdef _WIN32
  std::FILE* f = _wfopen(path.c_str(), L"rb");
#else
  std::FILE* f = std::fopen(path.c_str(), "rb");
#endif
  if (!f) throw StoreError(path, SystemMessage(errno));
  std::string content;
  char buf[65536];
  std::size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) content.append(buf, got);
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw StoreError(path, SystemMessage(EIO));
  return content;
}

namespace {

#ifdef _WIN32
int OpenForReading(const fs::path& p) { return _wopen(p.c_str(), _O_RDONLY | _O_BINARY); }
long long ReadAt(int fd, char* out, std::size_t n, std::size_t offset) {
  if (_lseeki64(fd, static_cast<long long>(offset), SEEK_SET) < 0) return -1;
  std::size_t done = 0;
  while (done < n) {
    int got = _read(fd, out + done, static_cast<unsigned>(n - done));
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<long long>(done);
}
long long FileSize(int fd) { return _filelengthi64(fd); }
void CloseFd(int fd) { _close(fd); }
#else
int OpenForReading(const fs::path& p) { return ::open(p.c_str(), O_RDONLY | O_CLOEXEC); }
long long ReadAt(int fd, char* out, std::size_t n, std::size_t offset) {
  std::size_t done = 0;
  while (done < n) {
    ssize_t got = ::pread(fd, out + done, n - done, static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<long long>(done);
}
long long FileSize(int fd) {
  struct stat st;
  if (::fstat(fd, &st) != 0) return -1;
  return static_cast<long long>(st.st_size);
}
void CloseFd(int fd) { ::close(fd); }
#endif

}  // namespace

bool RecordFile::Open(const fs::path& path, std::size_t recordLength) {
  Close();
  fd_ = OpenForReading(path);
  if (fd_ < 0) {
    int err = errno;
    if (err == ENOENT || err == ENOTDIR) return false;
    throw StoreError(path, SystemMessage(err));
  }
  path_ = path;
  recordLength_ = recordLength;
  long long size = FileSize(fd_);
  if (size < 0) {
    int err = errno;
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

SmallFileReader::~SmallFileReader() {
#ifndef _WIN32
  for (auto& [path, fd] : folders_)
    if (fd >= 0) ::close(fd);
#endif
}

int SmallFileReader::FolderHandle(const fs::path& folder) {
  for (auto& [path, fd] : folders_)
    if (path == folder.native()) return fd;
#ifdef _WIN32
  int fd = -1;
#else
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#endif
  // A missing folder is not remembered: it may be created while we read.
  if (fd >= 0) folders_.emplace_back(folder.native(), fd);
  return fd;
}

bool SmallFileReader::Read(const fs::path& path, std::string& buffer, std::size_t& length) {
  length = 0;
#ifdef _WIN32
  std::error_code ec;
  if (!fs::exists(path, ec)) return false;
  buffer = ReadWholeFile(path);
  length = buffer.size();
  return true;
#else
  int dir = FolderHandle(path.parent_path());
  if (dir < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return false;
    throw StoreError(path.parent_path(), SystemMessage(errno));
  }
  int fd = ::openat(dir, path.filename().c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    int err = errno;
    if (err == ENOENT || err == ENOTDIR) return false;
    throw StoreError(path, SystemMessage(err));
  }
  if (buffer.size() < 65536) buffer.resize(65536);
  std::size_t done = 0;
  for (;;) {
    ssize_t got = ::read(fd, buffer.data() + done, buffer.size() - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      throw StoreError(path, SystemMessage(err));
    }
    done += static_cast<std::size_t>(got);
    // A regular file returns less than asked for only at its end.
    if (got == 0 || done < buffer.size()) break;
    buffer.resize(buffer.size() * 2);
  }
  ::close(fd);
  length = done;
  return true;
#endif
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
