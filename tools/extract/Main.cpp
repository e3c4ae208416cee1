#include <csignal>
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

#include "tools/extract/ExtractCommand.h"

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int /*signal*/) { gInterrupted = 1; }

}  // namespace

int main(int argc, char** argv) {
  std::signal(SIGINT, OnInterrupt);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::string language =
      bw::tools::LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
  const bw::tools::TCliTerminal terminal{&std::cin, &std::cerr, BW_ISATTY(BW_FILENO(stdin)) != 0,
                                         BW_ISATTY(BW_FILENO(stderr)) != 0};
  return bw::tools::RunExtractCommand(args, language, terminal, std::cout, &gInterrupted);
}
