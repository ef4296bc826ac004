#include "gui/OffscreenContext.h"

#include "gui/Bitmap.h"
#include "gui/Frame.h"
#include "platform/Drawing.h"
#include "platform/Windowing.h"

namespace {
constexpr std::int32_t blankSize = 20;
}

void OffscreenContext::makeSurface(platform::DeviceContext* reference) {
    systemContext = platform::createMemoryContext(reference);
    memoryBitmap = platform::createCompatiblePixelMap(reference, pictureWidth, pictureHeight);
    ownsBitmap = memoryBitmap != nullptr;
    if (systemContext && memoryBitmap)
        platform::selectPixelMap(systemContext, memoryBitmap);
}

OffscreenContext::OffscreenContext(Frame* frame, std::int32_t width, std::int32_t height,
                                   Color background)
    : DrawContext(frame, nullptr, nullptr), pictureHeight(height), pictureWidth(width),
      backgroundColor(background) {
    platform::Window* frameWindow = frame ? frame->window() : nullptr;
    platform::DeviceContext* windowContext = platform::windowContext(frameWindow);
    makeSurface(windowContext);
    platform::releaseWindowContext(frameWindow, windowContext);
    setPaintColor(background);
    setPenColor(background);
    paintRect({0, 0, width, height});
    strokeRect({0, 0, width, height});
}

OffscreenContext::OffscreenContext(DrawContext& source, Bitmap* picture)
    : DrawContext(source.frame(), nullptr, nullptr),
      pictureHeight(picture ? picture->height() : blankSize),
      pictureWidth(picture ? picture->width() : blankSize), backgroundColor(colors::black) {
    makeSurface(source.platformContext());
    if (picture) {
        picture->blit(*this, {0, 0, pictureWidth, pictureHeight}, {0, 0});
    } else {
        setPaintColor(colors::black);
        paintRect({0, 0, pictureWidth, pictureHeight});
    }
}

OffscreenContext::~OffscreenContext() {
    if (systemContext)
        platform::deleteMemoryContext(systemContext);
    systemContext = nullptr;
    if (ownsBitmap && memoryBitmap)
        platform::deletePixelMap(memoryBitmap);
}

void OffscreenContext::blitTo(DrawContext& dest, const Rect& destRect, Point sourceOffset) {
    platform::blockCopy(dest.platformContext(), destRect.left, destRect.top, destRect.width(),
                        destRect.height(), systemContext, sourceOffset.h, sourceOffset.v,
                        platform::RasterOp::SourceCopy);
}
