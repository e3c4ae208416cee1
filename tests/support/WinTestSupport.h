#pragma once
// Helpers for tests that create real windows under Wine.
#include <windows.h>

#include <cstdint>

namespace bw::test {

// Runs the thread's message queue for about `ms` milliseconds.
void PumpMessages(unsigned ms);

// The pixel on the screen (frame, regions and colour key included) as 0x00BBGGRR.
COLORREF ScreenPixel(int x, int y);

// Ends the process with exit code 3 if a test hangs (a stuck modal loop, say)
// longer than `seconds`; started once from main().
void StartWatchdog(unsigned seconds);

}  // namespace bw::test
