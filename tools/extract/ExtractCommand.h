#pragma once
// brindlewick-extract as a function: arguments in, exit status out.
#include <csignal>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/extract/CliHost.h"

namespace bw::tools {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// A report that cannot be written to `out` fails the command (kExitFailed).
int RunExtractCommand(const std::vector<std::string>& args, const std::string& defaultLanguage,
                      const TCliTerminal& terminal, std::ostream& out, const TStopSignals* signals);

}  // namespace bw::tools
