#pragma once
// The class registry for Win32 code: windows.h makes RegisterClass a macro for
// RegisterClassW, which would rename the registry's function where both are seen.
// Include this instead of framework/core/ClassRegistry.h in framework/win and above.
#include <windows.h>

#pragma push_macro("RegisterClass")
#undef RegisterClass
#include "framework/core/ClassRegistry.h"
#pragma pop_macro("RegisterClass")
