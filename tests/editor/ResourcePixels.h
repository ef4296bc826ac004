#pragma once
// The pixels of a bitmap resource as the platform loads it, row by row.

#include "platform/Types.h"

#include <cstdint>
#include <vector>

std::vector<platform::ColorWord> resourcePixels(std::int32_t id, std::int32_t& width,
                                                std::int32_t& height);
