#pragma once
// Where the shaper's transfer curve comes from. The editor's curve control
// implements it; the effect only ever asks it for samples of the curve.

#include <cstdint>

class CurveSource {
  public:
    virtual ~CurveSource() = default;
    // Fills values[0 .. count-1] with the curve's heights (0 at the bottom,
    // 1 at the top) for `count` inputs spread evenly from the curve's first
    // point to its last. Called on the thread that rebuilds the table, never
    // on the audio thread.
    virtual void sampleCurve(float* values, std::int32_t count) = 0;
};
