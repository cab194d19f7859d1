#include "store/CommandLine.h"

namespace furlong {

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

void UseUtf8StandardStreams() {}

}  // namespace furlong
