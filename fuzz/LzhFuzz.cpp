// LZH archive reading and member names: any bytes are read without harm, and
// an extraction writes plain files into the archive's folder only.
#include <cstdint>

#include "FuzzSupport.h"
#include "imports/LzhArchive.h"
#include "store/Encoding.h"

using namespace furlong;
using namespace furlong::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const fs::path folder = Sandbox() / "archive";
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder);
  try {
    for (const LzhMember& m : ReadLzhArchive(input)) {
      std::string reason;
      const std::string name = LzhMemberFileName(m.name, &reason);
      // (A "\\" byte may be the second byte of a two-byte character.)
      const fs::path file = SjisPath(name);
      if (!name.empty() && (file.has_parent_path() || file.has_root_path() || file == "." || file == ".."))
        Broken("a member name that leaves the folder", folder / file);
    }
  } catch (const LzhError&) {
  }
  const fs::path archive = folder / "OZ240105.lzh";
  WriteBytes(archive, input);
  std::size_t written = 0;
  try {
    written = ExtractLzhArchive(archive, folder).written.size();
  } catch (const LzhError&) {
  } catch (const StoreError&) {
  }
  std::size_t files = 0;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file()) Broken("an extraction made something else than a file", it->path());
    ++files;
  }
  if (files > written + 1) Broken("more files than members written", folder);
  CheckStore({"root", "archive"}, [](const fs::path&) { return false; });
  return 0;
}
