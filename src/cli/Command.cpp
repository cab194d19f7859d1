#include "Command.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <memory>
#include <ostream>

#include "reports/Backtest.h"
#include "store/Encoding.h"
#include "store/Store.h"

namespace furlong::cli {

std::vector<CommandInfo>& CommandRegistry() {
  static std::vector<CommandInfo> registry;
  return registry;
}

RegisterCommand::RegisterCommand(std::string name, std::string description, CommandSetup setup) {
  CommandRegistry().push_back({std::move(name), std::move(description), std::move(setup)});
}

std::filesystem::path ExistingRoot(const std::string& utf8) {
  const std::filesystem::path root = Utf8Path(utf8);
  std::error_code ec;
  if (!std::filesystem::is_directory(root, ec)) throw StoreError(root, "no such store folder");
  return root;
}

bool DateRangeIsValid(CommandIo& io, const std::string& from, const std::string& to) {
  for (const std::string* d : {&from, &to})
    if (!d->empty() && !IsValidDate(*d)) {
      io.err << "日付は yyyymmdd で指定してください: " << *d << "\n";
      return false;
    }
  if (!from.empty() && !to.empty() && from > to) {
    io.err << "--from (" << from << ") が --to (" << to << ") より後です。\n";
    return false;
  }
  return true;
}

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"furlong-cli: ハロンボード command line"};
  app.require_subcommand(1);
  std::vector<std::pair<CLI::App*, std::function<int(CommandIo&)>>> actions;
  for (auto& info : CommandRegistry()) {
    CLI::App* sub = app.add_subcommand(info.name, info.description);
    actions.emplace_back(sub, info.setup(*sub));
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return kExitOk;
  } catch (const CLI::CallForAllHelp&) {
    out << app.help("", CLI::AppFormatMode::All);
    return kExitOk;
  } catch (const CLI::ParseError& e) {
    err << e.what() << "\n\n" << app.help();
    return kExitUsage;
  }
  CommandIo io{out, err};
  for (auto& [sub, action] : actions) {
    if (!sub->parsed()) continue;
    try {
      return action(io);
    } catch (const StoreError& e) {
      err << e.what() << "\n";
      return kExitError;
    } catch (const std::exception& e) {
      err << e.what() << "\n";
      return kExitError;
    }
  }
  err << app.help();
  return kExitUsage;
}

}  // namespace furlong::cli
