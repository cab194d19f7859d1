#pragma once
// The small base every furlong-cli subcommand is built on: one file per
// subcommand registers itself here and is run through RunCli.
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace furlong::cli {

// Exit codes: 0 success, 1 a store or data error (message on stderr), 2 bad arguments.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

struct CommandIo {
  std::ostream& out;
  std::ostream& err;
};

// A subcommand adds its options to `sub` and returns the action run when it
// is chosen. The action returns the exit code.
using CommandSetup = std::function<std::function<int(CommandIo&)>(CLI::App& sub)>;

struct CommandInfo {
  std::string name;
  std::string description;
  CommandSetup setup;
};

std::vector<CommandInfo>& CommandRegistry();

struct RegisterCommand {
  RegisterCommand(std::string name, std::string description, CommandSetup setup);
};

// The --root folder of a command that reads a store: it must exist (throws
// StoreError otherwise).
std::filesystem::path ExistingRoot(const std::string& utf8);

// Checks the --from / --to dates of a command over a range of meeting dates
// (each empty or yyyymmdd, from not after to); false after saying why on io.err.
bool DateRangeIsValid(CommandIo& io, const std::string& from, const std::string& to);

// Parses argv and runs the chosen subcommand. Store errors and bad data are
// caught and reported on `err`; never throws.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace furlong::cli
