#pragma once
// Helpers for tests that create real windows under Wine.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace bw::test {

// Runs the thread's message queue for about `ms` milliseconds. Prefer the waits below:
// a test waits for a condition, not for a time.
void PumpMessages(unsigned ms);

// Runs the message queue until `done` holds or `timeoutMs` passed; answers `done()`.
bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs = 5000);

// Until the window is visible and neither it nor a child window has anything left to paint.
bool WaitPainted(HWND window, unsigned timeoutMs = 5000);

// The pixel on the screen (frame, regions and colour key included) as 0x00BBGGRR.
COLORREF ScreenPixel(int x, int y);

// Waits until the screen shows `expected` at (x, y) (what reaches the screen lags the
// painting) and answers the pixel last seen: compare it with `expected`.
COLORREF WaitForScreenPixel(int x, int y, COLORREF expected, unsigned timeoutMs = 3000);

// Writes the screen rectangle as a 24-bit PNG file; false when it cannot.
bool SaveScreenPng(const std::string& path, const RECT& area);

// Where tests put their screenshots: build/win64/screenshots (made on first use).
std::string ScreenshotPath(const std::string& fileName);

// How many more GDI objects the process can make now: every leaked handle lowers it by one.
// Compare two readings around repeated work (GetGuiResources is not implemented under Wine).
int GdiHeadroom();

// Low 16 bits of a fresh GDI handle: the slot the next object takes. A slot taken for good
// (a leak) moves it; objects made and freed again leave it where it was.
unsigned NextGdiSlot();

// Ends the process with exit code 3 if a test hangs (a stuck modal loop, say)
// longer than `seconds`; started once from main().
void StartWatchdog(unsigned seconds);

}  // namespace bw::test
