#pragma once
// Command line of brindlewick-extract.
#include <string>
#include <vector>

namespace bw::tools {

struct TCliOptions {
  std::string Language = "EN";  // "FR" or "EN": only the first letter counts
  bool Json = false;
  bool Quiet = false;
  bool Yes = false;
  bool Structure = false;  // read the source as a compound file (--structure)
  bool Help = false;
  std::vector<std::string> Files;
};

enum class TParseStatus { Ok, BadUsage };

struct TParseResult {
  TParseStatus Status = TParseStatus::Ok;
  std::string Message;  // what was wrong, for the usage error
};

// The language when no --lang is given: French when the locale (LC_ALL, LC_MESSAGES, LANG,
// the first one set) starts with "fr".
std::string LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);

TParseResult ParseCommandLine(const std::vector<std::string>& args, const std::string& defaultLanguage,
                              TCliOptions& options);

std::string UsageText();

}  // namespace bw::tools
