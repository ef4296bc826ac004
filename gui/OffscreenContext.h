#pragma once
// A drawing context over a memory picture of its own, drawn into and then
// copied to the screen in one piece, so the screen never shows a half-made
// picture.

#include "gui/DrawContext.h"

class Bitmap;

class OffscreenContext : public DrawContext {
  public:
    // A width x height picture compatible with the frame's window, filled
    // with `background`.
    OffscreenContext(Frame* frame, std::int32_t width, std::int32_t height, Color background);
    // A copy of `picture` (its size), or a black 20 x 20 picture for none,
    // compatible with the source context.
    OffscreenContext(DrawContext& source, Bitmap* picture);
    ~OffscreenContext() override;

    // Copies destRect's size from `sourceOffset` of this picture to the
    // top-left of destRect in `dest`.
    void blitTo(DrawContext& dest, const Rect& destRect, Point sourceOffset);

    std::int32_t width() const { return pictureWidth; }
    std::int32_t height() const { return pictureHeight; }
    Color background() const { return backgroundColor; }
    // The memory picture drawn into (none when it could not be made).
    platform::PixelMap* pixelMap() const { return memoryBitmap; }

  private:
    void makeSurface(platform::DeviceContext* reference);

    bool ownsBitmap = false;
    std::int32_t pictureHeight;
    std::int32_t pictureWidth;
    Color backgroundColor;
    platform::PixelMap* memoryBitmap = nullptr;
};
