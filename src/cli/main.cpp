#include <iostream>

#include "Command.h"

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // Everything furlong-cli prints is UTF-8.
  SetConsoleOutputCP(CP_UTF8);
#endif
  return furlong::cli::RunCli(argc, argv, std::cout, std::cerr);
}
