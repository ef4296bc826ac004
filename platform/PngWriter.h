#pragma once
// Writes a block of pixels as a PNG file. Lives in its own library so that
// the plug-in binary never links the PNG library.

#include "platform/Types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Pixels row by row from the top. False when the file cannot be written.
bool writePng(const std::string& path, const std::vector<ColorWord>& pixels, std::int32_t width,
              std::int32_t height);

} // namespace platform
