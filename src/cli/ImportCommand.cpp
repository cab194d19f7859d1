// furlong-cli import: the import window's work on the command line. Prints
// the list lines of the filed records and the import's messages; on a
// terminal a progress bar shows the download and the reading.
#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <ostream>
#include <thread>

#include "Command.h"
#include "JVLinkCli.h"
#include "jvlink/ImportDriver.h"

#ifdef _WIN32
#include <io.h>
#define FURLONG_ISATTY _isatty
#define FURLONG_FILENO _fileno
#else
#include <unistd.h>
#define FURLONG_ISATTY isatty
#define FURLONG_FILENO fileno
#endif

namespace furlong::cli {
namespace {

namespace fs = std::filesystem;

// The import's ui on a terminal: list lines and notices on the output,
// errors on the error stream, the progress bar on the error stream when it
// is a terminal.
class TerminalImportUi final : public ImportUi {
 public:
  TerminalImportUi(CommandIo& io, bool progressBar) : io_(io), bar_(progressBar) {}

  std::function<void()> onProcessEvents;

  void Status(const std::string& text) override { lastStatus_ = SjisToUtf8(text); }
  void DownloadRange(int maximum) override { Set(downloadMax_, maximum); }
  void DownloadPosition(int position) override { Set(download_, position); }
  void ReadRange(int maximum) override { Set(readMax_, maximum); }
  void ReadPosition(int position) override { Set(read_, position); }
  void ListLine(const std::string& line) override {
    ClearBar();
    io_.out << SjisToUtf8(line) << "\n";
    ++lines_;
  }
  void Message(const std::string& text, bool isError) override {
    ClearBar();
    (isError ? io_.err : io_.out) << SjisToUtf8(text) << "\n";
  }
  void ProcessEvents() override {
    if (onProcessEvents) onProcessEvents();
    if (bar_ && (lines_ & 63) == 0) Draw();
  }

  // Ends the bar's line.
  void Finish() { ClearBar(); }
  const std::string& LastStatus() const { return lastStatus_; }
  long long Lines() const { return lines_; }

 private:
  void Set(int& field, int value) {
    field = value;
    Draw();
  }
  static std::string Bar(int position, int maximum) {
    constexpr int kWidth = 20;
    int filled = maximum > 0 ? static_cast<int>(static_cast<long long>(position) * kWidth / maximum) : 0;
    if (filled < 0) filled = 0;
    if (filled > kWidth) filled = kWidth;
    return "[" + std::string(static_cast<std::size_t>(filled), '#') + std::string(static_cast<std::size_t>(kWidth - filled), '.') +
           "] " + std::to_string(position) + "/" + std::to_string(maximum);
  }
  void Draw() {
    if (!bar_) return;
    io_.err << "\r\x1b[K" << "download " << Bar(download_, downloadMax_) << "  read " << Bar(read_, readMax_)
            << std::flush;
    drawn_ = true;
  }
  void ClearBar() {
    if (!drawn_) return;
    io_.err << "\r\x1b[K" << std::flush;
    drawn_ = false;
  }

  CommandIo& io_;
  bool bar_;
  bool drawn_ = false;
  int download_ = 0, downloadMax_ = 0, read_ = 0, readMax_ = 0;
  long long lines_ = 0;
  std::string lastStatus_;
};

struct ImportArgs {
  std::string root;
  std::string from;
  std::string feed;
};

CLI::Validator TimestampValidator() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        return ParseTimestamp(value) ? std::string() : "the from-time must be yyyymmddhhnnss, a real date and time";
      },
      "yyyymmddhhnnss");
}

RegisterCommand importCommand{
    "import", "Import JV-Link data into the store, as the import window does", [](CLI::App& sub) {
      auto args = std::make_shared<ImportArgs>();
      sub.add_option("--root", args->root, "Data root (created with its folders when missing)")->required();
      sub.add_option("--from", args->from,
                     "From-time yyyymmddhhnnss (default: the stored LastTime, else eight days ago)")
          ->check(TimestampValidator());
      sub.add_option("--jvlink-feed", args->feed, "Feed folder of the JV-Link stand-in (see docs/jvlink-feed.md)");
      return [args](CommandIo& io) {
        const fs::path root = Utf8Path(args->root);
        Store store(root);
        TIniGT settings(SettingsFileOf(root), TDefaultDir::ddNone);
        auto jv = OpenJVLink(io, root, settings, args->feed);
        if (!jv) return kExitError;

        const bool terminal = &io.err == &std::cerr && FURLONG_ISATTY(FURLONG_FILENO(stderr));
        TerminalImportUi ui(io, terminal);
        ImportSession session(*jv, store, settings, ui);
        InterruptGuard interrupt;
        bool cancelAsked = false;
        ui.onProcessEvents = [&] {
          if (InterruptGuard::Interrupted() && !cancelAsked && session.Running()) {
            cancelAsked = true;
            session.Cancel();
          }
        };

        LocalDateTime from = args->from.empty() ? session.LoadFromTime() : *ParseTimestamp(args->from);
        if (session.Start(from)) {
          while (session.Poll()) {
            ui.ProcessEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
          }
        }
        ui.Finish();

        const ReadAndFileResult& read = session.LastRead();
        switch (session.LastEnd()) {
          case ImportEnd::NoData:
            return kExitOk;
          case ImportEnd::Finished:
            if (session.FromTimeNotSaved()) {
              io.err << "Imported " << read.records << " records, but the next from-time could not be stored\n";
              return kExitError;
            }
            io.out << ui.LastStatus() << "\n";
            io.out << "Imported " << read.records << " records from " << read.filesRead << " of "
                   << session.ReadCount() << " files";
            if (!session.LastFileTimestamp().empty())
              io.out << "; next from-time " << settings.ReadString(kLastTimeSection, kLastTimeKey, "");
            io.out << "\n";
            return kExitOk;
          default:
            io.err << "Import ended early after " << read.records << " records; the from-time is unchanged\n";
            return kExitError;
        }
      };
    }};

}  // namespace
}  // namespace furlong::cli
