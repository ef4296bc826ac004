#pragma once
// <windows.h> as every file of the Win32 backend includes it, and the
// platform's window handle as the system's.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "platform/Types.h"

namespace platform::win32 {

inline HWND handleOf(Window* window) {
    return reinterpret_cast<HWND>(window);
}

inline Window* windowOf(HWND handle) {
    return reinterpret_cast<Window*>(handle);
}

} // namespace platform::win32
