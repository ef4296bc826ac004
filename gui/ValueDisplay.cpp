#include "gui/ValueDisplay.h"

#include "gui/Bitmap.h"

#include <cstdio>

ValueDisplay::ValueDisplay(const Rect& size, Bitmap* background, std::int32_t style)
    : ValueDisplay(size, nullptr, 0, background, style) {}

ValueDisplay::ValueDisplay(const Rect& size, ControlListener* listener, std::int32_t tag,
                           Bitmap* background, std::int32_t style)
    : Control(size, listener, tag), styleBits(style), backgroundPicture(background) {
    if (backgroundPicture)
        backgroundPicture->retain();
}

ValueDisplay::~ValueDisplay() {
    if (backgroundPicture)
        backgroundPicture->release();
}

void ValueDisplay::draw(DrawContext& context) {
    char text[256] = "";
    if (converter)
        converter(currentValue, text);
    else
        std::snprintf(text, sizeof text, "%2.2f", static_cast<double>(currentValue));
    drawTextBox(context, text, backgroundPicture);
}

void ValueDisplay::drawTextBox(DrawContext& context, const char* text, Bitmap* picture) {
    using namespace valueDisplayStyle;
    const bool twoColourEdge = (styleBits & (raisedEdge | loweredEdge)) != 0;
    if (picture) {
        picture->blit(context, size, boxPictureOffset);
    } else {
        context.setPaintColor(box);
        context.paintRect(size);
        if (!twoColourEdge) {
            context.setPenColor(edge);
            context.strokeRect(size);
        }
    }
    if (twoColourEdge) {
        const bool raised = (styleBits & raisedEdge) != 0;
        context.setPenColor(raised ? box : edge);
        context.penTo({size.left, size.bottom});
        context.strokeTo({size.left, size.top});
        context.strokeTo({size.right + 1, size.top});
        context.setPenColor(raised ? edge : box);
        context.penTo({size.right, size.top + 1});
        context.strokeTo({size.right, size.bottom});
        context.strokeTo({size.left, size.bottom});
    }
    context.selectFont(font);
    if (styleBits & shadowText) {
        context.setInkColor(shadowInk);
        const Rect shadow{size.left + 1, size.top + 1, size.right + 1, size.bottom + 1};
        context.drawText(text, shadow, 0, align);
    }
    context.setInkColor(ink);
    context.drawText(text, size, 0, align);
    lastDrawn = currentValue;
}

void ValueDisplay::setFontId(FontId id) {
    if (id != font)
        changed();
    font = id;
}

void ValueDisplay::setInkColor(Color color) {
    if (!(color == ink))
        changed();
    ink = color;
}

void ValueDisplay::setBoxColor(Color color) {
    if (!(color == box))
        changed();
    box = color;
}

void ValueDisplay::setEdgeColor(Color color) {
    if (!(color == edge))
        changed();
    edge = color;
}

void ValueDisplay::setShadowInkColor(Color color) {
    if (!(color == shadowInk))
        changed();
    shadowInk = color;
}

void ValueDisplay::setTextAlign(TextAlign newAlign) {
    if (newAlign != align)
        changed();
    align = newAlign;
}

void ValueDisplay::setBoxPictureOffset(Point offset) {
    boxPictureOffset = offset;
}

void ValueDisplay::setValueConverter(ValueConverter newConverter) {
    converter = newConverter;
}
