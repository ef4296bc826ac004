#include "platform/Snapshot.h"

#include "platform/Headless.h"

namespace platform {

bool writeWindowPng(const std::string& path, Window* window) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    const std::vector<ColorWord> pixels = headless::windowPixels(window, width, height);
    return writePng(path, pixels, width, height);
}

} // namespace platform
