#include "editor/CurveModel.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int BezierMaxEvaluations = 301;
constexpr float BezierTolerance = 0.1f;
constexpr double SplineTolerance = 0.01;

// Knot j of the clamped uniform knot vector for n + 1 points of order k:
// k zeros, then 1, 2, ..., and n − k + 2 repeated at the end.
int knotAt(int j, int n, int k) {
    if (j < k)
        return 0;
    if (j <= n)
        return j - k + 1;
    return n - k + 2;
}

} // namespace

PlotArea PlotArea::forPictures(int backgroundWidth, int backgroundHeight, int markerWidth,
                               int markerHeight) {
    int halfMarkerX = markerWidth / 2 + 1;
    int halfMarkerY = markerHeight / 2 + 1;
    return {static_cast<float>(halfMarkerX + 4), static_cast<float>(halfMarkerY + 4),
            static_cast<float>(backgroundWidth - 4 - halfMarkerX - 1),
            static_cast<float>(backgroundHeight - 4 - halfMarkerY - 1)};
}

CurveModel::CurveModel(const PlotArea& area) : plot(area) {
    points[0] = {plot.minX, plot.maxY};
    points[1] = {plot.maxX, plot.minY};
}

void CurveModel::copyPoints(CurvePoint* out) const {
    std::copy_n(points.begin(), count, out);
}

void CurveModel::restorePoints(const CurvePoint* source, int n) {
    count = std::clamp(n, 2, MaxPoints);
    std::copy_n(source, count, points.begin());
    selected = -1;
}

bool CurveModel::press(float x, float y) {
    selected = -1;
    for (int i = 0; i < count; ++i) {
        float dx = x - points[i].x;
        float dy = y - points[i].y;
        if (dy * dy + dx * dx < PickDistanceSquared) {
            selected = i;
            return true;
        }
    }
    if (!plot.contains(x, y))
        return false;
    if (count >= MaxPoints)
        return true;

    points[count++] = {x, y};
    // One ordering pass: each point changes place with the last later point
    // whose x is smaller, which puts the new point after every equal x.
    for (int i = 0; i < count; ++i) {
        for (int j = count - 1; j > i; --j) {
            if (points[j].x < points[i].x) {
                std::swap(points[i], points[j]);
                break;
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        if (points[i].x == x) {
            selected = i;
            break;
        }
    }
    return true;
}

bool CurveModel::drag(float x, float y) {
    if (selected < 0)
        return false;
    CurvePoint& p = points[selected];
    bool isEnd = selected == 0 || selected == count - 1;
    if (!isEnd) {
        float previous = points[selected - 1].x;
        float next = points[selected + 1].x;
        if (previous < x && x < next)
            p.x = x;
        else if (x <= previous)
            p.x = previous + 0.0001f;
        else
            p.x = next - 0.0001f;
    }
    p.y = std::clamp(y, plot.minY, plot.maxY);
    return true;
}

bool CurveModel::remove(float x, float y) {
    if (!plot.contains(x, y))
        return false;
    selected = -1;
    for (int i = 1; i < count - 1; ++i) {
        float dx = x - points[i].x;
        float dy = y - points[i].y;
        if (dy * dy + dx * dx < PickDistanceSquared) {
            selected = i;
            break;
        }
    }
    if (selected < 0 || count <= 2) {
        selected = -1;
        return true;
    }
    std::copy(points.begin() + selected + 1, points.begin() + count, points.begin() + selected);
    --count;
    selected = -1;
    return true;
}

CurvePoint CurveModel::bezierAt(float t) const {
    std::array<CurvePoint, SplineOrder> level{};
    std::copy_n(points.begin(), count, level.begin());
    for (int size = count - 1; size > 0; --size) {
        for (int i = 0; i < size; ++i) {
            level[i].x = (1.0f - t) * level[i].x + t * level[i + 1].x;
            level[i].y = (1.0f - t) * level[i].y + t * level[i + 1].y;
        }
    }
    return level[0];
}

// Only the four basis functions of the knot span holding u are non-zero;
// they are built up order by order (the triangular Cox–de Boor scheme).
CurvePoint CurveModel::splineAt(double u) const {
    const int n = count - 1;
    const int k = SplineOrder;
    if (u < 0.0 || u >= splineEnd())
        return {0.0f, 0.0f};
    const int span = std::min(static_cast<int>(u) + k - 1, n);

    double basis[SplineOrder];
    double left[SplineOrder];
    double right[SplineOrder];
    basis[0] = 1.0;
    for (int j = 1; j < k; ++j) {
        left[j] = u - knotAt(span + 1 - j, n, k);
        right[j] = knotAt(span + j, n, k) - u;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            double temp = basis[r] / (right[r + 1] + left[j - r]);
            basis[r] = saved + right[r + 1] * temp;
            saved = left[j - r] * temp;
        }
        basis[j] = saved;
    }
    double x = 0.0, y = 0.0;
    for (int r = 0; r < k; ++r) {
        const CurvePoint& p = points[span - k + 1 + r];
        x += basis[r] * p.x;
        y += basis[r] * p.y;
    }
    return {static_cast<float>(x), static_cast<float>(y)};
}

CurvePoint CurveModel::splineAtByFullRecursion(double u) const {
    const int n = count - 1;
    const int k = SplineOrder;
    // N(i, order, u) by the textbook recursion; a term over two equal knots
    // is zero.
    auto basis = [&](auto& self, int i, int order) -> double {
        int ki = knotAt(i, n, k);
        int ki1 = knotAt(i + 1, n, k);
        if (order == 1)
            return (ki <= u && u < ki1) ? 1.0 : 0.0;
        int kiOrder1 = knotAt(i + order - 1, n, k);
        int kiOrder = knotAt(i + order, n, k);
        double value = 0.0;
        if (kiOrder1 != ki)
            value += (u - ki) / (kiOrder1 - ki) * self(self, i, order - 1);
        if (kiOrder != ki1)
            value += (kiOrder - u) / (kiOrder - ki1) * self(self, i + 1, order - 1);
        return value;
    };
    double x = 0.0, y = 0.0;
    for (int i = 0; i <= n; ++i) {
        double b = basis(basis, i, k);
        x += b * points[i].x;
        y += b * points[i].y;
    }
    return {static_cast<float>(x), static_cast<float>(y)};
}

// Output y for input x by bisection on the curve parameter, starting from a
// small window after the previous answer since the inputs only grow.
float CurveModel::bezierHeightAt(float x, float& lastParameter) const {
    float lo = 0.0f, hi = 1.0f, mid = 0.5f;
    if (lastParameter != -1.0f) {
        float windowEnd = lastParameter + 0.1f * static_cast<float>(count);
        CurvePoint a = bezierAt(lastParameter);
        CurvePoint b = bezierAt(windowEnd);
        if (a.x < x && x < b.x) {
            lo = lastParameter;
            hi = windowEnd;
            mid = (lo + hi) / 2.0f;
        }
    }
    CurvePoint p{};
    for (int evaluations = 0; evaluations < BezierMaxEvaluations; ++evaluations) {
        p = bezierAt(mid);
        float d;
        if (p.x < x) {
            lo = mid;
            mid = (mid + hi) / 2.0f;
            d = x - p.x;
        } else {
            hi = mid;
            mid = (mid + lo) / 2.0f;
            d = p.x - x;
        }
        if (d <= BezierTolerance)
            break;
    }
    lastParameter = mid;
    return p.y;
}

float CurveModel::splineHeightAt(float x, double& lastParameter) const {
    double lo = 0.0, hi = splineEnd(), mid = hi / 2.0;
    if (lastParameter != -1.0) {
        double windowEnd = lastParameter + 0.01 * count;
        CurvePoint a = splineAt(lastParameter);
        CurvePoint b = splineAt(windowEnd);
        if (a.x < x && x < b.x) {
            lo = lastParameter;
            hi = windowEnd;
            mid = (lo + hi) / 2.0;
        }
    }
    CurvePoint p{};
    for (int evaluations = 0; evaluations < BezierMaxEvaluations; ++evaluations) {
        p = splineAt(mid);
        double d;
        if (p.x < x) {
            lo = mid;
            mid = (mid + hi) / 2.0;
            d = static_cast<double>(x) - p.x;
        } else {
            hi = mid;
            mid = (mid + lo) / 2.0;
            d = static_cast<double>(p.x) - x;
        }
        if (d <= SplineTolerance)
            break;
    }
    lastParameter = mid;
    return p.y;
}

void CurveModel::sampleCurve(float* values, std::int32_t n) const {
    if (n <= 0)
        return;
    const float first = points[0].x;
    const float last = points[count - 1].x;
    const double height = static_cast<double>(plot.maxY) - plot.minY;
    if (!isSpline()) {
        float lastParameter = -1.0f;
        float step = (last - first) / static_cast<float>(n);
        float x = first;
        for (std::int32_t i = 0; i < n; ++i, x += step) {
            float y = bezierHeightAt(x, lastParameter);
            values[i] = 1.0f - (y - plot.minY) / (plot.maxY - plot.minY);
        }
        return;
    }
    double lastParameter = -1.0;
    double step = (static_cast<double>(last) - first) / n;
    double x = first;
    for (std::int32_t i = 0; i < n; ++i, x += step) {
        float y = splineHeightAt(static_cast<float>(x), lastParameter);
        values[i] = static_cast<float>(1.0 - (y - plot.minY) / height);
    }
}
