// Pictures from the bitmap resources compiled into the binary: 24-bit,
// uncompressed BMP files, decoded into colour pixel maps.

#include "platform/EmbeddedResources.h"
#include "platform/raster/Objects.h"

#include <atomic>
#include <cstddef>

namespace platform {
namespace {

// The installed table; two words that are each set whole, so that two
// instances installing the same table on two threads do not race.
std::atomic<const EmbeddedResource*> tableEntries{nullptr};
std::atomic<std::size_t> tableCount{0};

std::uint32_t le16(const unsigned char* p) {
    return p[0] | static_cast<std::uint32_t>(p[1]) << 8;
}
std::uint32_t le32(const unsigned char* p) {
    return le16(p) | static_cast<std::uint32_t>(le16(p + 2)) << 16;
}

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;

} // namespace

namespace raster {

// Decodes a BMP file held in memory; none for anything but a well-formed
// 24-bit uncompressed picture that lies entirely inside the data.
PixelMap* decodeBmp(const unsigned char* data, std::size_t size) {
    if (!data || size < fileHeaderSize + infoHeaderSize || data[0] != 'B' || data[1] != 'M')
        return nullptr;
    const std::uint32_t pixelOffset = le32(data + 10);
    const unsigned char* info = data + fileHeaderSize;
    const std::uint32_t headerSize = le32(info);
    const auto width = static_cast<std::int32_t>(le32(info + 4));
    const auto rawHeight = static_cast<std::int32_t>(le32(info + 8));
    const std::uint32_t planes = le16(info + 12);
    const std::uint32_t bitsPerPixel = le16(info + 14);
    const std::uint32_t compression = le32(info + 16);
    if (headerSize < infoHeaderSize || planes != 1 || bitsPerPixel != 24 || compression != 0)
        return nullptr;
    if (width <= 0 || width > 32767 || rawHeight == 0 || rawHeight < -32767 || rawHeight > 32767)
        return nullptr;
    const bool bottomUp = rawHeight > 0;
    const std::int32_t height = bottomUp ? rawHeight : -rawHeight;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    if (pixelOffset > size || (size - pixelOffset) / stride < static_cast<std::size_t>(height))
        return nullptr;
    PixelMap* map = newPixelMap(width, height, false, 0);
    if (!map)
        return nullptr;
    for (std::int32_t row = 0; row < height; ++row) {
        const std::int32_t fileRow = bottomUp ? height - 1 - row : row;
        const unsigned char* p = data + pixelOffset + static_cast<std::size_t>(fileRow) * stride;
        for (std::int32_t x = 0; x < width; ++x, p += 3)
            plot(map, x, row, colorWord(p[2], p[1], p[0]));
    }
    return map;
}

} // namespace raster

void useResourceTable(const EmbeddedResource* entries, std::size_t count) {
    tableCount.store(0, std::memory_order_relaxed);
    tableEntries.store(entries, std::memory_order_relaxed);
    tableCount.store(entries ? count : 0, std::memory_order_relaxed);
}

const EmbeddedResource* findEmbeddedResource(std::int32_t id) {
    const EmbeddedResource* entries = tableEntries.load(std::memory_order_relaxed);
    const std::size_t count = tableCount.load(std::memory_order_relaxed);
    for (std::size_t i = 0; entries && i < count; ++i)
        if (entries[i].id == id)
            return &entries[i];
    return nullptr;
}

PixelMap* loadPixelMapResource(void*, std::int32_t resourceId) {
    const EmbeddedResource* resource = findEmbeddedResource(resourceId);
    if (!resource)
        return nullptr;
    return raster::decodeBmp(resource->bytes, resource->size);
}

} // namespace platform
