// furlong-cli results: the "結果情報" fetch on the command line. Files the
// confirmed results of one race date into the store and prints what it filed.
#include <CLI/CLI.hpp>

#include <atomic>
#include <memory>
#include <ostream>

#include "Command.h"
#include "JVLinkCli.h"
#include "jvlink/JVResultMessage.h"
#include "jvlink/ResultsFetch.h"
#include "jvlink/ImportTime.h"

namespace furlong::cli {
namespace {

class ListUi final : public ImportUi {
 public:
  ListUi(CommandIo& io, std::atomic<bool>& cancel) : io_(io), cancel_(cancel) {}
  void ListLine(const std::string& line) override { io_.out << SjisToUtf8(line) << "\n"; }
  void ProcessEvents() override {
    if (InterruptGuard::Interrupted()) cancel_ = true;
  }

 private:
  CommandIo& io_;
  std::atomic<bool>& cancel_;
};

struct ResultsArgs {
  std::string root;
  std::string date;
  std::string feed;
};

RegisterCommand resultsCommand{
    "results", "Fetch and file the results of one race date through JV-Link", [](CLI::App& sub) {
      auto args = std::make_shared<ResultsArgs>();
      sub.add_option("--root", args->root, "Data root (created with its folders when missing)")->required();
      sub.add_option("--date", args->date, "Race date yyyymmdd")
          ->required()
          ->check(CLI::Validator(
              [](std::string& value) -> std::string {
                return ParseDate8(value) ? std::string() : "the date must be yyyymmdd, a real date";
              },
              "yyyymmdd"));
      sub.add_option("--jvlink-feed", args->feed, "Feed folder of the JV-Link stand-in (see docs/jvlink-feed.md)");
      return [args](CommandIo& io) {
        const std::filesystem::path root = Utf8Path(args->root);
        Store store(root);
        TIniGT settings(SettingsFileOf(root), TDefaultDir::ddNone);
        auto jv = OpenJVLink(io, root, settings, args->feed);
        if (!jv) return kExitError;

        InterruptGuard interrupt;
        std::atomic<bool> cancel{false};
        ListUi ui(io, cancel);
        ResultsFetchResult r = FetchResults(*jv, store, args->date, ui, &cancel);
        if (!r.error.empty()) {
          io.err << r.error << "\n";
          return kExitError;
        }
        if (r.openCode == kJVOpenNoData) {
          io.out << "No results for " << args->date << ":" << SjisToUtf8(JVResultMessage("JVRTOpen", r.openCode))
                 << "\n";
          return kExitOk;
        }
        if (r.openCode != 0) {
          io.err << SjisToUtf8(SJ("JVRTOpenエラー:") + JVResultMessage("JVRTOpen", r.openCode)) << "\n";
          return kExitError;
        }
        if (r.readCode < kJVReadDownloading) {
          io.err << SjisToUtf8(SJ("JVReadエラー:") + JVResultMessage("JVRead", r.readCode)) << "\n";
          io.err << "Stopped after " << r.records << " records; " << r.filings << " filed\n";
          return kExitError;
        }
        if (r.cancelled) {
          io.err << "Cancelled after " << r.records << " records; " << r.filings << " filed\n";
          return kExitError;
        }
        io.out << "Read " << r.records << " records, filed " << r.filings << "\n";
        return kExitOk;
      };
    }};

}  // namespace
}  // namespace furlong::cli
