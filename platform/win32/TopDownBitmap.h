#pragma once
// The format of the 32-bit pictures that Win32 code here copies windows to
// and from: rows from the top, one blue-green-red-spare word per pixel.
// Include after <windows.h>.

namespace platform::win32 {

inline BITMAPINFO topDownBitmapFormat(int width, int height) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height; // rows from the top
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

} // namespace platform::win32
