#include "jvlink/JVResultMessage.h"
#include "jvlink/RecordFiling.h"

#include <exception>

#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/RecordLayout.h"

namespace furlong {

namespace {

// The data kind number: column 3 read as a number, so "1" to "9" give 1 to 9
// and "0", letters and spaces give 0.
int DataKindNumber(std::string_view rec) {
  std::string_view c = head::DataKind(rec);
  return c.size() == 1 && c[0] >= '0' && c[0] <= '9' ? c[0] - '0' : 0;
}

// Data kinds of final results: "7", "A" and "B".
bool IsResultsKind(std::string_view rec) {
  std::string_view c = head::DataKind(rec);
  return c == "7" || c == "A" || c == "B";
}

int RaceNumber(std::string_view rec) { return FieldNumber(rec, head::kRaceNumber); }
int HorseNumber(std::string_view se) { return FieldNumber(se, se::kHorseNumber); }
int RaceDateNumber(std::string_view rec) { return FieldNumber(rec, head::kDate); }

// A field shown in a list line: control bytes would break the line.
std::string Shown(std::string_view field) {
  std::string out(field);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return out;
}

const std::string& Filed() { return SJ("作成済み:"); }
const std::string& NotFiled() { return SJ("未作成:"); }

// "作成済み:" + race number + "R/" + file name.
std::string RaceLine(std::string_view rec, std::string_view fileName) {
  return Filed() + std::string(head::RaceNumber(rec)) + "R/" + std::string(fileName);
}

// The meeting files take their name from the date and racecourse columns.
bool MeetingFieldsSafe(std::string_view rec) { return head::DateCourse(rec).size() == 10 && IsPathSafe(head::DateCourse(rec)); }

std::string UnsafeLine(const std::string& fileKind, std::string_view field) {
  return NotFiled() + fileKind + SJ("/ファイル名に使えない文字があります(") + Shown(field) + ")";
}

}  // namespace

int CutoffDate(const LocalDateTime& now) {
  return static_cast<int>(ReadNumber(FormatDate8(AddDays(now, -4))));
}

RecordFiler::RecordFiler(const Store& store, StoreWriter& writer, int cutoffDate)
    : store_(store), writer_(writer), cutoff_(cutoffDate) {}

const RecordFiler::MeetingFile& RecordFiler::MeetingFileOf(std::string_view rec, std::string_view extension) {
  std::string name = MeetingBaseName(rec);
  name += extension;
  auto found = meetingFiles_.find(name);
  if (found != meetingFiles_.end()) return found->second;
  std::string_view base = std::string_view(name).substr(0, name.size() - extension.size());
  std::filesystem::path path = extension == ".jvRA"    ? store_.RaceFile(base)
                               : extension == ".jvSEr" ? store_.RunnerFile(base)
                                                       : store_.PayoutFile(base);
  return meetingFiles_.emplace(name, MeetingFile{std::move(path), name}).first->second;
}

void RecordFiler::EnsureYearFolder(std::string_view folder, std::string_view year) {
  std::string key(folder);
  key += '/';
  key += year;
  if (yearFolders_.count(key)) return;
  store_.YearFolder(folder, year, true);
  yearFolders_.insert(std::move(key));
}

bool RecordFiler::WellFormed(std::string_view rec, std::string_view type, const LineSink& listLine) {
  std::size_t expected = RecordLength(type);
  if (rec.size() != expected) {
    listLine(NotFiled() + std::string(type) + SJ("レコードの長さが不正です(") + std::to_string(rec.size()) +
             SJ("バイト)"));
    return false;
  }
  // One line ending in CR LF: a line break inside would split the line in
  // the store and shift every record after it.
  std::string_view line = rec.substr(0, rec.size() - 2);
  if (rec.substr(rec.size() - 2) != "\r\n" || line.find('\r') != std::string_view::npos ||
      line.find('\n') != std::string_view::npos) {
    listLine(NotFiled() + std::string(type) + SJ("レコードの改行が不正です"));
    return false;
  }
  return true;
}

// The race and payout files hold one line per race, merged by race key.
void RecordFiler::FileByRaceKey(std::string_view rec, const std::string& zeroed, const LineSink& listLine,
                                bool raceFile) {
  if (!MeetingFieldsSafe(rec)) {
    listLine(UnsafeLine(raceFile ? SJ("レースファイル") : SJ("払戻ファイル"), head::DateCourse(rec)));
    return;
  }
  const MeetingFile& file = MeetingFileOf(rec, raceFile ? ".jvRA" : ".jvHR");
  writer_.MergeByRaceKey(file.path, zeroed, raceFile);
  ++filings_;
  Claim(file.path, RaceLine(rec, file.name));
}

void RecordFiler::FileRunnerFile(std::string_view rec, const LineSink& listLine) {
  int race = RaceNumber(rec), horse = HorseNumber(rec);
  if (race > 12 || horse < 1 || horse > 18) {
    listLine(NotFiled() + std::string(head::RaceNumber(rec)) + "R/" + Shown(se::HorseNumber(rec)) +
             SJ("番/出走馬ファイルに該当する枠がありません"));
    return;
  }
  if (!MeetingFieldsSafe(rec)) {
    listLine(UnsafeLine(SJ("出走馬ファイル"), head::DateCourse(rec)));
    return;
  }
  const MeetingFile& file = MeetingFileOf(rec, ".jvSEr");
  writer_.PutRunnerSlot(file.path, rec, race, horse);
  ++filings_;
  Claim(file.path, Filed() + std::string(head::RaceNumber(rec)) + "R/" + std::string(se::HorseNumber(rec)) + SJ("番/") +
           file.name);
}

void RecordFiler::Claim(const std::filesystem::path& path, const std::string& line) {
  writer_.List(path, line, *sink_);
}

void RecordFiler::FileImported(std::string_view rec, const LineSink& sink) {
  // Every line goes through the writer, so that the list keeps its order and
  // claims only files that were written.
  sink_ = &sink;
  const LineSink listLine = [&](const std::string& l) { writer_.List({}, l, sink); };
  std::string_view type = RecordType(rec);
  if (type != "RA" && type != "SE" && type != "HR" && type != "UM") return;
  if (!WellFormed(rec, type, listLine)) return;

  // Every test reads the record as received; only the written copies of the
  // race, payout, results race and horse history files carry a zeroed stamp.
  const int kind = DataKindNumber(rec);
  const bool recent = RaceDateNumber(rec) > cutoff_;
  const bool results = IsResultsKind(rec);
  const int race = RaceNumber(rec);
  std::string zeroed;
  auto zero = [&]() -> const std::string& {
    if (zeroed.empty()) zeroed = ZeroRecordStamp(rec);
    return zeroed;
  };

  // 1. Race file.
  if (type == "RA" && ((kind >= 1 && kind <= 6) || (recent && kind != 0)) && race > 0)
    FileByRaceKey(rec, zero(), listLine, true);

  // 2. Runner file.
  if (type == "SE" && ((kind >= 1 && kind <= 6) || recent) && race > 0) FileRunnerFile(rec, listLine);

  // 3. Payout file.
  if (type == "HR" && race > 0) FileByRaceKey(rec, zero(), listLine, false);

  // 4. Results race file.
  if (type == "RA" && results) {
    std::filesystem::path path;
    try {
      path = store_.ResultsRaceFile(rec);
    } catch (const RefusedRecord&) {
      listLine(UnsafeLine(SJ("成績レースファイル"), head::DateCourse(rec)));
      path.clear();
    }
    if (!path.empty()) {
      EnsureYearFolder(store_names::kSeir, head::Year(rec));
      writer_.MergeByRaceKey(path, zero(), false);
      ++filings_;
      Claim(path, RaceLine(rec, std::string(head::DateCourse(rec)) + ".jvSERA"));
    }
  }

  // 5. Horse history file.
  if (type == "SE" && results) {
    std::string_view id = SeHorseId(rec);
    std::filesystem::path path;
    try {
      path = store_.HorseHistoryFile(id);
    } catch (const RefusedRecord&) {
      listLine(UnsafeLine(SJ("競走馬成績ファイル"), id));
    }
    if (!path.empty()) {
      EnsureYearFolder(store_names::kSei, id.substr(0, 4));
      writer_.MergeByRaceKey(path, zero(), false);
      ++filings_;
      Claim(path, Filed() + std::string(head::Year(rec)) + SJ("年") + std::string(head::Month(rec)) + SJ("月") +
               std::string(head::Day(rec)) + SJ("日") + std::string(CourseName(head::Course(rec))) +
               std::string(head::RaceNumber(rec)) + "R/" + std::string(id) + ".jvSEI");
    }
  }

  // 6. Horse master file.
  if (type == "UM") {
    std::string_view id = UmHorseId(rec);
    std::filesystem::path path;
    try {
      path = store_.HorseMasterFile(id);
    } catch (const RefusedRecord&) {
      listLine(UnsafeLine(SJ("競走馬マスタファイル"), id));
    }
    if (!path.empty()) {
      EnsureYearFolder(store_names::kUm2, id.substr(0, 4));
      writer_.ReplaceWholeFile(path, rec);
      ++filings_;
      Claim(path, Filed() + std::string(id) + ".jvUM2");
    }
  }
}

void RecordFiler::FileResult(std::string_view rec, const LineSink& sink) {
  sink_ = &sink;
  const LineSink listLine = [&](const std::string& l) { writer_.List({}, l, sink); };
  std::string_view type = RecordType(rec);
  if (type != "RA" && type != "SE" && type != "HR") return;
  if (!WellFormed(rec, type, listLine)) return;
  const int race = RaceNumber(rec);
  if (race <= 0) return;
  if (type == "HR") {
    FileByRaceKey(rec, ZeroRecordStamp(rec), listLine, false);
  } else if (type == "RA") {
    FileByRaceKey(rec, ZeroRecordStamp(rec), listLine, true);
  } else if (HorseNumber(rec) > 0) {
    FileRunnerFile(rec, listLine);
  }
}

ReadAndFileResult ReadAndFile(JVLink& jv, const Store& store, StoreWriter& writer, int readCount, const Clock& clock,
                              const std::atomic<bool>& cancelled, ImportUi& ui) {
  ReadAndFileResult result;
  const std::string total = std::to_string(readCount);
  ui.Status(SJ("データ読込み中．．．(0/") + total + ")");
  ui.ReadRange(readCount);
  ui.ReadPosition(0);
  RecordFiler filer(store, writer, CutoffDate(clock()));
  auto listLine = [&ui](const std::string& line) { ui.ListLine(line); };

  // A flush of many files lets window messages run too, so the window
  // stays responsive while a JV-Link file's filings are written.
  writer.SetWhileWriting([&ui] { ui.ProcessEvents(); });
  struct Unset {
    StoreWriter& w;
    ~Unset() { w.SetWhileWriting({}); }
  } unset{writer};
  // A flush within the loop that fails ends it as a store failure.
  auto flushed = [&]() {
    try {
      writer.Flush();
      return true;
    } catch (const std::exception& e) {
      result.end = ReadEnd::StoreFailed;
      result.error = e.what();
      return false;
    }
  };

  std::string record, fileName;
  for (;;) {
    // Also before a repeated read while JV-Link is still busy, so that the
    // window stays responsive and a cancel gets through.
    ui.ProcessEvents();
    if (cancelled.load()) {
      result.end = ReadEnd::Cancelled;
      break;
    }
    int r = jv.JVRead(record, fileName, kJVReadBufferSize);
    result.code = r;
    if (r > 0) {
      ++result.records;
      try {
        filer.FileImported(record, listLine);
      } catch (const std::exception& e) {
        result.end = ReadEnd::StoreFailed;
        result.error = e.what();
        break;
      }
      if (writer.HeldBytes() > kImportHeldBytes && !flushed()) break;
    } else if (r == kJVReadFileSwitch) {
      if (!flushed()) break;
      ++result.filesRead;
      ui.ReadPosition(result.filesRead);
      ui.Status(SJ("データ読込み中．．．(") + std::to_string(result.filesRead) + "/" + total + ")");
    } else if (r == kJVReadEnd) {
      result.end = ReadEnd::Finished;
      break;
    } else if (r < kJVReadDownloading) {
      result.end = ReadEnd::ReadError;
      break;
    }
  }

  // Whatever ended the loop, what was filed reaches the disk first.
  std::string flushError;
  try {
    writer.Flush();
  } catch (const std::exception& e) {
    flushError = e.what();
  }

  switch (result.end) {
    case ReadEnd::Finished:
      if (flushError.empty()) {
        ui.Status("JVRead EndOfFile :0");
        ui.Status(SJ("データ読込み完了(") + std::to_string(result.filesRead) + "/" + total + ")");
        ui.DownloadPosition(0);
        ui.ReadPosition(0);
        ui.Beep();
      }
      break;
    case ReadEnd::ReadError:
      ui.Beep();
      ui.Message(SJ("JVReadエラー:") + JVResultMessage("JVRead", result.code), true);
      break;
    case ReadEnd::StoreFailed:
      ui.Beep();
      ui.Message(Utf8ToSjis(result.error), true);
      break;
    case ReadEnd::Cancelled:
      break;
  }
  if (!flushError.empty()) {
    if (result.end != ReadEnd::StoreFailed) {
      result.end = ReadEnd::StoreFailed;
      result.error = flushError;
      ui.Beep();
      ui.Message(Utf8ToSjis(flushError), true);
    }
  }
  return result;
}

}  // namespace furlong
