#pragma once
// Predicted odds archives for the demo store, one of each source, so that
// the "予想配当" import can be tried on it: KOL3 (kd3_jb<yymmdd>.lzh holding
// kol_ods.kd3), KOL2 (j<yymmdd>.lzh holding kol_ods.kd2) and JRDB
// (OZ<yymmdd>.lzh holding Oz<yymmdd>.txt), written into the store's yLZH
// folder. Each covers every race of one meeting of the first date with predicted odds,
// with the odds the store's predicted odds files already give those races
// (so importing an archive and reloading the meeting shows the same odds,
// now from the meeting's own file).
#include <filesystem>
#include <string>
#include <vector>

namespace furlong {

struct DemoOddsArchive {
  std::filesystem::path path;  // the archive written
  std::string source;          // "KOL3", "KOL2" or "JRDB"
  std::string meeting;         // the meeting it covers (MeetingBaseName, UTF-8)
  int races = 0;               // source lines, one per race
};

// Writes the three archives for the meetings of the earliest date in the
// store at `root` that has predicted odds (else of its earliest date) (in calendar order: the first meeting gets KOL3, the
// second KOL2, the third JRDB; a date with fewer meetings repeats them).
// Returns nothing when the store holds no meeting. Throws StoreError on a
// file failure.
std::vector<DemoOddsArchive> WriteDemoOddsArchives(const std::filesystem::path& root);

}  // namespace furlong
