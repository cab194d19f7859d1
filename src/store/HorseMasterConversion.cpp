#include "store/HorseMasterConversion.h"

#include <vector>

#include "store/Record.h"
#include "store/RecordLayout.h"
#include "store/Store.h"
#include "store/TextLines.h"

namespace furlong {

namespace {
constexpr std::size_t kNewLine = kUmLength - 2;        // 1607
constexpr std::size_t kOldLine = kLegacyUmLength - 2;  // 1575

// The old field, padded with spaces to its width if the record is shorter,
// right-aligned in the new span.
void Convert(std::string& out, FieldSpan to, std::string_view rec, FieldSpan from) {
  const std::string_view f = Field(rec, from);
  std::string field(to.size() - from.size(), ' ');
  field.append(f);
  field.append(from.size() - f.size(), ' ');
  out.replace(to.from - 1, to.size(), field);
}
}  // namespace

std::string ConvertLegacyHorseMasterRecord(std::string_view legacy) {
  std::string_view rec = legacy.substr(0, legacy.size() < kOldLine ? legacy.size() : kOldLine);
  std::string out(kNewLine, ' ');
  Convert(out, um::kHead, rec, uma::kHead);
  for (std::size_t i = 0; i < uma::kAncestors; ++i) {
    const FieldSpan oldAncestor = uma::kAncestor.Nth(i, uma::kAncestor.size());
    const FieldSpan newAncestor = um::kAncestor.Nth(i, um::kAncestor.size());
    Convert(out, newAncestor.Part(um::kAncestorId.from, um::kAncestorId.to), rec,
            oldAncestor.Part(uma::kAncestorId.from, uma::kAncestorId.to));
    Convert(out, newAncestor.Part(um::kAncestorName.from, um::kAncestorName.to), rec,
            oldAncestor.Part(uma::kAncestorName.from, uma::kAncestorName.to));
  }
  Convert(out, um::kAfterPedigree, rec, uma::kAfterPedigree);
  Convert(out, um::kBreederCode, rec, uma::kBreederCode);
  Convert(out, um::kBreederName, rec, uma::kBreederName);
  Convert(out, um::kAfterBreeder, rec, uma::kAfterBreeder);
  return out;
}

int ConvertHorseMaster(const std::filesystem::path& legacyPath, const std::filesystem::path& masterPath) {
  RecordFile legacy;
  if (!legacy.Open(legacyPath, kLegacyUmLength)) return 0;
  std::vector<std::string> lines;
  std::vector<char> buf(kLegacyUmLength);
  for (std::size_t n = 0; n < legacy.Count(); ++n) {
    legacy.Read(n, buf.data());
    lines.push_back(ConvertLegacyHorseMasterRecord(std::string_view(buf.data(), buf.size())));
  }
  legacy.Close();
  if (!lines.empty()) WriteFileAtomically(masterPath, JoinLinesCrLf(lines));
  return static_cast<int>(lines.size());
}

}  // namespace furlong
