// The single-line editor: the text lies in the area between the margins,
// centred while it fits when the style asks for it, else from the left and
// scrolled just enough to keep the caret in view.

#include "platform/widgets/LineEditor.h"

#include "platform/Drawing.h"
#include "platform/widgets/PlainFont.h"

#include <algorithm>
#include <cstdlib>

namespace platform::widgets {

LineEditor::LineEditor(const char* text, std::uint32_t style, std::int32_t width,
                       std::int32_t height)
    : style_(style), width_(width), height_(height), ownFont_(createPlainFont()), font_(ownFont_) {
    setText(text);
}

LineEditor::~LineEditor() {
    if (ownFont_)
        deleteFont(ownFont_);
}

void LineEditor::setText(const char* text) {
    text_ = text ? text : "";
    if (static_cast<std::int32_t>(text_.size()) > MaxLength)
        text_.resize(MaxLength);
    caret_ = static_cast<std::int32_t>(text_.size());
    keepCaretVisible();
}

void LineEditor::resize(std::int32_t width, std::int32_t height) {
    width_ = width;
    height_ = height;
    keepCaretVisible();
}

void LineEditor::setMargins(WordParam which, LongParam margins) {
    if (which & EditLeftMargin)
        leftMargin_ = static_cast<std::int32_t>(margins & 0xFFFF);
    if (which & EditRightMargin)
        rightMargin_ = static_cast<std::int32_t>((margins >> 16) & 0xFFFF);
    keepCaretVisible();
}

void LineEditor::setFont(Font* font) {
    font_ = font ? font : ownFont_;
    keepCaretVisible();
}

void LineEditor::setFocused(bool focused) {
    focused_ = focused;
}

bool LineEditor::keyDown(std::int32_t virtualKey) {
    const auto length = static_cast<std::int32_t>(text_.size());
    const std::string before = text_;
    const std::int32_t caretBefore = caret_;
    switch (virtualKey) {
    case KeyBackspace:
        if (caret_ > 0)
            text_.erase(static_cast<std::size_t>(--caret_), 1);
        break;
    case KeyDelete:
        if (caret_ < length)
            text_.erase(static_cast<std::size_t>(caret_), 1);
        break;
    case KeyLeft:
        caret_ = std::max(caret_ - 1, 0);
        break;
    case KeyRight:
        caret_ = std::min(caret_ + 1, length);
        break;
    case KeyHome:
        caret_ = 0;
        break;
    case KeyEnd:
        caret_ = length;
        break;
    default:
        return false;
    }
    keepCaretVisible();
    return caret_ != caretBefore || text_ != before;
}

bool LineEditor::character(std::int32_t character) {
    if (character < 0x20 || character == 0x7F || character > 0xFF)
        return false;
    if (static_cast<std::int32_t>(text_.size()) >= MaxLength)
        return false;
    const char c = static_cast<char>(character);
    if (!(style_ & EditStyleAutoScroll) &&
        widthOf(static_cast<std::int32_t>(text_.size())) + textWidth(font_, &c, 1) > areaWidth())
        return false;
    text_.insert(static_cast<std::size_t>(caret_++), 1, c);
    keepCaretVisible();
    return true;
}

bool LineEditor::click(std::int32_t x, std::int32_t) {
    const std::int32_t left = textLeft();
    std::int32_t nearest = 0;
    for (std::int32_t i = 1; i <= static_cast<std::int32_t>(text_.size()); ++i)
        if (std::abs(left + widthOf(i) - x) < std::abs(left + widthOf(nearest) - x))
            nearest = i;
    const std::int32_t before = caret_;
    caret_ = nearest;
    keepCaretVisible();
    return caret_ != before;
}

std::int32_t LineEditor::caretX() const {
    return textLeft() + widthOf(caret_);
}

std::int32_t LineEditor::widthOf(std::int32_t count) const {
    return textWidth(font_, text_.data(), count);
}

std::int32_t LineEditor::areaWidth() const {
    return std::max(width_ - leftMargin_ - rightMargin_, 1);
}

bool LineEditor::centred() const {
    return (style_ & EditStyleCentre) &&
           widthOf(static_cast<std::int32_t>(text_.size())) < areaWidth();
}

std::int32_t LineEditor::textLeft() const {
    if (centred())
        return leftMargin_ + (areaWidth() - widthOf(static_cast<std::int32_t>(text_.size()))) / 2;
    return leftMargin_ - scroll_;
}

void LineEditor::keepCaretVisible() {
    if (centred()) {
        scroll_ = 0;
        return;
    }
    // The caret is one pixel wide: at the end of a long text it takes the
    // area's last column.
    const std::int32_t caret = widthOf(caret_);
    const std::int32_t last = areaWidth() - 1;
    if (caret < scroll_)
        scroll_ = caret;
    else if (caret > scroll_ + last)
        scroll_ = caret - last;
    const std::int32_t widest = widthOf(static_cast<std::int32_t>(text_.size())) - last;
    scroll_ = std::clamp(scroll_, 0, std::max(widest, 0));
}

void LineEditor::draw(DeviceContext* context) const {
    if (!context)
        return;
    if (Brush* white = createSolidBrush(colorWord(255, 255, 255))) {
        fillRect(context, {0, 0, width_, height_}, white);
        deleteBrush(white);
    }
    const std::int32_t rowHeight = lineHeight(font_);
    const std::int32_t top = (height_ - rowHeight) / 2;
    const std::int32_t areaRight = width_ - rightMargin_;

    // Characters that start left of the area stay hidden; the area's right
    // edge clips the rest.
    std::int32_t first = 0;
    std::int32_t penX = textLeft();
    const auto length = static_cast<std::int32_t>(text_.size());
    while (first < length && penX < leftMargin_)
        penX += textWidth(font_, &text_[static_cast<std::size_t>(first++)], 1);
    Font* oldFont = selectFont(context, font_);
    const ColorWord oldInk = setTextColor(context, colorWord(0, 0, 0));
    const BackgroundMode oldMode = setBackgroundMode(context, BackgroundMode::Transparent);
    drawText(context, text_.data() + first, length - first, {penX, top, areaRight, top + rowHeight},
             TextLeft | TextSingleLine);
    setBackgroundMode(context, oldMode);
    setTextColor(context, oldInk);
    if (oldFont)
        selectFont(context, oldFont);

    if (focused_) {
        const std::int32_t x = caretX();
        if (Brush* black = createSolidBrush(colorWord(0, 0, 0))) {
            fillRect(context, {x, top, x + 1, top + rowHeight}, black);
            deleteBrush(black);
        }
    }
}

LineEditor::Applied LineEditor::apply(std::uint32_t message, WordParam wParam, LongParam lParam) {
    const auto changedIf = [](bool changed) {
        return changed ? Applied::Changed : Applied::Unchanged;
    };
    switch (message) {
    case MessageSetFocus:
    case MessageKillFocus:
        setFocused(message == MessageSetFocus);
        return Applied::Changed;
    case MessageSetFont:
        setFont(reinterpret_cast<Font*>(wParam));
        return changedIf(lParam != 0);
    case MessageEditSetMargins:
        setMargins(wParam, lParam);
        return Applied::Changed;
    case MessageKeyDown:
        return changedIf(keyDown(static_cast<std::int32_t>(wParam)));
    case MessageChar:
        return changedIf(character(static_cast<std::int32_t>(wParam)));
    default:
        return Applied::NotAMessageOfMine;
    }
}

} // namespace platform::widgets
