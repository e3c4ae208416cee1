#include "tests/support/WinTestSupport.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace bw::test {

void PumpMessages(unsigned ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}

bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return done();
    PumpMessages(10);
  }
}

namespace {
bool NothingToPaint(HWND window) {
  RECT r;
  if (GetUpdateRect(window, &r, FALSE)) return false;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child) && !NothingToPaint(child)) return false;
  return true;
}
}  // namespace

bool WaitPainted(HWND window, unsigned timeoutMs) {
  const bool painted = PumpUntil([&] { return IsWindowVisible(window) && NothingToPaint(window); }, timeoutMs);
  GdiFlush();
  PumpMessages(0);
  return painted;
}

COLORREF WaitForScreenPixel(int x, int y, COLORREF expected, unsigned timeoutMs) {
  COLORREF seen = CLR_INVALID;
  PumpUntil([&] { return (seen = ScreenPixel(x, y)) == expected; }, timeoutMs);
  return seen;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  if (!screen) return CLR_INVALID;
  // A 1x1 copy reads what is composed on screen; GetPixel on the screen DC may not.
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 1, 1);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, 1, 1, screen, x, y, SRCCOPY);
  const COLORREF c = GetPixel(mem, 0, 0);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return c;
}

namespace {
// 32-bit top-down BGRX pixels as an RGB PNG; libpng reports errors by longjmp, so nothing
// that needs destroying is made between setjmp and the end.
bool WritePngRgb(std::FILE* file, int w, int h, const std::uint8_t* pixels) {
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
  png_write_info(png, info);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = pixels + static_cast<size_t>(y) * w * 4;
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

bool SaveScreenPng(const std::string& path, const RECT& area) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
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
  std::FILE* file = ok ? std::fopen(path.c_str(), "wb") : nullptr;
  if (file) {
    ok = WritePngRgb(file, w, h, static_cast<const std::uint8_t*>(bits));
    std::fclose(file);
  } else {
    ok = false;
  }
  if (dib) DeleteObject(dib);
  return ok;
}

std::string ScreenshotPath(const std::string& fileName) {
  const std::string folder = BW_BUILD_DIR "/screenshots";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "/" + fileName;
}

namespace {
DWORD WINAPI WatchdogThread(LPVOID param) {
  Sleep(static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(param)) * 1000);
  std::fprintf(stderr, "watchdog: test hung, ending the process\n");
  std::fflush(stderr);
  ExitProcess(3);
}
}  // namespace

void StartWatchdog(unsigned seconds) {
  HANDLE t = CreateThread(nullptr, 0, WatchdogThread,
                          reinterpret_cast<LPVOID>(static_cast<std::uintptr_t>(seconds)), 0, nullptr);
  if (t) CloseHandle(t);
}

int GdiHeadroom() {
  std::vector<HBRUSH> brushes;
  brushes.reserve(70000);
  while (brushes.size() < 70000) {
    HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
    if (!b) break;
    brushes.push_back(b);
  }
  for (HBRUSH b : brushes) DeleteObject(b);
  return static_cast<int>(brushes.size());
}

unsigned NextGdiSlot() {
  HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
  const unsigned slot = static_cast<unsigned>(reinterpret_cast<UINT_PTR>(probe) & 0xFFFF);
  DeleteObject(probe);
  return slot;
}

}  // namespace bw::test
