#pragma once
// Counters for leak checks in tests: how many drawing objects and device
// contexts the software raster backend currently holds. Stock objects are
// not counted; the pictures of headless windows are.

#include <cstdint>

namespace platform {

std::int32_t liveDrawingObjects();
std::int32_t liveDeviceContexts();

} // namespace platform
