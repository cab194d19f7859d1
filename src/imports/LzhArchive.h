#pragma once
// LHA (.lzh) archives: reading every member of an archive (through lhasa),
// extracting them into one folder, and writing small stored (-lh0-) archives.
//
// Extraction is all or nothing: the whole archive is decoded and checked in
// memory first (structure, sizes, CRC of every member), and only a sound
// archive writes anything. Members are written only into the target folder:
// a name with an absolute path, a drive or a ".." part is refused, and a name
// with folders is written under its base name. Each file is written to a
// temporary file and renamed into place.
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace furlong {

// A broken, truncated or unsupported archive. The message (UTF-8) says what
// is wrong and where.
class LzhError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Limits that keep a hostile archive from filling memory or the disk.
inline constexpr std::size_t kLzhMaxArchiveSize = 256u << 20;
inline constexpr std::size_t kLzhMaxMemberSize = 64u << 20;
inline constexpr std::size_t kLzhMaxTotalSize = 256u << 20;
// An odds archive holds a handful of members; one with more is refused before
// anything is decoded or written.
inline constexpr std::size_t kLzhMaxMembers = 256;

// One member as stored in the archive.
struct LzhMember {
  // The member's name as Shift-JIS bytes, folder parts separated by "/"
  // (whatever separator the archive used); a leading "/" for an absolute
  // name. Bytes of two-byte characters are never taken for separators.
  std::string name;
  std::string method;     // "-lh5-", "-lh0-", "-lhd-", ...
  bool directory = false; // a folder entry (no data)
  bool link = false;      // a symbolic link (never written)
  bool supported = true;  // false: a compression method lhasa cannot decode
  std::string data;       // the decoded content (checked against its CRC)
};

// Decodes every member of an archive held in memory. An empty input or a
// lone end mark is an archive without members. Throws LzhError for anything
// else that is not a complete, sound archive.
std::vector<LzhMember> ReadLzhArchive(std::string_view bytes);

// The file name a member is written under (Shift-JIS), or an empty string
// when it is refused; `reason` (UTF-8) then says why. Folder entries and
// names ending in a separator give an empty name with an empty reason.
std::string LzhMemberFileName(std::string_view memberName, std::string* reason = nullptr);

// A member that was not written, and why (UTF-8).
struct LzhRefusal {
  std::string name;  // Shift-JIS, as in LzhMember::name
  std::string reason;
};

struct LzhExtraction {
  int extracted = 0;                  // members written
  std::vector<std::string> written;   // their file names (Shift-JIS), in archive order
  std::vector<LzhRefusal> refused;    // members not written
};

// Extracts every member of the archive file into `folder`. Throws LzhError
// for a broken archive (then nothing is written) and StoreError when the
// archive cannot be read or a file cannot be written.
LzhExtraction ExtractLzhArchive(const std::filesystem::path& archive, const std::filesystem::path& folder);

// CRC-16 (polynomial 0xA001, reflected) as LHA uses for member data.
std::uint16_t LzhCrc16(std::string_view data, std::uint16_t crc = 0);

// A file for MakeStoredLzhArchive: name (Shift-JIS, at most 233 bytes) and content.
struct LzhStoredFile {
  std::string name;
  std::string data;
};

// An archive of the files stored without compression ("-lh0-", level 0
// headers), with the given MS-DOS date-time stamp, followed by the end mark.
std::string MakeStoredLzhArchive(const std::vector<LzhStoredFile>& files, std::uint32_t dosTime = 0x30250000);

}  // namespace furlong
