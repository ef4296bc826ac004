#include "editor/PublishedCurve.h"

#include <algorithm>
#include <thread>

PublishedCurve::PublishedCurve(const PlotArea& area) : plot(area) {
    publish(CurveModel(area));
}

void PublishedCurve::publish(const CurveModel& model) {
    std::array<CurvePoint, CurveModel::MaxPoints> points;
    model.copyPoints(points.data());
    publish(points.data(), model.pointCount());
}

void PublishedCurve::publish(const CurvePoint* points, int n) {
    n = std::clamp(n, 2, CurveModel::MaxPoints);
    const std::uint32_t start = sequence.load(std::memory_order_relaxed);
    sequence.store(start + 1, std::memory_order_relaxed);
    // Release stores keep the odd sequence number ahead of every point: a
    // reader that sees a new word also sees that an update is under way.
    count.store(n, std::memory_order_release);
    for (int i = 0; i < n; ++i) {
        coordinates[2 * i].store(points[i].x, std::memory_order_release);
        coordinates[2 * i + 1].store(points[i].y, std::memory_order_release);
    }
    sequence.store(start + 2, std::memory_order_release);
}

void PublishedCurve::read(CurveModel& out) const {
    std::array<CurvePoint, CurveModel::MaxPoints> points;
    for (;;) {
        const std::uint32_t before = sequence.load(std::memory_order_acquire);
        if (before & 1u) {
            std::this_thread::yield();
            continue;
        }
        // Acquire loads keep the second sequence read behind the copy.
        const int n = count.load(std::memory_order_acquire);
        for (int i = 0; i < n; ++i) {
            points[i].x = coordinates[2 * i].load(std::memory_order_acquire);
            points[i].y = coordinates[2 * i + 1].load(std::memory_order_acquire);
        }
        if (sequence.load(std::memory_order_relaxed) == before) {
            out.restorePoints(points.data(), n);
            return;
        }
    }
}

void PublishedCurve::sampleCurve(float* values, std::int32_t n) {
    CurveModel copy(plot);
    read(copy);
    copy.sampleCurve(values, n);
}
