#pragma once
// The portable rules of the skin data component: colour texts, file-name rules of the
// skin description, and the built-in mapping of foreign control classes to painters.
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/core/Enums.h"
#include "framework/core/StringList.h"

namespace bw::skin {

using core::TColor;

// Every entry of the built-in foreign-class list, kept in this order.
constexpr int kSkin3rdEntryCount = 117;
// The kind after "=" is cut to this many characters when looked up.
constexpr std::size_t kMaxSkin3rdKindChars = 50;

// Each component contributes its low byte.
TColor RGBToColor(std::int32_t red, std::int32_t green, std::int32_t blue);

// Digit runs are numbers (red, green, blue); anything else separates them. A number that
// ends the text counts only as the third; missing numbers are 0.
TColor strcolor(std::string_view text);

// defaultColor for an empty text, otherwise strcolor(text).
TColor GetColor(std::string_view text, TColor defaultColor);

// The text before the first "."; empty when there is none or it starts the name.
std::string GetFileName(std::string_view name);

// The entry a skin description's image value names: everything after the last "\" or
// ":"; empty when the value does not name a ".bmp" file (exactly that, lower case).
std::string SkinBitmapEntryName(std::string_view value);

// Fills `list` with the built-in ClassName=kind entries.
void InitControlList(core::TStrings& list);

// The kind (lower-cased, at most kMaxSkin3rdKindChars) of the first entry that starts
// with className followed by "=", letter case ignored; empty when there is none.
std::string FindSkin3rdKind(const core::TStrings& list, std::string_view className);

}  // namespace bw::skin
