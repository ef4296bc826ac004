#pragma once
// Anti-aliased text on a Canvas, rendered with FreeType from the system's
// Liberation Sans files.

#include "Canvas.h"

#include <string>

namespace artwork {

enum class Weight { Regular, Bold };
enum class Anchor { Left, Centre, Right };

class Lettering {
  public:
    explicit Lettering(const std::string& fontDirectory);
    ~Lettering();
    Lettering(const Lettering&) = delete;
    Lettering& operator=(const Lettering&) = delete;

    bool ok() const { return ready; }
    // Pixel width of `text` at `size` with `tracking` extra pixels per letter.
    float measure(const std::string& text, Weight weight, int size, float tracking = 0) const;
    // Draws `text` with its baseline at y; x is the left edge, centre or
    // right edge according to `anchor`.
    void draw(Canvas& canvas, const std::string& text, float x, float baseline, Weight weight,
              int size, Rgb color, Anchor anchor = Anchor::Left, float tracking = 0) const;
    // Draws `text` turned a quarter turn counter-clockwise (reading upwards),
    // centred on (cx, cy).
    void drawUpwards(Canvas& canvas, const std::string& text, float cx, float cy, Weight weight,
                     int size, Rgb color, float tracking = 0) const;

  private:
    struct Faces;
    Faces* faces;
    bool ready = false;
};

} // namespace artwork
