#pragma once
// The folder store below DataRoot: folders, file names, filing rules and
// fixed-size record reading. Every rewrite goes to a temporary file in the
// same folder that is renamed over the old one, so a reader sees the old file
// or the new one, never a torn one.
#include <cstddef>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/StoreErrors.h"

namespace furlong {

// Relative names below DataRoot, as Shift-JIS bytes with "/" between parts.
namespace store_names {
inline constexpr std::string_view kData = "Data";
inline constexpr std::string_view kSei = "SEI";
inline constexpr std::string_view kSeir = "SEIR";
inline constexpr std::string_view kUm2 = "UM2";
inline constexpr std::string_view kUma = "UMA";
inline constexpr std::string_view kYlzh = "yLZH";
inline constexpr std::string_view kHpUpload = "HPupload";
}  // namespace store_names

// The 18-byte name of a meeting's files from an RA, SE or HR record:
// year + "年" + mm + "月" + dd + "日" + CourseName (Shift-JIS).
std::string MeetingBaseName(std::string_view rec);

// Columns 3-11 of a record line replaced by "000000000".
std::string ZeroRecordStamp(std::string_view line);

class Store {
 public:
  // Opens the store at root (DataRoot), creating "Data", "SEI", "SEIR", "UM2"
  // and "yLZH" when missing. A folder that exists in another letter case is
  // used as it is. Throws StoreError.
  explicit Store(std::filesystem::path root, bool createFolders = true);

  const std::filesystem::path& root() const { return root_; }

  // Folder below the root by its store name, resolved case-insensitively
  // (an existing "DATA" serves as "Data"); created when `create` is set.
  std::filesystem::path Folder(std::string_view name, bool create = false) const;
  // Year folder below one of the store folders ("SEI", "SEIR", "UM2", "UMA").
  std::filesystem::path YearFolder(std::string_view folder, std::string_view year, bool create) const;

  // ---- file paths (throw RefusedRecord when a path-forming field is unsafe)
  std::filesystem::path RaceFile(std::string_view meetingBaseName) const;     // Data/<m>.jvRA
  std::filesystem::path RunnerFile(std::string_view meetingBaseName) const;   // Data/<m>.jvSEr
  std::filesystem::path PayoutFile(std::string_view meetingBaseName) const;   // Data/<m>.jvHR
  std::filesystem::path OddsFile(std::string_view meetingBaseName) const;     // Data/<m>.yoz
  std::filesystem::path DayOddsFile(std::string_view meetingBaseName) const;  // Data/<first 14 bytes>.yoz
  // SEIR/<yyyy>/<yyyymmdd><cc>.jvSERA from an RA or SE record's head.
  std::filesystem::path ResultsRaceFile(std::string_view rec) const;
  std::filesystem::path HorseHistoryFile(std::string_view horseId) const;       // SEI/<y>/<id>.jvSEI
  std::filesystem::path HorseMasterFile(std::string_view horseId) const;        // UM2/<y>/<id>.jvUM2
  std::filesystem::path LegacyHorseMasterFile(std::string_view horseId) const;  // UMA/<y>/<id>.jvUMA

  // ---- filing; every record is as received, closing CR LF included.
  // Files a record into a keyed file (race, payout, results race, horse
  // history). The caller applies ZeroRecordStamp where the rules say so.
  void MergeByRaceKey(const std::filesystem::path& path, std::string_view record, bool dropBlankFirstLine) const;
  // Files an SE record into slot (race - 1) * 18 + (horse - 1) of a runner
  // file of 216 lines. Throws RefusedRecord for race outside 1-12 or horse
  // outside 1-18.
  void PutRunnerSlot(const std::filesystem::path& path, std::string_view record, int race, int horse) const;
  // Makes the file consist of the record's line alone (horse masters).
  void ReplaceWholeFile(const std::filesystem::path& path, std::string_view record) const;

  // The MeetingBaseNames of the race files in "Data", ascending by name.
  std::vector<std::string> MeetingNames() const;

 private:
  // Data/<m><extension>, after checking that `m` can form a file name.
  std::filesystem::path MeetingDataFile(std::string_view m, std::string_view extension) const;

  std::filesystem::path root_;
  // Folders resolved so far; the day loading's threads share them.
  mutable std::mutex foldersMutex_;
  mutable std::vector<std::pair<std::string, std::filesystem::path>> folders_;
};

// The entries of a folder named `sjisName` but for the letter case of ASCII
// letters (a store copied from Windows), of the kind asked for: the exact
// spelling first, then the others in listing order, at most `most` of them.
enum class EntryKind { Any, Folder, RegularFile };
std::vector<std::filesystem::path> EntriesNamedIgnoringCase(const std::filesystem::path& folder,
                                                            std::string_view sjisName, EntryKind kind,
                                                            std::size_t most = static_cast<std::size_t>(-1));

// Writes the bytes to a temporary file beside the path, forces them to the
// disk and renames the file over the path; then the folder's entry is forced
// to the disk too (with `syncFolder`; a caller that writes many files into
// one folder may sync the folder once with SyncFolder). So after a crash or a
// power loss the path holds the old bytes or the new ones. On failure the old
// file is untouched and StoreError is thrown.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, bool syncFolder = true);
// A name beside `path` that no other writer (thread or process) picks at the
// same time, of our temporary-file pattern (IsStoreTempName).
std::filesystem::path TemporaryPathBeside(const std::filesystem::path& path);
// Forces a folder's entries (renames into it) to the disk. Throws StoreError.
void SyncFolder(const std::filesystem::path& folder);

// What reached the disk: every sync of a file (before its rename) and of a
// folder (after it), in order. Only for tests; null turns it off.
enum class SyncKind { File, Folder };
using SyncObserver = void (*)(SyncKind kind, const std::filesystem::path& path);
void SetSyncObserver(SyncObserver observer);

// Whether a file name is one of our temporary files ("<name>.tmp<pid>-<n>-<n>").
bool IsStoreTempName(std::string_view fileName);
// Removes the temporary files that a killed writer left in the store's own
// folders (Data, HPupload and the year folders below SEI, SEIR and UM2):
// only names of our pattern, only regular files, only when the process that
// made it is gone. Returns the number removed; failures are ignored.
int RemoveStaleTempFiles(const Store& store);

// No store file is read whole beyond this size: a corrupt, huge file gives an
// error instead of exhausting memory.
inline constexpr std::size_t kMaxStoreFileBytes = 64u << 20;
// The reason a StoreError gives for a file beyond its cap.
std::string FileTooLargeReason(std::size_t maxBytes = kMaxStoreFileBytes);

// Reads a whole file. Throws StoreError when it is missing, is a folder, is
// larger than maxBytes or cannot be read; the message gives the real reason.
std::string ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes = kMaxStoreFileBytes);
// As ReadWholeFile, but returns false when the file does not exist. Any other
// failure (also of the existence check itself) throws, so that a writer never
// takes an unreadable file for a missing one and replaces it.
bool ReadFileIfExists(const std::filesystem::path& path, std::string& out, std::size_t maxBytes = kMaxStoreFileBytes);

// A store file opened as a sequence of fixed-size records, read by position.
class RecordFile {
 public:
  RecordFile() = default;
  // Opens the file; returns false when it does not exist. Throws StoreError
  // when it exists but cannot be opened.
  bool Open(const std::filesystem::path& path, std::size_t recordLength);
  ~RecordFile();
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // Number of whole records: file size / record length.
  std::size_t Count() const { return count_; }
  // Reads record n into out (recordLength bytes). Returns false past the end.
  bool Read(std::size_t n, char* out);
  // Reads every whole record into out (Count() * recordLength bytes).
  void ReadAll(std::string& out);
  void Close();

 private:
  int fd_ = -1;
  std::size_t recordLength_ = 0;
  std::size_t count_ = 0;
  std::filesystem::path path_;
};

// Reads whole small files (horse masters, histories, results race files)
// with as few system calls as the platform allows: the folders stay open
// while the reader lives, and each file is read in one go.
class SmallFileReader {
 public:
  SmallFileReader() = default;
  ~SmallFileReader();
  SmallFileReader(const SmallFileReader&) = delete;
  SmallFileReader& operator=(const SmallFileReader&) = delete;
  // Reads the whole file into the start of `buffer`, which only ever grows
  // (so it is not cleared again for every file), and sets `length`. Returns
  // false when the file does not exist; throws StoreError when it exists but
  // cannot be read.
  bool Read(const std::filesystem::path& path, std::string& buffer, std::size_t& length);

 private:
  int FolderHandle(const std::filesystem::path& folder);
  std::vector<std::pair<std::filesystem::path::string_type, int>> folders_;
};

// Reads the first `length` bytes of a file into out in one go.
enum class FirstRecord { Missing, Short, Read };
// Throws StoreError when the file exists but cannot be read.
FirstRecord ReadFirstRecord(const std::filesystem::path& path, std::size_t length, char* out);

}  // namespace furlong
