#pragma once
// The store's file calls, one implementation per platform (StorePosix.cpp,
// StoreWin32.cpp). Only Store.cpp uses them. Failures come back as an errno
// value (or -1 with errno set), never as an exception, except where a
// function says otherwise.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace furlong::store_platform {

// A file opened for reading, or -1 with errno set.
int OpenForReading(const std::filesystem::path& p);
// Up to n bytes from `offset`; fewer only at the end of the file; -1 on failure.
long long ReadAt(int fd, char* out, std::size_t n, std::size_t offset);
// The size, -2 for a folder, -1 on failure.
long long FileSize(int fd);
void CloseFd(int fd);
// The errno to report for a failed open of `path` (Windows says "permission
// denied" for a folder; the reason is that it is a folder).
int OpenFailureReason(const std::filesystem::path& path, int err);

// A new file opened for writing (failing when it exists), or -1 with errno set.
int CreateForWriting(const std::filesystem::path& p);
// Writes up to n bytes; the count written, or -1 with errno set.
long long WriteSome(int fd, const char* data, std::size_t n);
// Forces the file's data to the disk; 0 or an errno.
int SyncFd(int fd);
// Closes a written file; 0 or an errno.
int CloseWritten(int fd);
// Renames `tmp` over `path` (written through to the disk where the platform
// can); "" or the system's reason.
std::string RenameOverFile(const std::filesystem::path& tmp, const std::filesystem::path& path);
// Forces a folder's entries (the renames) to the disk; 0 or an errno.
int SyncFolderEntries(const std::filesystem::path& folder);

long long CurrentProcessId();
// False only when the process is known to be gone.
bool ProcessRunning(long long pid);

}  // namespace furlong::store_platform
