#include "tools/extract/CliOptions.h"

namespace bw::tools {

std::string LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang}) {
    if (value == nullptr || *value == '\0') continue;
    const std::string text(value);
    return text.rfind("fr", 0) == 0 ? "FR" : "EN";
  }
  return "EN";
}

TParseResult ParseCommandLine(const std::vector<std::string>& args, const std::string& defaultLanguage,
                              TCliOptions& options) {
  options = TCliOptions();
  options.Language = defaultLanguage;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      options.Files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--json") {
      options.Json = true;
    } else if (arg == "--quiet" || arg == "-q") {
      options.Quiet = true;
    } else if (arg == "--yes" || arg == "-y") {
      options.Yes = true;
    } else if (arg == "--structure") {
      options.Structure = true;
    } else if (arg == "--help" || arg == "-h") {
      options.Help = true;
    } else if (arg == "--lang" || arg.rfind("--lang=", 0) == 0) {
      std::string value;
      if (arg == "--lang") {
        if (i + 1 >= args.size()) return {TParseStatus::BadUsage, "--lang needs a value: en or fr"};
        value = args[++i];
      } else {
        value = arg.substr(7);
      }
      if (value == "en" || value == "EN") {
        options.Language = "EN";
      } else if (value == "fr" || value == "FR") {
        options.Language = "FR";
      } else {
        return {TParseStatus::BadUsage, "unknown language '" + value + "' (en or fr)"};
      }
    } else {
      return {TParseStatus::BadUsage, "unknown option '" + arg + "'"};
    }
  }
  if (options.Files.empty() && !options.Help) return {TParseStatus::BadUsage, "no file given"};
  return {};
}

std::string UsageText() {
  return "usage: brindlewick-extract [options] FILE...\n"
         "Writes the pictures and sounds found in each FILE into a folder beside it.\n"
         "  --yes        write into an output folder that exists already, without asking\n"
         "  --lang en|fr language of the messages (default: from the locale)\n"
         "  --json       print one JSON report on standard output\n"
         "  --structure  read the presentation's own structure: every picture and sound whole\n"
         "  --quiet      print errors only\n"
         "  --help       show this text\n"
         "Exit status: 0 every file processed, 1 some file failed, 2 bad usage.\n";
}

}  // namespace bw::tools
