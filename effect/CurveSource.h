#pragma once
// Where the shaper's transfer curve comes from. The editor's curve control
// implements it; the effect only ever asks it for samples of the curve.

#include <cstdint>

// A point of the curve in the curve editor's pixels (x to the right, y
// downwards).
struct CurvePoint {
    float x;
    float y;
};

class CurveSource {
  public:
    // revision() of a source that does not count its changes.
    static constexpr std::uint64_t Uncounted = ~std::uint64_t{0};

    virtual ~CurveSource() = default;
    // Fills values[0 .. count-1] with the curve's heights (0 at the bottom,
    // 1 at the top) for `count` inputs spread evenly from the curve's first
    // point to its last. Called on the thread that builds the table, never
    // on the audio thread.
    virtual void sampleCurve(float* values, std::int32_t count) = 0;

    // A number that changes whenever the curve does. The table of a source
    // that counts its changes is built on the thread that changes the curve
    // (TransferTable::curveChanged), so that setting parameter 0 only has
    // to put it in use. A source that answers Uncounted is sampled whenever
    // parameter 0 is set, on the thread that sets it.
    virtual std::uint64_t revision() const { return Uncounted; }
};
