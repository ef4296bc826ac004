#pragma once
// Two-channel sample buffers in the shape the audio entries take them.

#include <cstdint>
#include <vector>

struct StereoBuffers {
    explicit StereoBuffers(std::int32_t frames, float fill = 0.0f)
        : left(static_cast<std::size_t>(frames), fill),
          right(static_cast<std::size_t>(frames), fill) {}

    float** channels() {
        pointers[0] = left.data();
        pointers[1] = right.data();
        return pointers;
    }
    std::int32_t frames() const { return static_cast<std::int32_t>(left.size()); }

    std::vector<float> left;
    std::vector<float> right;
    float* pointers[2] = {nullptr, nullptr};
};
