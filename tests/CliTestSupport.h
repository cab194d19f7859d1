#pragma once
// Runs furlong-cli in the test process and keeps what it wrote.
#include <sstream>
#include <string>
#include <vector>

#include "Command.h"

namespace furlong::test {

struct CliRun {
  int code = 0;
  std::string out, err;
};

inline CliRun Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "furlong-cli");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  CliRun r;
  r.code = cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

}  // namespace furlong::test
