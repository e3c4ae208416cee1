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
  std::string Container;     // "compound", "zip" or "none": what --structure can read
  std::vector<extract::TStructureFile> StructureFiles;
  std::vector<std::string> Errors;
  std::vector<std::string> Unchecked;  // pictures kept without the picture check
};

// A JSON string literal; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(const std::string& utf8);

// `"name": "text"`; when text is not valid UTF-8 (a file name can be any bytes), a second
// member `"nameHex"` follows with its exact bytes in hexadecimal, so the report can still
// find its own files.
std::string JsonNameMember(const std::string& name, const std::string& text);

std::string RenderJson(const std::vector<TSourceReport>& reports);

const char* KindName(extract::TItemKind kind);

}  // namespace bw::tools
