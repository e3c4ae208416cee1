#pragma once
// The program's arguments as UTF-8. On Windows the narrow argv holds the ANSI code page's
// rendering (a name outside it is lost); the wide command line holds every name.
#include <string>
#include <vector>

namespace bw::tools {

std::vector<std::string> CommandLineUtf8(int argc, char** argv);

}  // namespace bw::tools
