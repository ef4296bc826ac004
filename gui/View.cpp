#include "gui/View.h"

#include "gui/Frame.h"
#include "gui/OffscreenContext.h"

void View::setBackdrop(OffscreenContext* backdrop) {
    if (backdrop && backdrop->width() >= size.width() && backdrop->height() >= size.height())
        backdropContext = backdrop;
}

void View::requestRedraw() {
    if (ownerFrame)
        ownerFrame->paintView(this);
}
