#include "gui/PopupPicture.h"

#include "gui/Bitmap.h"
#include "gui/Frame.h"

PopupPicture::PopupPicture(const Rect& size, ControlListener* listener, std::int32_t tag,
                           Bitmap* picture, const Rect& displayRect, const Point& pictureOffset)
    : Control(size, listener, tag), display(displayRect), shownPicture(picture),
      offset(pictureOffset) {
    if (shownPicture)
        shownPicture->retain();
}

PopupPicture::~PopupPicture() {
    if (shownPicture)
        shownPicture->release();
}

void PopupPicture::draw(DrawContext& context) {
    if (currentValue != 0.0f && shownPicture)
        shownPicture->blit(context, display, offset);
}

void PopupPicture::mouseDown(DrawContext& context, Point) {
    if (!isMouseActive)
        return;
    currentValue = currentValue == 0.0f ? 1.0f : 0.0f;
    if (currentValue == 1.0f)
        open(context);
    else
        close(context);
}

void PopupPicture::open(DrawContext& context) {
    // A frame that refuses leaves the popup at 1 without showing it; the
    // next press takes it back through close.
    if (!ownerFrame || !ownerFrame->setExclusiveView(this))
        return;
    saved = size;
    size = display;
    draw(context);
    if (controlListener)
        controlListener->controlChanged(context, this);
}

void PopupPicture::close(DrawContext& context) {
    // Only a popup that did open has a size to give back and the exclusive
    // view to clear; one the frame refused keeps its hot spot and leaves
    // another view's exclusivity alone.
    if (ownerFrame && ownerFrame->exclusiveView() == this) {
        size = saved;
        ownerFrame->setExclusiveView(nullptr);
    }
    if (ownerFrame)
        ownerFrame->draw(context);
    if (controlListener)
        controlListener->controlChanged(context, this);
}
