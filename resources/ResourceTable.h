#pragma once
// The editor's bitmap resources embedded in the binary, by number.

#include "platform/EmbeddedResources.h"

#include <cstddef>

namespace resources {

// The table of all embedded pictures; `count` receives its length.
const platform::EmbeddedResource* bitmapTable(std::size_t& count);

// Installs the table as the pictures the platform layer loads.
inline void useEmbeddedBitmaps() {
    std::size_t count = 0;
    const platform::EmbeddedResource* table = bitmapTable(count);
    platform::useResourceTable(table, count);
}

} // namespace resources
