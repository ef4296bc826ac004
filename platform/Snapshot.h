#pragma once
// Writes what a headless window shows as a PNG file.

#include "platform/PngWriter.h"

#include <string>

namespace platform {

// The window's client area as the headless backend holds it.
bool writeWindowPng(const std::string& path, Window* window);

} // namespace platform
