#include "framework/win/Colors.h"

namespace bw::win {

COLORREF ColorToRGB(TColor color) {
  if (color & kSystemColorFlag) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

}  // namespace bw::win
