#pragma once
// Reading the PNG files that programs under test write.

#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgb; // 8-bit red, green, blue; rows from the top

    bool empty() const { return rgb.empty(); }
    bool operator==(const RgbImage&) const = default;
};

// The picture in the file; empty when it cannot be read.
RgbImage readRgbPng(const std::string& path);
