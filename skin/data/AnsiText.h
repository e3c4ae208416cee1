#pragma once
// Byte-string helpers for 8-bit (Windows-1252) texts: line splitting as string lists
// do it, trimming, and the two letter-case rules the skin data uses.
#include <string>
#include <string_view>
#include <vector>

namespace bw::skin {

// Splits at CR, LF or CR LF; a final line break adds no empty line; the text ends at
// its first NUL byte.
std::vector<std::string> SplitTextLines(std::string_view text);

// Removes leading and trailing bytes with codes up to 32.
std::string TrimBlanks(std::string_view text);

// Lower-cases A..Z only.
std::string LowerAscii(std::string_view text);

// Case-insensitive equality over the Windows-1252 letters (A..Z, the accented
// capitals and Š Œ Ž Ÿ).
bool AnsiSameText(std::string_view a, std::string_view b);

}  // namespace bw::skin
