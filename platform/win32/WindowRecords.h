#pragma once
// What other files of the Win32 backend may ask of the records that
// Windows.cpp keeps for windows of the classes registered there. Include
// after <windows.h>.

#include "platform/Windowing.h"

namespace platform::win32 {

// For a window of a class registered here: its messages go to `procedure`
// from now on, and the procedure they went to is put in `previous`. False,
// and nothing changed, for any other window.
bool swapRecordProcedure(HWND handle, WindowProcedure procedure, WindowProcedure& previous);

// Whether the window is one of a class registered here.
bool hasRecord(HWND handle);

} // namespace platform::win32
