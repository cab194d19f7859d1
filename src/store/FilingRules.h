#pragma once
// The filing rules, on a file's lines in memory. The store applies them to a
// file it loads and rewrites at once, the batched writer to the lines it holds
// until it flushes; both give the same bytes because both file through here.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace furlong {

// A runner file holds a line for each of 12 races × 18 horse numbers.
inline constexpr std::size_t kRunnerFileLines = 216;

// The line a record files as: the record without its closing CR LF. Throws
// RefusedRecord for a record too short to have one.
std::string_view RecordLine(std::string_view record);

// The line replaces the first line of the same race key or joins the lines;
// then the lines are sorted (stably, ignoring ASCII letter case) and, when
// asked, a blank first line is dropped.
void MergeLineByRaceKey(std::vector<std::string>& lines, std::string_view line, bool dropBlankFirstLine);

// The runner file slot of a race and horse number: (race - 1) * 18 +
// (horse - 1). Throws RefusedRecord for race outside 1-12 or horse outside
// 1-18 (checked before the file is touched).
std::size_t RunnerSlot(int race, int horse);
// The line goes into its slot. A runner file that lost lines is made whole
// again first (blank lines), so that every slot keeps its position.
void PutRunnerLine(std::vector<std::string>& lines, std::string_view line, std::size_t slot);

// A whole-file record (a horse master) goes into a year folder that may not
// exist yet: the file's folder is created when missing. Throws StoreError.
void CreateParentFolder(const std::filesystem::path& path);

}  // namespace furlong
