#pragma once
// The two errors of the store: a file or folder that could not be read or
// written, and a record refused before filing.
#include <filesystem>
#include <stdexcept>
#include <string>

namespace furlong {

// A store file or folder that could not be read, written or created. The
// message names the path (UTF-8) and the system's reason.
class StoreError : public std::runtime_error {
 public:
  StoreError(const std::filesystem::path& path, const std::string& what);
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A record refused before filing: a path-forming field with other characters
// than ASCII letters and digits, or a slot outside the runner file.
class RefusedRecord : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace furlong
