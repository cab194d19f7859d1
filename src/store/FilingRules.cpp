#include "store/FilingRules.h"

#include <algorithm>
#include <system_error>

#include "store/Record.h"
#include "store/RecordLayout.h"
#include "store/SortedTextList.h"
#include "store/StoreErrors.h"

namespace furlong {

std::string_view RecordLine(std::string_view record) {
  if (record.size() < 2) throw RefusedRecord("record too short to file");
  return record.substr(0, record.size() - 2);
}

void MergeLineByRaceKey(std::vector<std::string>& lines, std::string_view line, bool dropBlankFirstLine) {
  const std::string_view key = head::Key(line);
  auto same = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return head::Key(l) == key; });
  if (same != lines.end()) same->assign(line);
  else lines.emplace_back(line);
  std::stable_sort(lines.begin(), lines.end(), CaseInsensitiveLess{});
  if (dropBlankFirstLine && !lines.empty() && IsBlank(lines.front())) lines.erase(lines.begin());
}

std::size_t RunnerSlot(int race, int horse) {
  if (race < 1 || race > 12 || horse < 1 || horse > 18)
    throw RefusedRecord("race number " + std::to_string(race) + " / horse number " + std::to_string(horse) +
                        " has no slot in the runner file");
  return static_cast<std::size_t>((race - 1) * 18 + (horse - 1));
}

void PutRunnerLine(std::vector<std::string>& lines, std::string_view line, std::size_t slot) {
  while (lines.size() < kRunnerFileLines) lines.emplace_back(kSeLength - 2, ' ');
  lines[slot].assign(line);
}

void CreateParentFolder(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::path parent = path.parent_path();
  if (!std::filesystem::is_directory(parent, ec)) {
    std::filesystem::create_directory(parent, ec);
    if (ec) throw StoreError(parent, ec.message());
  }
}

}  // namespace furlong
