#pragma once
// Framework texts are UTF-8; Win32 takes UTF-16 at the boundary.
#include <string>
#include <string_view>

namespace bw::win {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace bw::win
