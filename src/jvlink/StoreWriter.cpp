#include "jvlink/StoreWriter.h"

#include <algorithm>
#include <optional>
#include <thread>

#include "store/FilingRules.h"
#include "store/ParallelFor.h"
#include "store/TextLines.h"

namespace furlong {

namespace fs = std::filesystem;

namespace {

// Fewer files than this are written on the calling thread alone.
constexpr std::size_t kParallelFlushFiles = 64;

// What one held line costs besides its bytes: the string object and its
// heap block; and what a held file costs besides its lines.
constexpr std::size_t kLineOverhead = sizeof(std::string) + 16;
constexpr std::size_t kFileOverhead = 256;

std::size_t LinesBytes(const std::vector<std::string>& lines) {
  std::size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + kLineOverhead;
  return bytes;
}

}  // namespace

void DirectStoreWriter::MergeByRaceKey(const fs::path& path, std::string_view record, bool dropBlankFirstLine) {
  store_.MergeByRaceKey(path, record, dropBlankFirstLine);
}

void DirectStoreWriter::PutRunnerSlot(const fs::path& path, std::string_view record, int race, int horse) {
  store_.PutRunnerSlot(path, record, race, horse);
}

void DirectStoreWriter::ReplaceWholeFile(const fs::path& path, std::string_view record) {
  store_.ReplaceWholeFile(path, record);
}

BatchedStoreWriter::Pending& BatchedStoreWriter::Touch(const fs::path& path, bool load) {
  auto [it, inserted] = index_.try_emplace(path.native(), order_.size());
  if (!inserted) return order_[it->second];
  Pending pending{path, {}};
  if (load) {
    try {
      // Only a file that is really missing starts empty; one that cannot be
      // read throws, so that its lines are never replaced.
      std::string content;
      if (ReadFileIfExists(path, content)) pending.lines = SplitLines(content);
    } catch (...) {
      index_.erase(it);
      throw;
    }
  }
  heldBytes_ += kFileOverhead + LinesBytes(pending.lines);
  order_.push_back(std::move(pending));
  return order_.back();
}

void BatchedStoreWriter::MergeByRaceKey(const fs::path& path, std::string_view record, bool dropBlankFirstLine) {
  const std::string_view line = RecordLine(record);
  std::vector<std::string>& lines = Touch(path, true).lines;
  const std::size_t before = lines.size();
  MergeLineByRaceKey(lines, line, dropBlankFirstLine);
  if (lines.size() > before) heldBytes_ += line.size() + kLineOverhead;
}

void BatchedStoreWriter::PutRunnerSlot(const fs::path& path, std::string_view record, int race, int horse) {
  const std::size_t slot = RunnerSlot(race, horse);
  const std::string_view line = RecordLine(record);
  std::vector<std::string>& lines = Touch(path, true).lines;
  const std::size_t before = lines.size();
  PutRunnerLine(lines, line, slot);
  if (lines.size() > before) heldBytes_ += (lines.size() - before) * (line.size() + kLineOverhead);
}

void BatchedStoreWriter::ReplaceWholeFile(const fs::path& path, std::string_view record) {
  const std::string_view line = RecordLine(record);
  CreateParentFolder(path);
  std::vector<std::string>& lines = Touch(path, false).lines;
  if (lines.empty()) heldBytes_ += line.size() + kLineOverhead;
  lines.assign(1, std::string(line));
}

void BatchedStoreWriter::List(const fs::path& claimed, const std::string& line, const ListSink& sink) {
  std::size_t file = kNoFile;
  if (!claimed.empty()) {
    auto it = index_.find(claimed.native());
    file = it != index_.end() ? it->second : kNoFile - 1;  // a file never filed: never claimed
  }
  held_.push_back({file, line, sink});
  heldBytes_ += sizeof(HeldLine) + line.size() + kLineOverhead;
}

void BatchedStoreWriter::Flush() {
  // Files are independent of one another, so they are written by a few
  // threads at once. After the first failure (in first-touch order) no later
  // file is started; each file's folder is synced once, after its renames.
  const std::size_t count = order_.size();
  const unsigned workers = count < kParallelFlushFiles ? 1u : std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
  std::vector<char> written(count, 0);
  std::optional<StoreError> first;
  try {
    ParallelFor(count, workers, [&](std::size_t i, unsigned worker) {
      if (worker == 0 && whileWriting_) whileWriting_();
      try {
        WriteFileAtomically(order_[i].path, JoinLinesCrLf(order_[i].lines), false);
      } catch (const StoreError&) {
        throw;
      } catch (const std::exception& e) {
        throw StoreError(order_[i].path, e.what());
      }
      written[i] = 1;
    });
  } catch (const StoreError& e) {
    first = e;
  }
  // The renames reach the disk before any line says the files are there.
  std::vector<fs::path> folders;
  for (std::size_t i = 0; i < count; ++i) {
    if (!written[i]) continue;
    fs::path folder = order_[i].path.parent_path();
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(std::move(folder));
  }
  for (const fs::path& folder : folders) {
    if (whileWriting_) whileWriting_();
    try {
      SyncFolder(folder);
    } catch (const StoreError& e) {
      if (!first) first = e;
    }
  }
  std::vector<HeldLine> lines = std::move(held_);
  std::vector<HeldLine>().swap(held_);
  for (const HeldLine& h : lines)
    if (h.file == kNoFile || (h.file < count && written[h.file])) h.sink(h.line);
  // The memory goes back too, so that a long import holds only what it
  // touched since its last flush.
  std::vector<Pending>().swap(order_);
  decltype(index_)().swap(index_);
  heldBytes_ = 0;
  if (first) throw *first;
}

}  // namespace furlong
