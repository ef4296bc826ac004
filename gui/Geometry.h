#pragma once
// Points and rectangles in pixels of the frame window's client area:
// h grows to the right, v grows downwards.

#include <cstdint>

struct Point {
    std::int32_t h = 0;
    std::int32_t v = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

// A box whose outline runs along all four edges. Outlines are drawn on the
// edges themselves; filled shapes cover (left + 1, top + 1) up to but
// excluding (right, bottom).
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    // All four edges belong to the rectangle.
    bool contains(Point p) const {
        return left <= p.h && p.h <= right && top <= p.v && p.v <= bottom;
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};
