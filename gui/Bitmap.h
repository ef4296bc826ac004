#pragma once
// A picture from the plug-in module's bitmap resources, shared by
// reference count: whoever constructs one holds the first reference, every
// further holder retains it, and each holder releases it when done. The
// last release frees it.

#include "gui/Geometry.h"
#include "platform/Types.h"

#include <cstdint>

class DrawContext;

class Bitmap {
  public:
    // Loads resource number (resourceId & 0xFFFF). A missing resource gives
    // a bitmap of size 0 x 0 that draws nothing.
    explicit Bitmap(std::int32_t resourceId);
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    void retain();
    // Drops one reference; the last one frees the bitmap.
    void release();

    std::int32_t width() const { return pictureWidth; }
    std::int32_t height() const { return pictureHeight; }
    std::int32_t resourceId() const { return id; }
    std::int32_t referenceCount() const { return references; }
    bool loaded() const { return picture != nullptr; }

    // Copies dest's size from `offset` of the picture to dest's top-left.
    void blit(DrawContext& context, const Rect& dest, Point offset);
    // As blit, but pixels of the transparency key colour leave the
    // destination as it was.
    void blitMasked(DrawContext& context, const Rect& dest, Point offset);

  private:
    ~Bitmap(); // through release only

    std::int32_t id;
    platform::PixelMap* picture = nullptr;
    platform::PixelMap* mask = nullptr; // made on the first masked copy
    std::int32_t pictureWidth = 0;
    std::int32_t pictureHeight = 0;
    std::int32_t references = 1;
};
