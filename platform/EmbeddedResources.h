#pragma once
// Bitmap resources compiled into the binary, looked up by number. The
// resources library defines the table; backends that cannot ask the
// operating system for module resources read pictures from here.

#include <cstddef>
#include <cstdint>

namespace platform {

struct EmbeddedResource {
    std::int32_t id;
    const unsigned char* bytes; // a complete BMP file
    std::size_t size;
};

// The resource with this number, or none.
const EmbeddedResource* findEmbeddedResource(std::int32_t id);

} // namespace platform
