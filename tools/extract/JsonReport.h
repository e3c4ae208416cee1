#pragma once
// The --json report: one document for the whole command.
#include <cstdint>
#include <string>
#include <vector>

#include "extract/RunHost.h"
#include "extract/StructureRun.h"

namespace bw::tools {

struct TSourceReport {
  std::string Source;
  std::string Status;  // "completed", "aborted", "refused", "failed", "unreadable"
  std::string OutputFolder;
  std::int32_t Pictures = 0;
  std::int32_t Sounds = 0;
  std::vector<extract::TWrittenItem> Files;
  std::string Mode = "raw";  // "structure" when the files came from the compound file's streams
  std::string Fallback;      // why --structure fell back to the raw scan
  std::vector<extract::TStructureFile> StructureFiles;
  std::vector<std::string> Errors;
};

// A JSON string literal; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(const std::string& utf8);

std::string RenderJson(const std::vector<TSourceReport>& reports);

const char* KindName(extract::TItemKind kind);

}  // namespace bw::tools
