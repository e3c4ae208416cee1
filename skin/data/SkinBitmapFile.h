#pragma once
// BMP file bytes into a framework bitmap. The file reader checks every size before
// anything is allocated; the bitmap keeps the file's depth where the DIB section can.
#include <cstdint>
#include <span>
#include <string>

#include "framework/win/Bitmap.h"

namespace bw::skin {

// False with `reason` (bitmap unchanged) for bytes that are not a BMP file; empty
// bytes give an empty bitmap.
bool LoadBitmapFromBmp(win::TBitmap& bitmap, std::span<const std::uint8_t> bytes, std::string& reason);

}  // namespace bw::skin
