#pragma once
// The program's own edge to its command line and standard streams.
#include <string>
#include <vector>

namespace furlong {

// The program's arguments as UTF-8 texts, the program name first. On
// Windows they are read from the wide command line, since main's argv holds
// them in the system code page (Japanese names lost or mangled); elsewhere
// argv is taken as it is.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Standard output and error pass every byte as written (Windows would turn
// each LF into CR LF) and a console shows them as UTF-8.
void UseUtf8StandardStreams();

}  // namespace furlong
