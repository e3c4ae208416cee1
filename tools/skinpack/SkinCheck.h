#pragma once
// `skinpack check DIR`: the rules a skin folder must keep before it is packed, checked the
// way the skin loader and the painters will read it, so a skin author hears of a missing
// bitmap or a frame count that does not divide before a window shows it wrongly.
#include <string>
#include <vector>

namespace bw::tools {

struct TSkinCheckReport {
  // Each names the file (and the section and key where the description is at fault) and
  // the rule it breaks.
  std::vector<std::string> Problems;
  // Harmless findings (a bitmap nothing names) and a summary of what was checked.
  std::vector<std::string> Notes;
  bool Ok() const { return Problems.empty(); }
};

TSkinCheckReport CheckSkinFolder(const std::string& folder);

}  // namespace bw::tools
