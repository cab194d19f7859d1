#pragma once
// Builders for store tests: records of the right length set by column, and
// a scratch data root that is removed afterwards.
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "store/Encoding.h"
#include "store/Record.h"

namespace furlong::test {

// A record of `length` bytes (CR LF included) of spaces with its type.
inline std::string BlankRecord(std::string_view type, std::size_t length) {
  std::string r(length, ' ');
  r.replace(0, 2, type);
  r[length - 2] = '\r';
  r[length - 1] = '\n';
  return r;
}

// Writes text at 1-based column `col`.
inline void Put(std::string& rec, std::size_t col, std::string_view text) { rec.replace(col - 1, text.size(), text); }

// Writes a number zero-padded to `width` at `col`.
inline void PutNum(std::string& rec, std::size_t col, int width, long long value) {
  std::string s = std::to_string(value);
  if (s.size() < static_cast<std::size_t>(width)) s.insert(0, width - s.size(), '0');
  Put(rec, col, s);
}

// An RA, SE or HR record of one race: kind, created, date yyyymmdd, course, meeting, day, race.
inline std::string RaceHead(std::string_view type, std::size_t length, std::string_view date, std::string_view course,
                            int race, char kind = '7', std::string_view created = "20240101") {
  std::string r = BlankRecord(type, length);
  r[2] = kind;
  Put(r, 4, created);
  Put(r, 12, date);
  Put(r, 20, course);
  Put(r, 22, "01");
  Put(r, 24, "01");
  PutNum(r, 26, 2, race);
  return r;
}

class ScratchDir {
 public:
  ScratchDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("furlong-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace furlong::test
