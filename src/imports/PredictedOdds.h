#pragma once
// The predicted odds import: one LZH archive of KOL3 ("kd3_jb*.lzh"), KOL2
// ("j*.lzh") or JRDB ("OZ*.lzh") odds is extracted into its own folder, and
// each race line of its source file is converted into one record of the
// predicted odds file (".yoz") of its meeting in the store's Data folder.
// No widgets: the window passes the chosen archive, the YearFrom2005 flag of
// the selected meeting and a callback for the message boxes.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/IniGT.h"
#include "store/RecordLayout.h"
#include "store/Store.h"

namespace furlong {

// ---- the archive folder setting ("PAT for WIN" folder) ---------------------

// The INI section and key of the archive folder.
inline constexpr std::string_view kOddsFolderSection = "Dir";
inline constexpr std::string_view kOddsFolderKey = "yoso";

// The folder the file dialog opens on: "Dir"/"yoso", or the store's "ylzh"
// folder when the key is missing or empty.
std::filesystem::path PredictedOddsFolder(const TIniGT& ini, const Store& store);
// Writes the folder chosen in the folder picker back to "Dir"/"yoso".
void SetPredictedOddsFolder(TIniGT& ini, const std::filesystem::path& folder);

// The file dialog's single filter entry (Shift-JIS) and its patterns.
const std::string& PredictedOddsFilterText();
inline constexpr std::string_view kPredictedOddsFilterPatterns = "kd3_jb*.lzh;j*.lzh;OZ*.lzh";
// The folder picker's title (Shift-JIS).
const std::string& PredictedOddsFolderPickerTitle();

// ---- field rules -------------------------------------------------------------

inline constexpr int kHorsePairs = 153;
inline constexpr int kBracketPairs = 36;
inline constexpr std::size_t kOddsLineLength = 1459;  // a line of the .yoz file without CR LF
inline constexpr std::size_t kJrdbLineLength = jrdb::kLineLength;
inline constexpr std::size_t kKolLineLength = kol::kLineLength;

// The text of horse pair `index` (1-153) in pair order 1-2, 1-3, ... 17-18:
// both numbers right-aligned in two characters, joined by "-" (" 1- 2").
// Empty for an index outside 1-153.
std::string HorsePairText(int index);

// The number (1-36) of a bracket pair text of the same form in the order
// 1-1, 1-2, ... 1-8, 2-2, ... 8-8; 0 for a text that is no bracket pair.
int BracketPairIndex(std::string_view pairText);

// The six-byte name of a KOL racecourse code; six blanks for any other code.
std::string_view KolCourseName(std::string_view code);

// KOL odds fields: "*" and "-" handled, anything else read as tenths.
std::string KolWinOdds(std::string_view field);            // 6 characters
std::string KolQuinellaOdds(std::string_view field);       // 8 characters, from a 7-character field
std::string KolBracketAsQuinella(std::string_view field);  // 8 characters, from a 5-character bracket field

// One record (1459 characters) from a JRDB source line and the date code
// (yymmdd); the line must be at least kJrdbLineLength long.
std::string JrdbOddsRecord(std::string_view line, std::string_view dateCode);
// One record from a KOL source line (at least kKolLineLength long).
std::string KolOddsRecord(std::string_view line, bool yearFrom2005);

// Files one record as line `race` (1-12) of a predicted odds file: the file
// is loaded (or begun as 12 blank lines), the line replaced and the whole
// file written back, always as 12 lines of 1459 characters with CR LF.
void FileOddsRecord(const std::filesystem::path& oddsFile, int race, std::string_view record);

// ---- the import ----------------------------------------------------------------

struct OddsImportCallbacks {
  // An information message (Shift-JIS) to show after the system beep.
  std::function<void(const std::string& message)> message;
  // Details (UTF-8): why the archive could not be extracted, members that
  // were refused, source lines that were skipped.
  std::function<void(const std::string& warning)> warning;
};

enum class OddsSource { kNone, kJrdb, kKol2, kKol3 };

struct OddsImportResult {
  // False when nothing could be extracted ("データが解凍できませんでした。").
  bool extracted = false;
  int extractedMembers = 0;
  OddsSource source = OddsSource::kNone;  // kNone: no expected member in the archive
  int filedLines = 0;
  int skippedLines = 0;
  // The predicted odds files written, in the order first written.
  std::vector<std::filesystem::path> oddsFiles;
  // The message shown at the end (Shift-JIS), empty when none.
  std::string message;
};

// Imports one archive. `yearFrom2005` is the main window's flag of the
// selected meeting. Throws StoreError when a file cannot be read, written or
// deleted (files already written stay).
OddsImportResult ImportPredictedOdds(const Store& store, const std::filesystem::path& archive, bool yearFrom2005,
                                     const OddsImportCallbacks& callbacks = {});

}  // namespace furlong
