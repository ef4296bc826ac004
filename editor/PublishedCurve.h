#pragma once
// PublishedCurve: a copy of a curve's points that one writer at a time
// publishes and any other thread samples, without locks. The writer brackets
// each update with an odd and an even sequence number; a reader copies the
// points and takes the copy only when the sequence was even and unchanged
// around it. Every word is an atomic, so readers never see a torn point
// list and sanitizers see no race.

#include "editor/CurveModel.h"
#include "effect/CurveSource.h"

#include <array>
#include <atomic>
#include <cstdint>

class PublishedCurve final : public CurveSource {
  public:
    // Starts with the straight line of a new CurveModel over `area`.
    explicit PublishedCurve(const PlotArea& area);

    // From one thread at a time (the owner keeps writers apart). The
    // revision changes with every publish.
    void publish(const CurveModel& model);
    void publish(const CurvePoint* points, int count);

    // Any thread: a consistent copy of the last published points.
    void read(CurveModel& out) const;
    int pointCount() const { return count.load(std::memory_order_relaxed); }
    const PlotArea& area() const { return plot; }

    // Any thread: samples the last published curve (see CurveModel).
    void sampleCurve(float* values, std::int32_t n) override;
    // Any thread: changes with every publish.
    std::uint64_t revision() const override { return sequence.load(std::memory_order_acquire); }

  private:
    const PlotArea plot;
    std::atomic<std::uint32_t> sequence{0};
    std::atomic<std::int32_t> count{0};
    std::array<std::atomic<float>, 2 * CurveModel::MaxPoints> coordinates{};
};
