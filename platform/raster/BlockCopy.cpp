// Block copies between contexts, with the colour/monochrome conversions
// and the four raster operations the toolkit uses.

#include "platform/raster/Objects.h"

#include <algorithm>

namespace platform {
namespace {

constexpr ColorWord white = 0xFFFFFF;

ColorWord combine(RasterOp op, ColorWord source, ColorWord dest) {
    switch (op) {
    case RasterOp::SourceCopy:
        return source;
    case RasterOp::NotSourceCopy:
        return ~source & white;
    case RasterOp::SourceAnd:
        return source & dest;
    case RasterOp::SourcePaint:
        return source | dest;
    }
    return dest;
}

} // namespace

bool blockCopy(DeviceContext* dest, std::int32_t x, std::int32_t y, std::int32_t width,
               std::int32_t height, DeviceContext* source, std::int32_t sourceX,
               std::int32_t sourceY, RasterOp op) {
    if (!dest || !source || width < 0 || height < 0)
        return false;
    const PixelMap* from = source->target;
    PixelMap* to = dest->target;
    // Only the part that lies on both pictures is copied.
    const std::int32_t skipLeft = std::max({0, -x, -sourceX});
    const std::int32_t skipTop = std::max({0, -y, -sourceY});
    const std::int32_t right = std::min({width, to->width - x, from->width - sourceX});
    const std::int32_t bottom = std::min({height, to->height - y, from->height - sourceY});
    // Copying through a temporary keeps overlapping copies within one
    // picture correct.
    std::vector<ColorWord> block;
    for (std::int32_t row = skipTop; row < bottom; ++row)
        for (std::int32_t column = skipLeft; column < right; ++column)
            block.push_back(raster::readPixel(from, sourceX + column, sourceY + row));
    std::size_t next = 0;
    for (std::int32_t row = skipTop; row < bottom; ++row)
        for (std::int32_t column = skipLeft; column < right; ++column) {
            ColorWord value = block[next++];
            if (!from->monochrome && to->monochrome)
                value = value == source->backgroundColor ? white : 0;
            else if (from->monochrome && !to->monochrome)
                value = value ? dest->backgroundColor : dest->textColor;
            const std::int32_t px = x + column;
            const std::int32_t py = y + row;
            raster::plot(to, px, py, combine(op, value, raster::readPixel(to, px, py)));
        }
    return true;
}

} // namespace platform
