#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace artwork {

Rgb rgb(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f};
}

Rgb mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scale(Rgb c, float factor) {
    return {c.r * factor, c.g * factor, c.b * factor};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : w(width), h(height), pixels(static_cast<std::size_t>(width * height), fill) {}

void Canvas::set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < w && y < h)
        pixels[static_cast<std::size_t>(y * w + x)] = c;
}

void Canvas::blend(int x, int y, Rgb c, float alpha) {
    if (x < 0 || y < 0 || x >= w || y >= h || alpha <= 0.0f)
        return;
    Rgb& p = pixels[static_cast<std::size_t>(y * w + x)];
    p = mix(p, c, std::min(alpha, 1.0f));
}

void Canvas::shape(const std::function<float(float, float)>& distance,
                   const std::function<Rgb(float, float)>& color, float opacity) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float cx = x + 0.5f;
            const float cy = y + 0.5f;
            const float coverage = std::clamp(0.5f - distance(cx, cy), 0.0f, 1.0f);
            if (coverage > 0.0f)
                blend(x, y, color(cx, cy), coverage * opacity);
        }
}

void Canvas::shape(const std::function<float(float, float)>& distance, Rgb color, float opacity) {
    shape(
        distance, [color](float, float) { return color; }, opacity);
}

void Canvas::fill(const std::function<Rgb(float, float)>& color) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            set(x, y, color(x + 0.5f, y + 0.5f));
}

void Canvas::paste(const Canvas& other, int x, int y) {
    for (int j = 0; j < other.h; ++j)
        for (int i = 0; i < other.w; ++i)
            set(x + i, y + j, other.at(i, j));
}

Canvas Canvas::crop(int x, int y, int width, int height) const {
    Canvas out(width, height);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            out.set(i, j, at(std::clamp(x + i, 0, w - 1), std::clamp(y + j, 0, h - 1)));
    return out;
}

bool Canvas::writeBmp(const std::string& path) const {
    const int stride = (w * 3 + 3) & ~3;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(stride * h);
    std::vector<std::uint8_t> out;
    auto put16 = [&out](std::uint32_t v) {
        out.push_back(v & 0xFF);
        out.push_back((v >> 8) & 0xFF);
    };
    auto put32 = [&put16](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    out.push_back('B');
    out.push_back('M');
    put32(54 + imageSize);
    put32(0);
    put32(54);
    put32(40);
    put32(static_cast<std::uint32_t>(w));
    put32(static_cast<std::uint32_t>(h));
    put16(1);
    put16(24);
    put32(0);
    put32(imageSize);
    put32(2835); // 72 dpi
    put32(2835);
    put32(0);
    put32(0);
    auto channel = [](float v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    for (int y = h - 1; y >= 0; --y) {
        int written = 0;
        for (int x = 0; x < w; ++x) {
            const Rgb c = at(x, y);
            out.push_back(channel(c.b));
            out.push_back(channel(c.g));
            out.push_back(channel(c.r));
            written += 3;
        }
        for (; written < stride; ++written)
            out.push_back(0);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

float circleDistance(float x, float y, float cx, float cy, float radius) {
    return std::hypot(x - cx, y - cy) - radius;
}

float roundedBoxDistance(float x, float y, float left, float top, float right, float bottom,
                         float radius) {
    const float cx = (left + right) / 2;
    const float cy = (top + bottom) / 2;
    const float hx = (right - left) / 2 - radius;
    const float hy = (bottom - top) / 2 - radius;
    const float qx = std::fabs(x - cx) - hx;
    const float qy = std::fabs(y - cy) - hy;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float segmentDistance(float x, float y, float ax, float ay, float bx, float by, float halfWidth) {
    const float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    const float length2 = dx * dx + dy * dy;
    const float t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(px - dx * t, py - dy * t) - halfWidth;
}

} // namespace artwork
