// The store's file calls on Windows: the C runtime's wide-path calls, renames
// written through to the disk.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>

#include "store/Store.h"
#include "store/StorePlatform.h"

namespace furlong {

namespace fs = std::filesystem;

namespace store_platform {

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

long long FileSize(int fd) {
  struct _stat64 st;
  if (_fstat64(fd, &st) != 0) return -1;
  if ((st.st_mode & _S_IFMT) == _S_IFDIR) return -2;
  return static_cast<long long>(st.st_size);
}

void CloseFd(int fd) { _close(fd); }

int OpenFailureReason(const fs::path& path, int err) {
  std::error_code ec;
  if (err == EACCES && fs::is_directory(path, ec)) return EISDIR;
  return err;
}

int CreateForWriting(const fs::path& p) {
  return _wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}

long long WriteSome(int fd, const char* data, std::size_t n) {
  return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(n, 1u << 30)));
}

// _commit is FlushFileBuffers.
int SyncFd(int fd) { return _commit(fd) != 0 ? (errno ? errno : EIO) : 0; }

int CloseWritten(int fd) { return _close(fd) != 0 ? (errno ? errno : EIO) : 0; }

std::string RenameOverFile(const fs::path& tmp, const fs::path& path) {
  if (MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return {};
  return std::system_category().message(static_cast<int>(GetLastError()));
}

// Renames are made with MOVEFILE_WRITE_THROUGH: nothing is left to force.
int SyncFolderEntries(const fs::path&) { return 0; }

long long CurrentProcessId() { return static_cast<long long>(_getpid()); }

bool ProcessRunning(long long pid) {
  if (pid <= 0) return true;  // cannot tell: keep the file
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (!h) return GetLastError() != ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  BOOL ok = GetExitCodeProcess(h, &code);
  CloseHandle(h);
  return !ok || code == STILL_ACTIVE;
}

}  // namespace store_platform

// ---- SmallFileReader: no folder handles; each file is read whole.

SmallFileReader::~SmallFileReader() = default;

int SmallFileReader::FolderHandle(const fs::path&) { return -1; }

bool SmallFileReader::Read(const fs::path& path, std::string& buffer, std::size_t& length) {
  length = 0;
  if (!ReadFileIfExists(path, buffer)) return false;
  length = buffer.size();
  return true;
}

}  // namespace furlong
