// furlong-cli report: the "的中" and "穴的中" buttons on the command line.
// Analyses every meeting of a date and writes the hit report and hit log.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "Command.h"
#include "analysis/MeetingFlow.h"
#include "reports/HitReport.h"
#include "store/Encoding.h"
#include "store/Store.h"

namespace furlong::cli {
namespace {

namespace fs = std::filesystem;

struct ReportArgs {
  std::string root;
  std::string date;
  bool longshot = false;
};

RegisterCommand report{
    "report", "Write the hit report of a meeting date (HPupload/TK*.txt) and append to the hit log",
    [](CLI::App& sub) {
      auto args = std::make_shared<ReportArgs>();
      sub.add_option("--root", args->root, "Data root (the folder that holds Data)")->required();
      sub.add_option("--date", args->date, "The date as the calendar shows it: yyyy年mm月dd日")->required();
      sub.add_flag("--longshot", args->longshot, "穴的中: only wides over 3000 yen and quinellas over 5000 yen");
      return [args](CommandIo& io) {
        const fs::path root = Utf8Path(args->root);
        std::error_code ec;
        if (!fs::is_directory(root, ec)) throw StoreError(root, "no such store folder");
        const std::string date = Utf8ToSjis(args->date);
        if (date.size() != 14) {
          io.err << "--date must read yyyy年mm月dd日, e.g. 2024年11月16日\n";
          return kExitUsage;
        }
        Store store(root, false);
        auto flow = std::make_unique<MeetingFlow>(store);
        bool any = false;
        for (const std::string& m : flow->MakeDataListBtnClick()) any = any || m.compare(0, 14, date) == 0;
        if (!any) {
          io.err << "no meeting on " << args->date << " in the store\n";
          return kExitError;
        }
        MeetingFlowCallbacks callbacks;
        callbacks.message = [&](const std::string& m) { io.err << SjisToUtf8(m) << "\n"; };
        callbacks.warning = [&](const std::string& w) { io.err << "warning: " << w << "\n"; };
        HitReportResult r = RunHitReport(store, *flow, date, args->longshot ? HitReportKind::kLongshot : HitReportKind::kAll,
                                         callbacks);
        if (!r.written) {
          io.out << "no hit on " << args->date << ": nothing written\n";
          return kExitOk;
        }
        io.out << PathUtf8(r.reportPath) << "\n";
        return kExitOk;
      };
    }};

}  // namespace
}  // namespace furlong::cli
