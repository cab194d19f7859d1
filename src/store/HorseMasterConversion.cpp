#include "store/HorseMasterConversion.h"

#include <vector>

#include "store/Record.h"
#include "store/Store.h"

namespace furlong {

namespace {
constexpr std::size_t kNewLine = kUmLength - 2;        // 1607
constexpr std::size_t kOldLine = kLegacyUmLength - 2;  // 1575

// Old columns from..to, padded with spaces if the record is shorter.
void Copy(std::string& out, std::string_view rec, std::size_t from, std::size_t to) {
  std::string_view f = Field(rec, from, to);
  out.append(f);
  out.append((to - from + 1) - f.size(), ' ');
}
}  // namespace

std::string ConvertLegacyHorseMasterRecord(std::string_view legacy) {
  std::string_view rec = legacy.substr(0, legacy.size() < kOldLine ? legacy.size() : kOldLine);
  std::string out;
  out.reserve(kNewLine);
  Copy(out, rec, 1, 204);
  for (std::size_t i = 0; i < 14; ++i) {
    out += "  ";
    Copy(out, rec, 205 + 44 * i, 212 + 44 * i);  // breeding registration number, 8
    Copy(out, rec, 213 + 44 * i, 248 + 44 * i);  // name, 36
  }
  Copy(out, rec, 821, 854);
  out += "  ";
  Copy(out, rec, 855, 860);  // breeder code
  out += "  ";
  Copy(out, rec, 861, 930);  // breeder name
  Copy(out, rec, 931, 1575);
  return out;
}

int ConvertHorseMaster(const std::filesystem::path& legacyPath, const std::filesystem::path& masterPath) {
  RecordFile legacy;
  if (!legacy.Open(legacyPath, kLegacyUmLength)) return 0;
  std::string content;
  std::vector<char> buf(kLegacyUmLength);
  int lines = 0;
  for (std::size_t n = 0; n < legacy.Count(); ++n) {
    legacy.Read(n, buf.data());
    content += ConvertLegacyHorseMasterRecord(std::string_view(buf.data(), buf.size()));
    content += "\r\n";
    ++lines;
  }
  legacy.Close();
  if (lines > 0) WriteFileAtomically(masterPath, content);
  return lines;
}

}  // namespace furlong
