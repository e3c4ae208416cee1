#pragma once
// Text helpers of the framework: 8-bit texts, letter case folded for ASCII letters
// only (names and identifiers are ASCII; Windows-1252 letters compare by byte).
#include <cstdint>
#include <string>
#include <string_view>

namespace bw::core {

bool SameText(std::string_view a, std::string_view b);
// <0, 0, >0 like strcmp, ignoring ASCII letter case.
int CompareText(std::string_view a, std::string_view b);
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);

std::string IntToStr(std::int64_t value);
// Decimal, optional sign, or '$' hexadecimal; raises EConvertError on anything else
// or on a value outside 32 bits.
std::int32_t StrToInt(std::string_view text);
bool TryStrToInt(std::string_view text, std::int32_t& value);

bool IsValidIdent(std::string_view text);

}  // namespace bw::core
