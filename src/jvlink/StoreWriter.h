#pragma once
// Where the record filing writes: the three filing operations of the store,
// either straight to the files (every filing loads, changes and rewrites its
// file) or batched (the files touched during one reading loop are kept in
// memory and each is written once, atomically, by Flush). Both give the same
// bytes in every file.
#include <filesystem>
#include <functional>
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
  // Writes whatever is still pending, in first-touch order, and stops at the
  // first failure: that failure is thrown as StoreError, the files written
  // before it stay written, the rest keep their old content.
  virtual void Flush() {}
  // Called now and then on the calling thread while Flush writes (so that a
  // window can let its messages run); empty for none.
  virtual void SetWhileWriting(std::function<void()> tick) { (void)tick; }
  // About how many bytes of memory the writer holds for what it has not
  // written yet (file lines and list lines); 0 when it holds nothing.
  virtual std::size_t HeldBytes() const { return 0; }

  // A list line of the filing. With a path it claims that file was written:
  // it reaches `sink` only once the file is on disk (at once here, where
  // every filing has already written its file), and never when the file
  // could not be written. Lines reach their sinks in the order given.
  using ListSink = std::function<void(const std::string&)>;
  virtual void List(const std::filesystem::path& claimed, const std::string& line, const ListSink& sink) {
    (void)claimed;
    sink(line);
  }
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
// in the order they were first touched. A file touched again after a Flush
// is loaded again from the store.
class BatchedStoreWriter final : public StoreWriter {
 public:
  BatchedStoreWriter() = default;
  ~BatchedStoreWriter() override = default;
  void MergeByRaceKey(const std::filesystem::path& path, std::string_view record, bool dropBlankFirstLine) override;
  void PutRunnerSlot(const std::filesystem::path& path, std::string_view record, int race, int horse) override;
  void ReplaceWholeFile(const std::filesystem::path& path, std::string_view record) override;
  void Flush() override;
  // Held until Flush; a claim of a file that Flush did not write is dropped.
  void List(const std::filesystem::path& claimed, const std::string& line, const ListSink& sink) override;

  std::size_t HeldBytes() const override { return heldBytes_; }
  void SetWhileWriting(std::function<void()> tick) override { whileWriting_ = std::move(tick); }

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
  struct HeldLine {
    std::size_t file;  // order_ slot of the claimed file, or kNoFile
    std::string line;
    ListSink sink;
  };
  static constexpr std::size_t kNoFile = static_cast<std::size_t>(-1);
  std::vector<HeldLine> held_;
  std::size_t heldBytes_ = 0;
  std::function<void()> whileWriting_;
};

}  // namespace furlong
