#pragma once
// A small floating-point RGB canvas for drawing the editor's pictures:
// anti-aliased shapes from signed distances, gradients, and 24-bit BMP
// output.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace artwork {

struct Rgb {
    float r = 0, g = 0, b = 0;
};

Rgb rgb(int r, int g, int b);
Rgb mix(Rgb a, Rgb b, float t);
Rgb scale(Rgb c, float factor);

class Canvas {
  public:
    Canvas(int width, int height, Rgb fill = {});

    int width() const { return w; }
    int height() const { return h; }
    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y * w + x)]; }
    void set(int x, int y, Rgb c);
    // Blends `c` over the pixel with coverage `alpha` (0..1).
    void blend(int x, int y, Rgb c, float alpha);

    // Paints every pixel with coverage from a signed distance (negative
    // inside) evaluated at the pixel's centre.
    void shape(const std::function<float(float, float)>& distance,
               const std::function<Rgb(float, float)>& color, float opacity = 1.0f);
    void shape(const std::function<float(float, float)>& distance, Rgb color, float opacity = 1.0f);
    void fill(const std::function<Rgb(float, float)>& color);
    // Copies another canvas with its top-left at (x, y).
    void paste(const Canvas& other, int x, int y);
    Canvas crop(int x, int y, int width, int height) const;

    // Writes a 24-bit uncompressed bottom-up BMP; pure white (the
    // transparency key) only where a pixel is exactly white.
    bool writeBmp(const std::string& path) const;

  private:
    int w, h;
    std::vector<Rgb> pixels;
};

// Signed distances (negative inside).
float circleDistance(float x, float y, float cx, float cy, float radius);
float roundedBoxDistance(float x, float y, float left, float top, float right, float bottom,
                         float radius);
float segmentDistance(float x, float y, float ax, float ay, float bx, float by, float halfWidth);

} // namespace artwork
