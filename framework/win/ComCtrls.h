#pragma once
// The common controls: status bars, tool bars, tabs, list views and headers, tree views,
// grids and date-time pickers.
#include <windows.h>

namespace bw::win {

// Registers the system classes of `classes` (ICC_* flags) once per process.
void EnsureCommonControls(DWORD classes);

// Registers every creatable common-control class with the class registry.
void RegisterComControls();

}  // namespace bw::win
