#include "cli/StereoAudio.h"

#include <algorithm>

std::int64_t BufferSource::read(float* left, float* right, std::int64_t frames) {
    std::int64_t count = std::clamp<std::int64_t>(audio.frameCount() - position, 0, frames);
    std::copy_n(audio.left.begin() + position, count, left);
    std::copy_n(audio.right.begin() + position, count, right);
    position += count;
    return count;
}

void BufferSink::reserve(std::int64_t frames) {
    audio.left.reserve(static_cast<std::size_t>(frames));
    audio.right.reserve(static_cast<std::size_t>(frames));
}

void BufferSink::write(const float* left, const float* right, std::int64_t frames) {
    audio.left.insert(audio.left.end(), left, left + frames);
    audio.right.insert(audio.right.end(), right, right + frames);
}
