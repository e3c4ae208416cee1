// Proves the Wine pipeline: a real top-level window, a message to it, and its
// painted pixels read back from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/WinTestSupport.h"

namespace {

constexpr UINT kSetColour = WM_APP + 1;

LRESULT CALLBACK SmokeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kSetColour:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
      InvalidateRect(hwnd, nullptr, FALSE);
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(dc, &rc, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
      return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST(Win32Smoke, WindowPaintsWhatItIsToldAndTheScreenShowsIt) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = SmokeProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"BwSmoke";
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  ASSERT_NE(RegisterClassW(&wc), 0);

  HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, L"BwSmoke", L"Brindlewick smoke", WS_POPUP, 40, 50, 120, 80,
                              nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(hwnd, nullptr);
  ShowWindow(hwnd, SW_SHOWNORMAL);

  EXPECT_EQ(SendMessageW(hwnd, kSetColour, RGB(12, 200, 99), 0), 1);
  UpdateWindow(hwnd);
  POINT inside{60, 40};
  ClientToScreen(hwnd, &inside);
  EXPECT_EQ(bw::test::WaitForScreenPixel(inside.x, inside.y, RGB(12, 200, 99)), RGB(12, 200, 99));

  SendMessageW(hwnd, kSetColour, RGB(250, 3, 17), 0);
  UpdateWindow(hwnd);
  EXPECT_EQ(bw::test::WaitForScreenPixel(inside.x, inside.y, RGB(250, 3, 17)), RGB(250, 3, 17));

  DestroyWindow(hwnd);
  UnregisterClassW(L"BwSmoke", wc.hInstance);
}

}  // namespace
