#include <iostream>
#include <string>
#include <vector>

#include "Command.h"
#include "store/CommandLine.h"

int main(int argc, char** argv) {
  // Everything furlong-cli reads and prints is UTF-8.
  furlong::UseUtf8StandardStreams();
  const std::vector<std::string> args = furlong::Utf8Arguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& a : args) pointers.push_back(a.c_str());
  return furlong::cli::RunCli(static_cast<int>(pointers.size()), pointers.data(), std::cout, std::cerr);
}
