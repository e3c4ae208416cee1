#include <cstdio>
#include <cstdlib>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#define BW_ISATTY _isatty
#define BW_FILENO _fileno
#else
#include <unistd.h>
#define BW_ISATTY isatty
#define BW_FILENO fileno
#endif

#include "tools/extract/CommandLineUtf8.h"
#include "tools/extract/ExtractCommand.h"

namespace {

bw::tools::TStopSignals gSignals;

}  // namespace

int main(int argc, char** argv) {
  bw::tools::InstallStopHandlers(gSignals);
  const std::vector<std::string> args = bw::tools::CommandLineUtf8(argc, argv);
  const std::string language =
      bw::tools::LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
  const bw::tools::TCliTerminal terminal{&std::cin, &std::cerr, BW_ISATTY(BW_FILENO(stdin)) != 0,
                                         BW_ISATTY(BW_FILENO(stderr)) != 0, BW_FILENO(stdin)};
  int status = bw::tools::RunExtractCommand(args, language, terminal, std::cout, &gSignals);
  // What the C library still buffers must reach the output too, or the run failed.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    if (status == bw::tools::kExitOk) std::cerr << "brindlewick-extract: the report could not be written to standard output\n";
    if (status == bw::tools::kExitOk) status = bw::tools::kExitFailed;
  }
  return status;
}
