// Colour texts, image names and foreign-class lookups of skin descriptions and forms.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "skin/data/LacquerDataRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bw::skin::TColor colour = bw::skin::strcolor(text);
  if ((colour & ~0xFFFFFF) != 0) __builtin_trap();
  const std::string entry = bw::skin::SkinBitmapEntryName(text);
  if (entry.size() > text.size()) __builtin_trap();
  (void)bw::skin::GetFileName(text);
  static bw::core::TStringList* list = [] {
    auto* l = new bw::core::TStringList;
    bw::skin::InitControlList(*l);
    return l;
  }();
  if (bw::skin::FindSkin3rdKind(*list, text).size() > bw::skin::kMaxSkin3rdKindChars) __builtin_trap();
  return 0;
}
