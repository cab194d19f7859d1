#include "jvlink/StoreWriter.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <thread>

#include "store/SortedTextList.h"
#include "store/Record.h"

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
      std::error_code ec;
      if (fs::exists(path, ec)) pending.lines = SplitStoreLines(ReadWholeFile(path));
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
  std::string_view key = Field(line, 12, 27);
  bool replaced = false;
  for (auto& l : lines) {
    if (Field(l, 12, 27) == key) {
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

void BatchedStoreWriter::Flush() {
  // Files are independent of one another, so they are written by a few
  // threads at once; the first failure in first-touch order is reported.
  const std::size_t count = order_.size();
  unsigned workers = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  if (count < kParallelFlushFiles) workers = 1;
  std::vector<std::size_t> failedAt(workers, count);
  std::vector<std::optional<StoreError>> failures(workers);
  auto work = [&](unsigned w) {
    for (std::size_t i = w; i < count; i += workers) {
      try {
        WriteFileAtomically(order_[i].path, JoinStoreLines(order_[i].lines));
      } catch (const StoreError& e) {
        if (i < failedAt[w]) {
          failedAt[w] = i;
          failures[w] = e;
        }
      } catch (const std::exception& e) {
        if (i < failedAt[w]) {
          failedAt[w] = i;
          failures[w] = StoreError(order_[i].path, e.what());
        }
      }
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
    if (failedAt[w] < firstAt) {
      firstAt = failedAt[w];
      first = failures[w];
    }
  }
  order_.clear();
  index_.clear();
  if (first) throw *first;
}

}  // namespace furlong
