#include "cli/CurveGestures.h"

#include "cli/CurveOption.h"
#include "editor/ShaperLayout.h"

#include <cmath>
#include <cstdint>

namespace {

bool farFromAll(const CurvePoint& p, const std::vector<CurvePoint>& points) {
    for (const CurvePoint& q : points) {
        const float dx = p.x - q.x;
        const float dy = p.y - q.y;
        if (dx * dx + dy * dy < CurveModel::PickDistanceSquared)
            return false;
    }
    return true;
}

} // namespace

std::vector<CurveGesture> planCurveGestures(const std::vector<CurvePoint>& points) {
    std::vector<CurveGesture> gestures;
    if (points.size() < 2)
        return gestures;
    const PlotArea area = editorCurveArea();
    const CurveModel initial(area);
    CurvePoint first = initial.point(0);
    CurvePoint last = initial.point(initial.pointCount() - 1);
    // The end points keep their x: straight up or down to their heights.
    gestures.push_back({first, {first.x, points.front().y}});
    first.y = points.front().y;
    gestures.push_back({last, {last.x, points.back().y}});
    last.y = points.back().y;

    std::vector<CurvePoint> entered{first, last};
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const CurvePoint& target = points[i];
        // A press closer than 5 pixels to a point would take that point
        // instead of adding one: press on free space above or below the
        // target, then drag the new point onto it.
        CurvePoint press = target;
        for (float offset = 1.0f; !farFromAll(press, entered) && offset < 20.0f; offset += 1.0f) {
            press.y = target.y + offset <= area.maxY ? target.y + offset : target.y - offset;
            if (farFromAll(press, entered))
                break;
            press.y = target.y - offset >= area.minY ? target.y - offset : target.y + offset;
        }
        gestures.push_back({press, target});
        entered.push_back(target);
    }
    return gestures;
}

Point curvePointInEditor(const CurvePoint& point) {
    return {shaperLayout::CurveAnchor.h + static_cast<std::int32_t>(std::lround(point.x)),
            shaperLayout::CurveAnchor.v + static_cast<std::int32_t>(std::lround(point.y))};
}
