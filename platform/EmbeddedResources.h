#pragma once
// Bitmap resources compiled into the binary, looked up by number. The
// binary's top layer hands its table to the platform layer before the first
// picture is loaded; loadPixelMapResource reads pictures from it.

#include <cstddef>
#include <cstdint>

namespace platform {

struct EmbeddedResource {
    std::int32_t id;
    const unsigned char* bytes; // a complete BMP file
    std::size_t size;
};

// Makes `entries` the table that pictures are loaded from. The table must
// outlive every later load; installing the same table again is harmless,
// also from two threads at once.
void useResourceTable(const EmbeddedResource* entries, std::size_t count);

// The resource with this number in the installed table, or none.
const EmbeddedResource* findEmbeddedResource(std::int32_t id);

} // namespace platform
