#include "gui/Bitmap.h"

#include "gui/Color.h"
#include "gui/DrawContext.h"
#include "gui/ToolkitModule.h"
#include "platform/Drawing.h"

namespace {

using platform::DeviceContext;
using platform::PixelMap;
using platform::RasterOp;

// A monochrome picture with 1 where `picture` has the key colour and 0
// elsewhere, made against the reference context's mapping.
PixelMap* makeMask(DeviceContext* reference, PixelMap* picture, Color key) {
    DeviceContext* pictureContext = platform::createMemoryContext(reference);
    PixelMap* previousPicture = platform::selectPixelMap(pictureContext, picture);
    platform::IntPoint size;
    platform::pixelMapSize(picture, size.x, size.y);
    platform::deviceToLogical(pictureContext, &size, 1);
    DeviceContext* maskContext = platform::createMemoryContext(reference);
    PixelMap* mask = platform::createMonochromePixelMap(size.x, size.y);
    PixelMap* previousMask = platform::selectPixelMap(maskContext, mask);
    platform::setMapMode(pictureContext, platform::mapMode(reference));
    const platform::ColorWord previousBackground =
        platform::setBackgroundColor(pictureContext, key.platformColor());
    platform::blockCopy(maskContext, 0, 0, size.x, size.y, pictureContext, 0, 0,
                        RasterOp::SourceCopy);
    platform::setBackgroundColor(pictureContext, previousBackground);
    if (previousMask)
        platform::selectPixelMap(maskContext, previousMask);
    if (previousPicture)
        platform::selectPixelMap(pictureContext, previousPicture);
    platform::deleteMemoryContext(maskContext);
    platform::deleteMemoryContext(pictureContext);
    return mask;
}

} // namespace

Bitmap::Bitmap(std::int32_t resourceId) : id(resourceId) {
    picture = platform::loadPixelMapResource(toolkitModule(), resourceId & 0xFFFF);
    if (picture && !platform::pixelMapSize(picture, pictureWidth, pictureHeight))
        pictureWidth = pictureHeight = 0;
}

Bitmap::~Bitmap() {
    if (picture)
        platform::deletePixelMap(picture);
    if (mask)
        platform::deletePixelMap(mask);
}

void Bitmap::retain() {
    ++references;
}

void Bitmap::release() {
    if (--references == 0)
        delete this;
}

void Bitmap::blit(DrawContext& context, const Rect& dest, Point offset) {
    if (!picture)
        return;
    DeviceContext* imageContext = platform::createMemoryContext(context.platformContext());
    PixelMap* previous = platform::selectPixelMap(imageContext, picture);
    platform::blockCopy(context.platformContext(), dest.left, dest.top, dest.width(), dest.height(),
                        imageContext, offset.h, offset.v, RasterOp::SourceCopy);
    if (previous)
        platform::selectPixelMap(imageContext, previous);
    platform::deleteMemoryContext(imageContext);
}

void Bitmap::blitMasked(DrawContext& context, const Rect& dest, Point offset) {
    if (!picture)
        return;
    DeviceContext* target = context.platformContext();
    if (!mask)
        mask = makeMask(target, picture, colors::transparencyKey);
    if (!mask)
        return;

    DeviceContext* imageContext = platform::createMemoryContext(target);
    PixelMap* previousImage = platform::selectPixelMap(imageContext, picture);
    platform::IntPoint size;
    platform::pixelMapSize(picture, size.x, size.y);
    platform::deviceToLogical(imageContext, &size, 1);
    const std::int32_t w = size.x;
    const std::int32_t h = size.y;

    DeviceContext* inverseContext = platform::createMemoryContext(target);
    DeviceContext* maskContext = platform::createMemoryContext(target);
    DeviceContext* backContext = platform::createMemoryContext(target);
    DeviceContext* saveContext = platform::createMemoryContext(target);
    PixelMap* inverseMask = platform::createMonochromePixelMap(w, h);
    PixelMap* back = platform::createCompatiblePixelMap(target, w, h);
    PixelMap* save = platform::createCompatiblePixelMap(target, w, h);
    PixelMap* previousInverse = platform::selectPixelMap(inverseContext, inverseMask);
    PixelMap* previousBack = platform::selectPixelMap(backContext, back);
    PixelMap* previousSave = platform::selectPixelMap(saveContext, save);
    PixelMap* previousMask = platform::selectPixelMap(maskContext, mask);

    const std::int32_t x = dest.left + offset.h;
    const std::int32_t y = dest.top + offset.v;
    // Keep the picture: it is modified below and restored at the end.
    platform::blockCopy(saveContext, 0, 0, w, h, imageContext, 0, 0, RasterOp::SourceCopy);
    platform::blockCopy(inverseContext, 0, 0, w, h, maskContext, 0, 0, RasterOp::NotSourceCopy);
    platform::blockCopy(backContext, 0, 0, w, h, target, x, y, RasterOp::SourceCopy);
    // The background survives only where the picture is see-through ...
    platform::blockCopy(backContext, 0, 0, w, h, maskContext, 0, 0, RasterOp::SourceAnd);
    // ... the picture's key-coloured pixels turn black ...
    platform::blockCopy(imageContext, 0, 0, w, h, inverseContext, 0, 0, RasterOp::SourceAnd);
    // ... and the two are combined.
    platform::blockCopy(backContext, 0, 0, w, h, imageContext, 0, 0, RasterOp::SourcePaint);
    platform::blockCopy(target, x, y, dest.width(), dest.height(), backContext, offset.h, offset.v,
                        RasterOp::SourceCopy);
    platform::blockCopy(imageContext, 0, 0, w, h, saveContext, 0, 0, RasterOp::SourceCopy);

    if (previousMask)
        platform::selectPixelMap(maskContext, previousMask);
    if (previousSave)
        platform::selectPixelMap(saveContext, previousSave);
    if (previousBack)
        platform::selectPixelMap(backContext, previousBack);
    if (previousInverse)
        platform::selectPixelMap(inverseContext, previousInverse);
    if (previousImage)
        platform::selectPixelMap(imageContext, previousImage);
    if (inverseMask)
        platform::deletePixelMap(inverseMask);
    if (back)
        platform::deletePixelMap(back);
    if (save)
        platform::deletePixelMap(save);
    platform::deleteMemoryContext(saveContext);
    platform::deleteMemoryContext(backContext);
    platform::deleteMemoryContext(maskContext);
    platform::deleteMemoryContext(inverseContext);
    platform::deleteMemoryContext(imageContext);
}
