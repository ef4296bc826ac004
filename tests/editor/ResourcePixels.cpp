#include "ResourcePixels.h"

#include "platform/Diagnostics.h"
#include "platform/Drawing.h"

std::vector<platform::ColorWord> resourcePixels(std::int32_t id, std::int32_t& width,
                                                std::int32_t& height) {
    std::vector<platform::ColorWord> out;
    platform::PixelMap* map = platform::loadPixelMapResource(nullptr, id);
    if (!map || !platform::pixelMapSize(map, width, height))
        return out;
    platform::DeviceContext* context = platform::createMemoryContext(nullptr);
    platform::PixelMap* previous = platform::selectPixelMap(context, map);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x)
            out.push_back(platform::pixel(context, x, y));
    platform::selectPixelMap(context, previous);
    platform::deleteMemoryContext(context);
    platform::deletePixelMap(map);
    return out;
}
