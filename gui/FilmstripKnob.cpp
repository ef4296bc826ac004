#include "gui/FilmstripKnob.h"

#include "gui/Bitmap.h"

FilmstripKnob::FilmstripKnob(const Rect& size, ControlListener* listener, std::int32_t tag,
                             std::int32_t pictureCount, std::int32_t pictureHeight, Bitmap* strip,
                             const Point& offset)
    : RotaryKnob(size, listener, tag, nullptr, nullptr, offset), count(pictureCount),
      height(pictureHeight), pictures(strip) {
    // No handle to keep inside the size: the circle spans the whole width.
    handleInset = 0;
    if (pictures)
        pictures->retain();
}

FilmstripKnob::~FilmstripKnob() {
    if (pictures)
        pictures->release();
}

void FilmstripKnob::draw(DrawContext& context) {
    std::int32_t top = 0;
    if (currentValue > 0.0f && height > 0) {
        top = static_cast<std::int32_t>(currentValue * static_cast<float>(height) *
                                        static_cast<float>(count - 1));
        top -= top % height;
    }
    if (pictures)
        pictures->blit(context, size, {0, top});
    lastDrawn = currentValue;
}
