#include <iostream>

#include "Command.h"

int main(int argc, char** argv) { return furlong::cli::RunCli(argc, argv, std::cout, std::cerr); }
