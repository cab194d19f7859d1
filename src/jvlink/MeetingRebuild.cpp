#include "jvlink/MeetingRebuild.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <set>
#include <unordered_map>
#include <vector>

#include "jvlink/StoreWriter.h"
#include "store/DayTables.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/RecordLayout.h"
#include "store/TextLines.h"

namespace furlong {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kRaLine = kRaLength - 2;
constexpr std::size_t kSeLine = kSeLength - 2;
// Meetings written per round: each round holds their race and runner files
// (about 130 KB a meeting) and writes the runner files before the race files.
constexpr std::size_t kMeetingsPerRound = 64;
constexpr int kRaces = 12;
constexpr int kHorses = 18;

// A date and racecourse without a race file.
struct Candidate {
  std::string base;                       // MeetingBaseName
  std::string dateCourse;                 // columns 12-21 of its races
  fs::path resultsFile;
  std::array<std::string, kRaces> keys;   // race key of race n + 1; empty when the results lack it
  std::array<int, kRaces> registered{};   // registered runners of race n + 1
  std::array<std::uint32_t, kRaces> horsesFound{};  // horse numbers found, bit h - 1
  int runners = 0;                        // runner records found
};

// A runner record found in a horse history: its meeting, its runner slot and
// where its line lies in the temporary file.
struct FoundRunner {
  std::uint32_t meeting;
  std::uint16_t race;   // 1-12
  std::uint16_t horse;  // 1-18
  std::uint64_t line;   // line number in the temporary file
};

bool IsJraCourseCode(std::string_view code) {
  if (code.size() != 2 || code[0] < '0' || code[0] > '9' || code[1] < '0' || code[1] > '9') return false;
  const int n = (code[0] - '0') * 10 + (code[1] - '0');
  return n >= 1 && n <= 10;
}

int DateNumber(std::string_view yyyymmdd) {
  int n = 0;
  for (char c : yyyymmdd) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

// The entries of a folder that `keep` accepts, in ascending path order; a
// folder that cannot be listed is a StoreError.
template <typename Keep>
std::vector<fs::path> SortedEntries(const fs::path& folder, Keep keep) {
  std::vector<fs::path> entries;
  std::error_code ec;
  fs::directory_iterator it(folder, ec), end;
  if (ec) throw StoreError(folder, ec.message());
  for (; it != end; it.increment(ec)) {
    if (ec) throw StoreError(folder, ec.message());
    if (keep(*it)) entries.push_back(it->path());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

// The year folders of a store folder, in ascending name order.
std::vector<fs::path> YearFolders(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return {};
  return SortedEntries(folder, [](const fs::directory_entry& e) {
    std::error_code typeEc;
    return e.is_directory(typeEc);
  });
}

// The files named "*<extension>" in one year folder, in ascending name
// order. A folder at a time: the paths of every horse of many years would
// take more memory than the rest of the rebuild.
std::vector<fs::path> FilesIn(const fs::path& year, std::string_view extension) {
  return SortedEntries(year, [extension](const fs::directory_entry& e) {
    std::error_code typeEc;
    return e.is_regular_file(typeEc) && EndsWithIgnoringAsciiCase(PathNameToSjis(e.path().filename()), extension);
  });
}

// The race lines of a results race file that can make a race file: RA lines
// of the right length with a race number above 0.
std::vector<std::string> ResultsRaceLines(const fs::path& path) {
  std::vector<std::string> out;
  std::string content;
  if (!ReadFileIfExists(path, content)) return out;
  for (std::string& line : SplitLines(content))
    if (line.size() == kRaLine && IsRecordType(line, "RA") && FieldNumber(line, head::kRaceNumber) > 0 &&
        IsPathSafe(head::DateCourse(line)))
      out.push_back(std::move(line));
  return out;
}

std::string WithCrLf(std::string_view line) {
  std::string record(line);
  record += "\r\n";
  return record;
}

// The temporary file of the runner lines found; removed when done.
class RunnerSpill {
 public:
  explicit RunnerSpill(fs::path path) : path_(std::move(path)) {
    out_.open(path_, std::ios::binary | std::ios::trunc);
    if (!out_) throw StoreError(path_, "cannot create the temporary file");
  }
  ~RunnerSpill() {
    out_.close();
    in_.close();
    std::error_code ignore;
    fs::remove(path_, ignore);
  }
  std::uint64_t Add(std::string_view line) {
    out_.write(line.data(), static_cast<std::streamsize>(line.size()));
    if (!out_) throw StoreError(path_, "cannot write the temporary file");
    return count_++;
  }
  void StartReading() {
    out_.close();
    if (out_.fail()) throw StoreError(path_, "cannot write the temporary file");
    in_.open(path_, std::ios::binary);
    if (!in_) throw StoreError(path_, "cannot read the temporary file");
  }
  std::string Line(std::uint64_t n) {
    std::string line(kSeLine, ' ');
    in_.seekg(static_cast<std::streamoff>(n * kSeLine));
    in_.read(line.data(), static_cast<std::streamsize>(kSeLine));
    if (!in_) throw StoreError(path_, "cannot read the temporary file");
    return line;
  }

 private:
  fs::path path_;
  std::ofstream out_;
  std::ifstream in_;
  std::uint64_t count_ = 0;
};

class Rebuild {
 public:
  Rebuild(const Store& store, const RebuildOptions& options, const std::atomic<bool>* cancelled,
          RebuildProgress* progress, RebuildResult& result)
      : store_(store), options_(options), cancelled_(cancelled), progress_(progress), result_(result) {}

  void Run() {
    FindCandidates();
    result_.candidates = static_cast<int>(candidates_.size());
    if (candidates_.empty()) return;
    RunnerSpill spill(TemporaryPathBeside(store_.Folder(store_names::kData, true) / "rebuild-meetings"));
    ReadHistories(spill);
    if (Cancelled()) return;
    spill.StartReading();
    WriteMeetings(spill);
  }

 private:
  const Store& store_;
  const RebuildOptions& options_;
  const std::atomic<bool>* cancelled_;
  RebuildProgress* progress_;
  RebuildResult& result_;
  std::vector<Candidate> candidates_;
  std::unordered_map<std::string, std::uint32_t> byDateCourse_;
  std::vector<FoundRunner> found_;

  bool Cancelled() {
    if (cancelled_ && cancelled_->load()) result_.cancelled = true;
    return result_.cancelled;
  }

  // Every JRA date and racecourse in range with a results race file and no
  // race file.
  void FindCandidates() {
    std::vector<std::string> existing = store_.MeetingNames();
    std::set<std::string, std::less<>> haveRaceFile(existing.begin(), existing.end());
    for (const fs::path& year : YearFolders(store_.Folder(store_names::kSeir)))
      for (const fs::path& path : FilesIn(year, ".jvSERA")) Consider(path, haveRaceFile);
  }

  void Consider(const fs::path& path, const std::set<std::string, std::less<>>& haveRaceFile) {
    const std::string name = PathNameToSjis(path.filename());
    if (name.size() < 10) return;
    const int date = DateNumber(std::string_view(name).substr(0, 8));
    if (date < 0 || date < options_.fromDate || date > options_.toDate) return;
    if (!IsJraCourseCode(std::string_view(name).substr(8, 2))) return;
    std::vector<std::string> lines = ResultsRaceLines(path);
    if (lines.empty()) return;
    Candidate c;
    c.base = MeetingBaseName(lines.front());
    if (haveRaceFile.count(c.base) || byDateCourse_.count(std::string(head::DateCourse(lines.front())))) return;
    c.resultsFile = path;
    c.dateCourse = std::string(head::DateCourse(lines.front()));
    for (const std::string& line : lines) {
      const int race = FieldNumber(line, head::kRaceNumber);
      if (race > kRaces || head::DateCourse(line) != head::DateCourse(lines.front())) continue;
      std::string& key = c.keys[static_cast<std::size_t>(race - 1)];
      // The first line of a race key is the one a merge keeps.
      if (key.empty()) {
        key = std::string(head::Key(line));
        c.registered[static_cast<std::size_t>(race - 1)] = RegisteredRunners(line);
      }
    }
    if (std::all_of(c.keys.begin(), c.keys.end(), [](const std::string& k) { return k.empty(); })) return;
    byDateCourse_.emplace(c.dateCourse, static_cast<std::uint32_t>(candidates_.size()));
    candidates_.push_back(std::move(c));
  }

  // Each horse history once: the runner lines of the candidates' races go to
  // the temporary file; a run of a race the results lack is passed over.
  void ReadHistories(RunnerSpill& spill) {
    const std::vector<fs::path> years = YearFolders(store_.Folder(store_names::kSei));
    int total = 0, done = 0;
    for (const fs::path& year : years) total += static_cast<int>(FilesIn(year, ".jvSEI").size());
    SmallFileReader reader;
    std::string buffer;
    for (const fs::path& year : years)
      for (const fs::path& history : FilesIn(year, ".jvSEI")) {
        if ((done++ & 63) == 0) {
          if (progress_) progress_->Histories(done - 1, total);
          if (Cancelled()) return;
        }
        ReadHistory(history, reader, buffer, spill);
      }
    if (progress_) progress_->Histories(total, total);
  }

  void ReadHistory(const fs::path& history, SmallFileReader& reader, std::string& buffer, RunnerSpill& spill) {
    std::size_t length = 0;
    if (!reader.Read(history, buffer, length)) return;
    ++result_.historiesRead;
    const std::string_view content(buffer.data(), length);
    for (std::size_t at = 0; at + kSeLength <= length; at += kSeLength) {
      const std::string_view line = content.substr(at, kSeLine);
      if (!IsRecordType(line, "SE") || content.substr(at + kSeLine, 2) != "\r\n") continue;
      auto meeting = byDateCourse_.find(std::string(head::DateCourse(line)));
      if (meeting == byDateCourse_.end()) continue;
      const int race = FieldNumber(line, head::kRaceNumber), horse = FieldNumber(line, se::kHorseNumber);
      if (race < 1 || race > kRaces || horse < 1 || horse > kHorses) continue;
      const Candidate& c = candidates_[meeting->second];
      if (c.keys[static_cast<std::size_t>(race - 1)] != head::Key(line)) continue;
      found_.push_back({meeting->second, static_cast<std::uint16_t>(race), static_cast<std::uint16_t>(horse),
                        spill.Add(line)});
    }
  }

  // The meetings a round at a time: first their runner files, then their
  // race files, so a meeting appears only with its runners in place. When a
  // meeting's files cannot be read, the meetings of the round before it are
  // still written.
  void WriteMeetings(RunnerSpill& spill) {
    std::stable_sort(found_.begin(), found_.end(),
                     [](const FoundRunner& a, const FoundRunner& b) { return a.meeting < b.meeting; });
    const std::size_t count = candidates_.size();
    std::size_t next = 0;  // first found runner of the meeting
    for (std::size_t first = 0; first < count; first += kMeetingsPerRound) {
      if (progress_) progress_->Meetings(static_cast<int>(first), static_cast<int>(count));
      if (Cancelled()) return;
      const std::size_t last = std::min(count, first + kMeetingsPerRound);
      BatchedStoreWriter runnerFiles, raceFiles;
      for (std::size_t m = first; m < last; ++m) {
        try {
          Prepare(m, spill, next, runnerFiles, raceFiles);
        } catch (const StoreError&) {
          Write(runnerFiles, raceFiles, first, m);
          throw;
        }
      }
      Write(runnerFiles, raceFiles, first, last);
    }
    if (progress_) progress_->Meetings(static_cast<int>(count), static_cast<int>(count));
  }

  // Puts meeting m's runner lines and race lines into the writers.
  void Prepare(std::size_t m, RunnerSpill& spill, std::size_t& next, BatchedStoreWriter& runnerFiles,
               BatchedStoreWriter& raceFiles) {
    Candidate& c = candidates_[m];
    const fs::path runnerFile = store_.RunnerFile(c.base);
    for (; next < found_.size() && found_[next].meeting == m; ++next) {
      const FoundRunner& f = found_[next];
      runnerFiles.PutRunnerSlot(runnerFile, WithCrLf(spill.Line(f.line)), f.race, f.horse);
      c.horsesFound[f.race - 1u] |= 1u << (f.horse - 1u);
      ++c.runners;
    }
    // A meeting none of whose runners was found still gets its runner file
    // (every slot blank), as a day loading needs one.
    std::error_code ec;
    if (c.runners == 0 && !fs::exists(runnerFile, ec))
      runnerFiles.PutRunnerSlot(runnerFile, std::string(kSeLine, ' ') + "\r\n", 1, 1);
    const fs::path raceFile = store_.RaceFile(c.base);
    for (const std::string& line : ResultsRaceLines(c.resultsFile))
      if (head::DateCourse(line) == c.dateCourse) raceFiles.MergeByRaceKey(raceFile, WithCrLf(line), true);
  }

  // Writes the runner files, then the race files, of meetings [first, last);
  // a meeting whose race file was written is made, whatever failed after it.
  void Write(BatchedStoreWriter& runnerFiles, BatchedStoreWriter& raceFiles, std::size_t first, std::size_t last) {
    runnerFiles.Flush();
    try {
      raceFiles.Flush();
    } catch (const StoreError&) {
      CountMade(first, last);
      throw;
    }
    CountMade(first, last);
  }

  void CountMade(std::size_t first, std::size_t last) {
    for (std::size_t m = first; m < last; ++m) {
      const Candidate& c = candidates_[m];
      std::error_code ec;
      if (!fs::is_regular_file(store_.RaceFile(c.base), ec)) continue;
      ++result_.meetings;
      result_.runners += c.runners;
      for (std::size_t r = 0; r < kRaces; ++r) {
        if (c.keys[r].empty()) continue;
        ++result_.races;
        const std::uint32_t all = (1u << c.registered[r]) - 1u;
        if ((c.horsesFound[r] & all) != all) ++result_.racesMissingRunners;
      }
    }
  }
};

}  // namespace

RebuildResult RebuildMeetings(const Store& store, const RebuildOptions& options, const std::atomic<bool>* cancelled,
                              RebuildProgress* progress) {
  RebuildResult result;
  try {
    Rebuild(store, options, cancelled, progress, result).Run();
  } catch (const StoreError& e) {
    result.error = e.what();
  }
  return result;
}

}  // namespace furlong
