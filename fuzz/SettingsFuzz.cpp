// The settings reader: any bytes as furlong.ini are read without harm, and a
// value written into them reads back as written.
#include <cstdint>

#include "FuzzSupport.h"
#include "store/IniGT.h"

using namespace furlong;
using namespace furlong::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const fs::path file = Root() / "furlong.ini";
  WriteBytes(file, input);
  TIniGT ini(file, TDefaultDir::ddNone);
  (void)ini.ReadString("JvDataGet", "LastTime", "");
  (void)ini.ReadInteger("Form", "Top", 7);
  (void)ini.ReadString("Dir", "yoso", "x");
  bool written = false;
  try {
    ini.WriteString("JvDataGet", "LastTime", "2024/03/03 18:00:00");
    written = true;
  } catch (const StoreError&) {
    // Bytes that are no INI text are not replaced.
  }
  if (written && ini.ReadString("JvDataGet", "LastTime", "") != "2024/03/03 18:00:00")
    Broken("a written setting does not read back", file);
  CheckStore({"root"}, [](const fs::path&) { return false; });
  return 0;
}
