#pragma once
// Puts the current pen of a context down along lines and single points.

#include "platform/raster/Objects.h"

#include <vector>

namespace platform::raster {

class PenStroke {
  public:
    // `phase` carries the dotted pattern from one call to the next.
    PenStroke(DeviceContext* context, std::int32_t& phase);
    // One pen footprint centred on (x, y).
    void stamp(std::int32_t x, std::int32_t y);
    // A line without its end pixel (for a one-pixel pen).
    void line(IntPoint from, IntPoint to);

  private:
    DeviceContext* context;
    const Pen* pen;
    std::int32_t& phase;
    std::vector<IntPoint> disc; // footprint of a wide pen
};

} // namespace platform::raster
