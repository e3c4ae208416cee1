#include "tests/support/WinTestSupport.h"

#include <cstdio>
#include <cstdlib>

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

}  // namespace bw::test
