#include "tools/driver/ScreenPng.h"

#include <png.h>

#include <cstdio>

#include "tools/driver/Driver.h"

namespace bw::driver {
namespace {

// Long enough for a repaint in several steps (frame, then controls) to show its last one.
constexpr ULONGLONG kSteadyMs = 250;

// libpng reports errors by longjmp, so nothing that needs destroying is made between
// setjmp and the end.
bool WritePngRgb(std::FILE* file, int w, int h, const std::uint8_t* bgrx) {
  std::vector<png_byte> row(static_cast<size_t>(w) * 3);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = bgrx + static_cast<size_t>(y) * static_cast<size_t>(w) * 4;
    for (int x = 0; x < w; ++x) {
      row[x * 3] = src[x * 4 + 2];
      row[x * 3 + 1] = src[x * 4 + 1];
      row[x * 3 + 2] = src[x * 4];
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadScreen(const RECT& area) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return std::nullopt;
  HDC screen = GetDC(nullptr);
  if (!screen) return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = CreateCompatibleDC(screen);
  bool ok = dib && mem;
  if (ok) {
    HGDIOBJ old = SelectObject(mem, dib);
    ok = BitBlt(mem, 0, 0, w, h, screen, area.left, area.top, SRCCOPY) != FALSE;
    GdiFlush();
    SelectObject(mem, old);
  }
  ReleaseDC(nullptr, screen);
  if (mem) DeleteDC(mem);
  std::optional<std::vector<std::uint8_t>> pixels;
  if (ok) {
    const auto* first = static_cast<const std::uint8_t*>(bits);
    pixels.emplace(first, first + static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  }
  if (dib) DeleteObject(dib);
  return pixels;
}

bool SaveScreenPng(const std::string& pathUtf8, const RECT& area) {
  const auto pixels = ReadScreen(area);
  if (!pixels) return false;
  std::FILE* file = std::fopen(pathUtf8.c_str(), "wb");
  if (!file) return false;
  bool ok = WritePngRgb(file, area.right - area.left, area.bottom - area.top, pixels->data());
  ok = std::fclose(file) == 0 && ok;
  return ok;
}

bool WaitScreenSteady(const RECT& area, unsigned timeoutMs) {
  std::vector<std::uint8_t> last;
  ULONGLONG changedAt = GetTickCount64();
  return WaitUntil(
      [&] {
        auto now = ReadScreen(area);
        if (!now) return false;
        if (*now != last) {
          last = std::move(*now);
          changedAt = GetTickCount64();
          return false;
        }
        return GetTickCount64() - changedAt >= kSteadyMs;
      },
      timeoutMs);
}

}  // namespace bw::driver
