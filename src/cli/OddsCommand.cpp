// furlong-cli odds: the "予想配当" button on the command line. Extracts one
// predicted odds archive (KOL3, KOL2 or JRDB) in its own folder and files its
// races into the store's predicted odds files.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "Command.h"
#include "imports/PredictedOdds.h"
#include "store/Encoding.h"
#include "store/Store.h"

namespace furlong::cli {
namespace {

namespace fs = std::filesystem;

struct OddsArgs {
  std::string root;
  std::string archive;
  bool from2005 = false;
};

RegisterCommand odds{
    "odds", "Import one predicted odds archive (kd3_jb*.lzh, j*.lzh, OZ*.lzh) into the store", [](CLI::App& sub) {
      auto args = std::make_shared<OddsArgs>();
      sub.add_option("--root", args->root, "Data root (the folder that holds Data)")->required();
      sub.add_option("archive", args->archive, "The LZH archive; it is extracted in its own folder")->required();
      sub.add_flag("--from-2005", args->from2005,
                   "Act as if a meeting of 2005 or later were selected (KOL fields of 8 runners or fewer then keep "
                   "their horse-pair odds)");
      return [args](CommandIo& io) {
        const fs::path root = Utf8Path(args->root);
        std::error_code ec;
        if (!fs::is_directory(root, ec)) throw StoreError(root, "no such store folder");
        Store store(root, false);
        store.Folder(store_names::kData, true);

        std::string message;
        OddsImportCallbacks callbacks;
        callbacks.message = [&](const std::string& m) { message = SjisToUtf8(m); };
        callbacks.warning = [&](const std::string& w) { io.err << "warning: " << w << "\n"; };
        OddsImportResult r = ImportPredictedOdds(store, Utf8Path(args->archive), args->from2005, callbacks);
        if (!r.extracted) {
          io.err << message << "\n";
          return kExitError;
        }
        if (r.source == OddsSource::kNone) {
          io.out << "the archive holds no predicted odds (Oz<yymmdd>.txt, kol_ods.kd2 or kol_ods.kd3): nothing filed\n";
          return kExitOk;
        }
        if (!message.empty()) io.out << message << "\n";
        io.out << r.filedLines << " race(s) filed, " << r.skippedLines << " line(s) skipped\n";
        for (const fs::path& p : r.oddsFiles) io.out << "  " << PathUtf8(p) << "\n";
        return kExitOk;
      };
    }};

}  // namespace
}  // namespace furlong::cli
