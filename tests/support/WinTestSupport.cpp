#include "tests/support/WinTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tools/driver/ScreenPng.h"

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

bool SaveScreenPng(const std::string& path, const RECT& area) { return driver::SaveScreenPng(path, area); }

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
