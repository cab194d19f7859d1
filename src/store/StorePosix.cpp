// The store's file calls on POSIX systems.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "store/Store.h"
#include "store/StorePlatform.h"

namespace furlong {

namespace fs = std::filesystem;

namespace store_platform {

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
  if (S_ISDIR(st.st_mode)) return -2;
  return static_cast<long long>(st.st_size);
}

void CloseFd(int fd) { ::close(fd); }

int OpenFailureReason(const fs::path&, int err) { return err; }

int CreateForWriting(const fs::path& p) { return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }

long long WriteSome(int fd, const char* data, std::size_t n) { return ::write(fd, data, n); }

int SyncFd(int fd) {
  while (::fsync(fd) != 0)
    if (errno != EINTR) return errno ? errno : EIO;
  return 0;
}

int CloseWritten(int fd) { return ::close(fd) != 0 && errno != EINTR ? (errno ? errno : EIO) : 0; }

std::string RenameOverFile(const fs::path& tmp, const fs::path& path) {
  if (::rename(tmp.c_str(), path.c_str()) == 0) return {};
  return std::generic_category().message(errno);
}

int SyncFolderEntries(const fs::path& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  int err = 0;
  while (::fsync(fd) != 0) {
    if (errno == EINTR) continue;
    // Some file systems cannot sync a folder; they have nothing to force.
    if (errno != EINVAL && errno != ENOTSUP) err = errno;
    break;
  }
  ::close(fd);
  return err;
}

long long CurrentProcessId() { return static_cast<long long>(::getpid()); }

bool ProcessRunning(long long pid) {
  if (pid <= 0) return true;  // cannot tell: keep the file
  if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
#ifdef __linux__
  // A killed process that nobody has reaped yet still answers, as a zombie.
  std::FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
  if (f) {
    char line[512];
    std::size_t n = std::fread(line, 1, sizeof line - 1, f);
    std::fclose(f);
    line[n] = '\0';
    const char* close = std::strrchr(line, ')');
    if (close && close[1] == ' ' && close[2] == 'Z') return false;
  }
#endif
  return true;
}

}  // namespace store_platform

// ---- SmallFileReader: the folders stay open, each file is opened relative
// to its folder.

SmallFileReader::~SmallFileReader() {
  for (auto& [path, fd] : folders_)
    if (fd >= 0) ::close(fd);
}

int SmallFileReader::FolderHandle(const fs::path& folder) {
  for (auto& [path, fd] : folders_)
    if (path == folder.native()) return fd;
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A missing folder is not remembered: it may be created while we read.
  if (fd >= 0) folders_.emplace_back(folder.native(), fd);
  return fd;
}

bool SmallFileReader::Read(const fs::path& path, std::string& buffer, std::size_t& length) {
  length = 0;
  int dir = FolderHandle(path.parent_path());
  if (dir < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return false;
    throw StoreError(path.parent_path(), std::generic_category().message(errno));
  }
  int fd = ::openat(dir, path.filename().c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    int err = errno;
    if (err == ENOENT || err == ENOTDIR) return false;
    throw StoreError(path, std::generic_category().message(err));
  }
  if (buffer.size() < 65536) buffer.resize(65536);
  std::size_t done = 0;
  for (;;) {
    ssize_t got = ::read(fd, buffer.data() + done, buffer.size() - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      throw StoreError(path, std::generic_category().message(err));
    }
    done += static_cast<std::size_t>(got);
    // A regular file returns less than asked for only at its end.
    if (got == 0 || done < buffer.size()) break;
    if (buffer.size() >= kMaxStoreFileBytes) {
      ::close(fd);
      throw StoreError(path, FileTooLargeReason());
    }
    buffer.resize(buffer.size() * 2);
  }
  ::close(fd);
  length = done;
  return true;
}

}  // namespace furlong
