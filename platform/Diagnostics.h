#pragma once
// What tests read back from the software raster: how many drawing objects
// and device contexts it currently holds (stock objects are not counted;
// the pictures of windows are), and the pixels a context draws into.

#include "platform/Types.h"

#include <cstdint>

namespace platform {

std::int32_t liveDrawingObjects();
std::int32_t liveDeviceContexts();

// The colour at (x, y) of what the context draws into, or 0xFFFFFFFF
// outside it (GetPixel).
ColorWord pixel(DeviceContext* context, std::int32_t x, std::int32_t y);

} // namespace platform
