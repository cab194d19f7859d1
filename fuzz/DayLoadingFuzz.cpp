// The day loading and the analysis of every race over fuzzed store files.
// Parts: race file, runner file, payout file, odds file of the meeting
// 2024年01月05日中山, then the horse master, horse history and legacy horse
// master of the first runner's horse, and the results race file of that
// horse's last run.
#include <cstdint>
#include <memory>

#include "FuzzSupport.h"
#include "analysis/MeetingFlow.h"
#include "store/Encoding.h"

using namespace furlong;
using namespace furlong::fuzz;

namespace {

std::string_view HorseIdOf(std::string_view runners) {
  std::string_view id = runners.size() >= 40 ? runners.substr(30, 10) : std::string_view();
  return id.size() == 10 && IsPathSafe(id) ? id : std::string_view("2019100001");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Store store(Root());
  static auto flow = std::make_unique<MeetingFlow>(store);
  ClearStore();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> parts = Parts(input, 8);
  static const std::string meeting = Utf8ToSjis("2024年01月05日中山");
  WriteBytes(store.RaceFile(meeting), parts[0]);
  WriteBytes(store.RunnerFile(meeting), parts[1]);
  if (!parts[2].empty()) WriteBytes(store.PayoutFile(meeting), parts[2]);
  if (!parts[3].empty()) WriteBytes(store.OddsFile(meeting), parts[3]);
  const std::string id(HorseIdOf(parts[1]));
  const std::string year = id.substr(0, 4);
  if (!parts[4].empty()) {
    store.YearFolder(store_names::kUm2, year, true);
    WriteBytes(store.HorseMasterFile(id), parts[4]);
  }
  if (!parts[5].empty()) {
    store.YearFolder(store_names::kSei, year, true);
    WriteBytes(store.HorseHistoryFile(id), parts[5]);
  }
  if (!parts[6].empty()) {
    store.Folder(store_names::kUma, true);
    store.YearFolder(store_names::kUma, year, true);
    WriteBytes(store.LegacyHorseMasterFile(id), parts[6]);
  }
  std::string horseMasterBefore;
  const bool hadMaster = !parts[4].empty();
  if (!parts[7].empty() && parts[5].size() >= kSeLength) {
    const std::string_view last = parts[5].substr((parts[5].size() / kSeLength - 1) * kSeLength, kSeLength);
    try {
      const fs::path results = store.ResultsRaceFile(last);
      store.YearFolder(store_names::kSeir, last.substr(11, 4), true);
      WriteBytes(results, parts[7]);
    } catch (const RefusedRecord&) {
    }
  }

  MeetingFlowCallbacks cb;
  try {
    if (flow->DateComboChange(meeting, cb))
      for (int i = 0; i < static_cast<int>(flow->RaceList().size()); ++i) flow->DatListClick(i);
  } catch (const StoreError&) {
  } catch (const RefusedRecord&) {
  }
  // Only the horse master converted from the legacy one is written here.
  CheckStore({"root"}, [&](const fs::path& p) { return !hadMaster && p.extension() == ".jvUM2"; });
  return 0;
}
