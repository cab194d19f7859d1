// furlong-cli rebuild-meetings: the meetings of past dates that a setup
// download filed only as results (docs/rebuilt-meetings.md).
#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "Command.h"
#include "jvlink/MeetingRebuild.h"
#include "store/Encoding.h"
#include "store/Store.h"
#include "reports/Backtest.h"

namespace furlong::cli {
namespace {

RegisterCommand rebuildMeetings{
    "rebuild-meetings",
    "Make the meetings of every date and racecourse that has results but no race file (after a setup import)",
    [](CLI::App& sub) {
      struct Options {
        std::string root, from, to;
      };
      auto o = std::make_shared<Options>();
      sub.add_option("--root", o->root, "Data root (the folder that holds Data, SEI, SEIR)")->required();
      sub.add_option("--from", o->from, "First meeting date, yyyymmdd (default: the oldest)");
      sub.add_option("--to", o->to, "Last meeting date, yyyymmdd (default: the newest)");
      return [o](CommandIo& io) {
        if (!DateRangeIsValid(io, o->from, o->to)) return kExitUsage;
        Store store(ExistingRoot(o->root), false);
        RebuildOptions options;
        if (!o->from.empty()) options.fromDate = std::stoi(o->from);
        if (!o->to.empty()) options.toDate = std::stoi(o->to);
        const RebuildResult r = RebuildMeetings(store, options);
        io.out << "開催データ作成: " << r.meetings << " 開催, " << r.races << " レース, 出走馬 " << r.runners
               << " 頭 (競走馬成績 " << r.historiesRead << " ファイル)\n";
        if (r.racesMissingRunners > 0)
          io.out << "出走馬の欠けたレース: " << r.racesMissingRunners << "\n";
        if (!r.error.empty()) {
          io.err << r.error << "\n";
          return kExitError;
        }
        return kExitOk;
      };
    }};

}  // namespace
}  // namespace furlong::cli
