#pragma once
// Fixed-width JV-Data records: field access by 1-based byte column.
// This is the only place that counts columns; everyone else names fields.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace furlong {

// Record lengths including the closing CR LF.
inline constexpr std::size_t kRaLength = 1272;
inline constexpr std::size_t kSeLength = 555;
inline constexpr std::size_t kHrLength = 719;
inline constexpr std::size_t kUmLength = 1609;
inline constexpr std::size_t kLegacyUmLength = 1577;
inline constexpr std::size_t kOddsLength = 1461;

// Bytes from..to (1-based, inclusive) of a record. Columns past the end of the
// record give a shorter (possibly empty) view: no read ever leaves the record.
constexpr std::string_view Field(std::string_view rec, std::size_t from, std::size_t to) {
  if (from < 1 || to < from || from > rec.size()) return {};
  std::size_t len = to - from + 1;
  if (from - 1 + len > rec.size()) len = rec.size() - (from - 1);
  return rec.substr(from - 1, len);
}

// The number rule of the store: the value of the decimal digits after any
// leading spaces, up to the first other character; 0 when no digit comes first.
constexpr std::int64_t ReadNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::int64_t v = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    if (v < 100000000000000000LL) v = v * 10 + (text[i] - '0');
    ++i;
  }
  return v;
}

// The value of a text made of decimal digits only (one to 18 of them);
// nothing for any other text.
constexpr std::optional<std::int64_t> DigitsValue(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::int64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

constexpr int FieldNumber(std::string_view rec, std::size_t from, std::size_t to) {
  return static_cast<int>(ReadNumber(Field(rec, from, to)));
}

// True when the text is empty or holds spaces only.
constexpr bool IsBlank(std::string_view text) {
  for (char c : text)
    if (c != ' ') return false;
  return true;
}

// The text without leading and trailing half-width spaces.
constexpr std::string_view TrimSpaces(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  return text.substr(b, e - b);
}

constexpr std::string_view RecordType(std::string_view rec) { return Field(rec, 1, 2); }
constexpr bool IsRecordType(std::string_view rec, std::string_view type) { return RecordType(rec) == type; }

// Columns 12-27 of an RA, SE or HR record.
constexpr std::string_view RaceKey(std::string_view rec) { return Field(rec, 12, 27); }
// Columns 12-19: the race date yyyymmdd.
constexpr std::string_view RaceDate(std::string_view rec) { return Field(rec, 12, 19); }
constexpr std::string_view CourseCode(std::string_view rec) { return Field(rec, 20, 21); }

// HorseId of an SE record (columns 31-40) and of a UM record (columns 12-21).
constexpr std::string_view SeHorseId(std::string_view se) { return Field(se, 31, 40); }
constexpr std::string_view UmHorseId(std::string_view um) { return Field(um, 12, 21); }

// The record length for a record type, 0 for a type the store does not keep.
constexpr std::size_t RecordLength(std::string_view type) {
  if (type == "RA") return kRaLength;
  if (type == "SE") return kSeLength;
  if (type == "HR") return kHrLength;
  if (type == "UM") return kUmLength;
  return 0;
}

// True when every byte is an ASCII digit or letter: the only characters that
// may form a store path (year folders, horse ids, dates, racecourse codes).
constexpr bool IsPathSafe(std::string_view field) {
  if (field.empty()) return false;
  for (char c : field) {
    bool ok = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!ok) return false;
  }
  return true;
}

}  // namespace furlong
