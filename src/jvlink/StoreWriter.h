#pragma once
// Where the record filing writes: the three filing operations of the store,
// either straight to the files (every filing loads, changes and rewrites its
// file) or batched (the files touched during one reading loop are kept in
// memory and each is written once, atomically, by Flush). Both give the same
// bytes in every file.
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/Store.h"

namespace furlong {

class StoreWriter {
 public:
  virtual ~StoreWriter() = default;
  // As Store::MergeByRaceKey, Store::PutRunnerSlot and Store::ReplaceWholeFile
  // (the same RefusedRecord and StoreError cases).
  virtual void MergeByRaceKey(const std::filesystem::path& path, std::string_view record, bool dropBlankFirstLine) = 0;
  virtual void PutRunnerSlot(const std::filesystem::path& path, std::string_view record, int race, int horse) = 0;
  virtual void ReplaceWholeFile(const std::filesystem::path& path, std::string_view record) = 0;
  // Writes whatever is still pending. Every pending file is tried; the first
  // failure is then thrown as StoreError and the files that failed keep their
  // old content.
  virtual void Flush() {}
};

// Every filing goes to its file at once.
class DirectStoreWriter final : public StoreWriter {
 public:
  explicit DirectStoreWriter(const Store& store) : store_(store) {}
  void MergeByRaceKey(const std::filesystem::path& path, std::string_view record, bool dropBlankFirstLine) override;
  void PutRunnerSlot(const std::filesystem::path& path, std::string_view record, int race, int horse) override;
  void ReplaceWholeFile(const std::filesystem::path& path, std::string_view record) override;

 private:
  const Store& store_;
};

// Files are loaded on first touch, changed in memory and written by Flush,
// in the order they were first touched.
class BatchedStoreWriter final : public StoreWriter {
 public:
  BatchedStoreWriter() = default;
  ~BatchedStoreWriter() override = default;
  void MergeByRaceKey(const std::filesystem::path& path, std::string_view record, bool dropBlankFirstLine) override;
  void PutRunnerSlot(const std::filesystem::path& path, std::string_view record, int race, int horse) override;
  void ReplaceWholeFile(const std::filesystem::path& path, std::string_view record) override;
  void Flush() override;

  // Number of files waiting for Flush.
  std::size_t PendingFiles() const { return order_.size(); }

 private:
  struct Pending {
    std::filesystem::path path;
    std::vector<std::string> lines;
  };
  // The file's lines, loaded from disk on first touch.
  Pending& Touch(const std::filesystem::path& path, bool load);

  std::unordered_map<std::filesystem::path::string_type, std::size_t> index_;  // native path -> order_ slot
  std::vector<Pending> order_;
};

}  // namespace furlong
