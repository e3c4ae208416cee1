#pragma once
// The screen as pictures: a rectangle written as a PNG file, and a digest of what it shows
// (to wait until a window has stopped changing).
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bw::driver {

// The screen rectangle as 32-bit top-down BGRX pixels; nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadScreen(const RECT& area);

// Writes the screen rectangle as a 24-bit PNG file; false when it cannot.
bool SaveScreenPng(const std::string& pathUtf8, const RECT& area);

// Waits (bounded) until the rectangle has shown the same pixels for a moment.
bool WaitScreenSteady(const RECT& area, unsigned timeoutMs = 10000);

}  // namespace bw::driver
