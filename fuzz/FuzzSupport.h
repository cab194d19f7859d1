#pragma once
// What every fuzz target shares: a scratch store in memory-backed storage
// when the system has it, the input split into parts, and the store's
// invariants checked after each run (fixed record sizes, nothing outside the
// root, no temporary file left). A broken invariant aborts, which libFuzzer
// reports with the input.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "store/Record.h"
#include "store/Store.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace furlong::fuzz {

namespace fs = std::filesystem;

[[noreturn]] inline void Broken(const std::string& what, const fs::path& path) {
  std::fprintf(stderr, "store invariant broken: %s: %s\n", what.c_str(), path.string().c_str());
  std::abort();
}

// A sandbox folder of this process; the store's root is "root" inside it.
// Only "root" (and the folders a target names) may ever appear in it.
inline const fs::path& Sandbox() {
  static const fs::path sandbox = [] {
    std::error_code ec;
    fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    fs::path p = base / ("furlong-fuzz-" + std::to_string(::getpid()));
    fs::remove_all(p, ec);
    fs::create_directories(p / "root");
    // Gone again when the run ends (a crash keeps it for a look).
    static const fs::path* const atExit = new fs::path(p);
    std::atexit([] {
      std::error_code ignore;
      fs::remove_all(*atExit, ignore);
    });
    return p;
  }();
  return sandbox;
}
inline fs::path Root() { return Sandbox() / "root"; }

// Empties the contents of the store's folders, keeping the folders.
inline void ClearStore() {
  std::error_code ec;
  for (fs::directory_iterator it(Root(), ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_directory()) {
      for (fs::directory_iterator in(it->path(), ec), e2; !ec && in != e2; in.increment(ec)) fs::remove_all(in->path(), ec);
      ec.clear();
    } else {
      fs::remove(it->path(), ec);
    }
  }
}

inline void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) Broken("cannot write a fuzz input file", path);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// The input cut at every "\n@@\n"; missing parts are empty.
inline std::vector<std::string_view> Parts(std::string_view input, std::size_t count) {
  std::vector<std::string_view> parts;
  constexpr std::string_view kMark = "\n@@\n";
  while (parts.size() + 1 < count) {
    std::size_t at = input.find(kMark);
    if (at == std::string_view::npos) break;
    parts.push_back(input.substr(0, at));
    input.remove_prefix(at + kMark.size());
  }
  parts.push_back(input);
  parts.resize(count);
  return parts;
}

inline bool EndsWith(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The record length of a store file kind by its extension; 0 when unknown.
inline std::size_t RecordLengthOf(const std::string& name) {
  if (EndsWith(name, ".jvRA") || EndsWith(name, ".jvSERA")) return kRaLength;
  if (EndsWith(name, ".jvSEr") || EndsWith(name, ".jvSEI")) return kSeLength;
  if (EndsWith(name, ".jvHR")) return kHrLength;
  if (EndsWith(name, ".jvUM2")) return kUmLength;
  if (EndsWith(name, ".yoz")) return kOddsLength;
  return 0;
}

// Every file below the sandbox: no temporary file; nothing but `allowed`
// top-level entries; each store file written by the program (`written`
// tells which) has whole records of its kind ending in CR LF.
template <typename Written>
void CheckStore(const std::vector<std::string>& allowed, Written&& written) {
  std::error_code ec;
  for (fs::directory_iterator it(Sandbox(), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string top = it->path().filename().string();
    bool ok = false;
    for (auto& a : allowed) ok |= a == top;
    if (!ok) Broken("an entry outside the root", it->path());
  }
  for (fs::recursive_directory_iterator it(Sandbox(), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (IsStoreTempName(name)) Broken("a temporary file was left", it->path());
    if (!it->is_regular_file() || !written(it->path())) continue;
    const std::size_t length = RecordLengthOf(name);
    if (length == 0) continue;
    std::string bytes = ReadWholeFile(it->path());
    if (bytes.size() % length != 0) Broken("a store file of broken records", it->path());
    for (std::size_t at = 0; at < bytes.size(); at += length)
      if (bytes.compare(at + length - 2, 2, "\r\n") != 0) Broken("a record without its CR LF", it->path());
    if (EndsWith(name, ".jvSEr") && bytes.size() != 216 * kSeLength) Broken("a runner file not of 216 slots", it->path());
    if (EndsWith(name, ".yoz") && bytes.size() != 12 * kOddsLength) Broken("an odds file not of 12 races", it->path());
  }
}

}  // namespace furlong::fuzz
