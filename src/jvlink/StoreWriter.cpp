#include "jvlink/StoreWriter.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <system_error>
#include <thread>

#include "store/SortedTextList.h"
#include "store/Record.h"
#include "store/RecordLayout.h"

namespace furlong {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kRunnerFileLines = 216;
constexpr std::size_t kSeLineLength = kSeLength - 2;

std::string_view LineOf(std::string_view record) {
  if (record.size() < 2) throw RefusedRecord("record too short to file");
  return record.substr(0, record.size() - 2);
}

// Fewer files than this are written on the calling thread alone.
constexpr std::size_t kParallelFlushFiles = 64;

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
      if (ReadFileIfExists(path, content)) pending.lines = SplitStoreLines(content);
    } catch (...) {
      index_.erase(it);
      throw;
    }
  }
  order_.push_back(std::move(pending));
  return order_.back();
}

void BatchedStoreWriter::MergeByRaceKey(const fs::path& path, std::string_view record, bool dropBlankFirstLine) {
  std::string_view line = LineOf(record);
  std::vector<std::string>& lines = Touch(path, true).lines;
  std::string_view key = head::Key(line);
  bool replaced = false;
  for (auto& l : lines) {
    if (head::Key(l) == key) {
      l.assign(line);
      replaced = true;
      break;
    }
  }
  if (!replaced) lines.emplace_back(line);
  std::stable_sort(lines.begin(), lines.end(), CaseInsensitiveLess{});
  if (dropBlankFirstLine && !lines.empty() && IsBlank(lines.front())) lines.erase(lines.begin());
}

void BatchedStoreWriter::PutRunnerSlot(const fs::path& path, std::string_view record, int race, int horse) {
  if (race < 1 || race > 12 || horse < 1 || horse > 18)
    throw RefusedRecord("race number " + std::to_string(race) + " / horse number " + std::to_string(horse) +
                        " has no slot in the runner file");
  std::string_view line = LineOf(record);
  std::vector<std::string>& lines = Touch(path, true).lines;
  while (lines.size() < kRunnerFileLines) lines.emplace_back(kSeLineLength, ' ');
  lines[static_cast<std::size_t>((race - 1) * 18 + (horse - 1))].assign(line);
}

void BatchedStoreWriter::ReplaceWholeFile(const fs::path& path, std::string_view record) {
  std::string_view line = LineOf(record);
  std::error_code ec;
  fs::path parent = path.parent_path();
  if (!fs::is_directory(parent, ec)) {
    fs::create_directory(parent, ec);
    if (ec) throw StoreError(parent, ec.message());
  }
  std::vector<std::string>& lines = Touch(path, false).lines;
  lines.assign(1, std::string(line));
}

void BatchedStoreWriter::List(const fs::path& claimed, const std::string& line, const ListSink& sink) {
  std::size_t file = kNoFile;
  if (!claimed.empty()) {
    auto it = index_.find(claimed.native());
    file = it != index_.end() ? it->second : kNoFile - 1;  // a file never filed: never claimed
  }
  held_.push_back({file, line, sink});
}

void BatchedStoreWriter::Flush() {
  // Files are independent of one another, so they are written by a few
  // threads at once. After the first failure (in first-touch order) no later
  // file is started; each file's folder is synced once, after its renames.
  const std::size_t count = order_.size();
  unsigned workers = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  if (count < kParallelFlushFiles) workers = 1;
  std::atomic<std::size_t> failedAt{count};
  std::vector<std::optional<StoreError>> failures(workers);
  std::vector<std::size_t> workerFailedAt(workers, count);
  std::vector<char> written(count, 0);
  auto work = [&](unsigned w) {
    for (std::size_t i = w; i < count; i += workers) {
      if (i > failedAt.load()) break;
      try {
        WriteFileAtomically(order_[i].path, JoinStoreLines(order_[i].lines), false);
        written[i] = 1;
        continue;
      } catch (const StoreError& e) {
        failures[w] = e;
      } catch (const std::exception& e) {
        failures[w] = StoreError(order_[i].path, e.what());
      }
      workerFailedAt[w] = i;
      std::size_t seen = failedAt.load();
      while (i < seen && !failedAt.compare_exchange_weak(seen, i)) {
      }
      break;
    }
  };
  std::vector<std::thread> threads;
  for (unsigned w = 1; w < workers; ++w) {
    try {
      threads.emplace_back(work, w);
    } catch (const std::system_error&) {
      work(w);  // no thread to be had: do its share here
    }
  }
  work(0);
  for (auto& t : threads) t.join();

  std::optional<StoreError> first;
  std::size_t firstAt = count;
  for (unsigned w = 0; w < workers; ++w) {
    if (workerFailedAt[w] < firstAt) {
      firstAt = workerFailedAt[w];
      first = failures[w];
    }
  }
  // The renames reach the disk before any line says the files are there.
  std::vector<fs::path> folders;
  for (std::size_t i = 0; i < count; ++i) {
    if (!written[i]) continue;
    fs::path folder = order_[i].path.parent_path();
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(std::move(folder));
  }
  for (const fs::path& folder : folders) {
    try {
      SyncFolder(folder);
    } catch (const StoreError& e) {
      if (!first) first = e;
    }
  }
  std::vector<HeldLine> lines = std::move(held_);
  held_.clear();
  for (const HeldLine& h : lines)
    if (h.file == kNoFile || (h.file < count && written[h.file])) h.sink(h.line);
  order_.clear();
  index_.clear();
  if (first) throw *first;
}

}  // namespace furlong
