#pragma once
// Conversion of legacy horse master files (1577-byte records) into the
// current layout (1609-byte records).
#include <filesystem>
#include <string>
#include <string_view>

namespace furlong {

// One legacy record (with or without its CR LF) as a current-layout line of
// 1607 bytes without CR LF. Three narrower fields are widened by two leading
// blanks; everything else is copied unchanged.
std::string ConvertLegacyHorseMasterRecord(std::string_view legacy);

// Converts every record of the legacy file into the horse master file,
// replacing it. Writes nothing when the legacy file is missing or holds no
// whole record. Returns the number of lines written. Throws StoreError.
int ConvertHorseMaster(const std::filesystem::path& legacyPath, const std::filesystem::path& masterPath);

}  // namespace furlong
