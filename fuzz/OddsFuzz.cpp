// The predicted odds import: the field conversions, the JRDB and KOL source
// conversions through an archive, and the filing into existing .yoz files.
// Parts: flags (first byte: source and year), an existing odds file of the
// meeting 2024年01月05日中山, the source text.
#include <cstdint>
#include <set>

#include "FuzzSupport.h"
#include "imports/LzhArchive.h"
#include "imports/PredictedOdds.h"
#include "store/Encoding.h"

using namespace furlong;
using namespace furlong::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Store store(Root());
  ClearStore();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> parts = Parts(input, 3);
  const unsigned flags = parts[0].empty() ? 0 : static_cast<unsigned char>(parts[0][0]);
  const std::string_view source = parts[2];

  for (std::size_t at = 0; at + 7 <= source.size() && at < 70; at += 7) {
    if (KolWinOdds(source.substr(at, 5)).size() != 6 || KolQuinellaOdds(source.substr(at, 7)).size() != 8 ||
        KolBracketAsQuinella(source.substr(at, 5)).size() != 8)
      Broken("an odds field of the wrong width", "");
  }
  if (source.size() >= kJrdbLineLength && JrdbOddsRecord(source, "240105").size() != kOddsLineLength)
    Broken("a JRDB record of the wrong length", "");
  if (source.size() >= kKolLineLength && KolOddsRecord(source, flags & 4).size() != kOddsLineLength)
    Broken("a KOL record of the wrong length", "");

  const fs::path existing = store.OddsFile(Utf8ToSjis("2024年01月05日中山"));
  if (!parts[1].empty()) WriteBytes(existing, parts[1]);
  static const char* const kArchives[] = {"OZ240105.lzh", "j240105.lzh", "kd3_jb240105.lzh"};
  static const char* const kMembers[] = {"Oz240105.txt", "kol_ods.kd2", "kol_ods.kd3"};
  const unsigned kind = flags % 3;
  const fs::path folder = Sandbox() / "archive";
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder);
  const fs::path archive = folder / kArchives[kind];
  WriteBytes(archive, MakeStoredLzhArchive({{kMembers[kind], std::string(source.empty() ? "\n" : source)}}));
  std::set<fs::path> written;
  try {
    OddsImportResult r = ImportPredictedOdds(store, archive, flags & 4);
    written.insert(r.oddsFiles.begin(), r.oddsFiles.end());
  } catch (const StoreError&) {
  } catch (const RefusedRecord&) {
  }
  RecordFile odds;
  for (const fs::path& p : written) {
    if (!odds.Open(p, kOddsLength) || odds.Count() != 12) Broken("an odds file that does not read as 12 races", p);
    std::string all;
    odds.ReadAll(all);
  }
  CheckStore({"root", "archive"}, [&](const fs::path& p) { return written.count(p) > 0; });
  return 0;
}
