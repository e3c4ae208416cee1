// Any text parses; lookups and edits on the result keep the section index consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/data/LacquerIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bw::skin;
  TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
  TQuickIni ini;
  ini.LoadFromStream(&stream);
  TStrings sections;
  ini.ReadSections(sections);
  if (sections.size() != ini.Sections().size()) std::abort();
  for (const std::string& section : sections) {
    TStrings keys;
    ini.ReadSection(section, keys);
    for (const std::string& key : keys) {
      (void)ini.ReadInteger(section, key, 0);
      (void)ini.ReadString(section, key, "");
    }
  }
  if (!ini.Lines().empty()) {
    const std::string first = ini.Lines().front();  // a copy: the edits below move the lines
    ini.WriteString("fuzz", first, first);
    ini.WriteString(sections.empty() ? "x" : sections.front(), "Key", "v");
    ini.DeleteKey(sections.empty() ? "x" : sections.back(), first);
    ini.EraseSection(sections.empty() ? "x" : sections.back());
  }
  for (const TSectionEntry& entry : ini.Sections()) {
    if (entry.lineIndex < 0 || static_cast<std::size_t>(entry.lineIndex) >= ini.Lines().size()) std::abort();
  }
  TMemoryStream saved;
  ini.SaveToStream(&saved);
  return 0;
}
