#pragma once
// The single-line text editor that backends without a system edit control
// put into an "EDIT" window: the text, the caret, the horizontal scroll and
// the drawing, independent of any window system. The backend owns the
// window and feeds the editor what the window receives; the editor answers
// whether the window has to be drawn again.

#include "platform/TextEditing.h"
#include "platform/Types.h"

#include <cstdint>
#include <string>

namespace platform::widgets {

// The message a window gaining the keyboard focus receives from the
// backends that draw their own edit windows; wParam: the window that lost
// it, or 0. Only the backends send it.
constexpr std::uint32_t MessageSetFocus = 0x0007;

class LineEditor {
  public:
    // The longest text the editor holds; longer texts are cut.
    static constexpr std::int32_t MaxLength = 255;

    // `style` takes EditStyleCentre and EditStyleAutoScroll; the text is cut
    // to MaxLength and the caret put behind it.
    LineEditor(const char* text, std::uint32_t style, std::int32_t width, std::int32_t height);
    ~LineEditor();
    LineEditor(const LineEditor&) = delete;
    LineEditor& operator=(const LineEditor&) = delete;

    const std::string& text() const { return text_; }
    void setText(const char* text);
    // Index of the character the caret stands before (0..length).
    std::int32_t caret() const { return caret_; }
    // Pixels of text scrolled out on the left.
    std::int32_t scroll() const { return scroll_; }

    void resize(std::int32_t width, std::int32_t height);
    // As MessageEditSetMargins: `which` holds EditLeftMargin and/or
    // EditRightMargin, `margins` the left in its low and the right in its
    // high 16 bits.
    void setMargins(WordParam which, LongParam margins);
    // As MessageSetFont: the font to draw with, not owned; none goes back to
    // the editor's own plain font.
    void setFont(Font* font);
    void setFocused(bool focused);
    bool focused() const { return focused_; }

    // MessageKeyDown: backspace, delete, left, right, home and end; other
    // keys are not the editor's. True when the text or the caret changed.
    bool keyDown(std::int32_t virtualKey);
    // MessageChar: a printable character goes in at the caret; control
    // characters and characters beyond MaxLength are refused. Without
    // EditStyleAutoScroll a character that would not fit the box is refused.
    bool character(std::int32_t character);
    // A press at the client point (x, y) puts the caret on the nearest
    // character boundary.
    bool click(std::int32_t x, std::int32_t y);

    // What an edit window's focus, font, margin, key and character message
    // does to the editor. Paints and presses are the window's own to handle.
    enum class Applied { NotAMessageOfMine, Unchanged, Changed };
    Applied apply(std::uint32_t message, WordParam wParam, LongParam lParam);

    // The whole client area: a white box, the text in black and, while
    // focused, the caret.
    void draw(DeviceContext* context) const;

    // Client x of the caret as drawn (for a backend placing an input method).
    std::int32_t caretX() const;

  private:
    // Width of the first `count` characters.
    std::int32_t widthOf(std::int32_t count) const;
    std::int32_t areaWidth() const;
    bool centred() const;
    std::int32_t textLeft() const;
    void keepCaretVisible();

    std::string text_;
    std::uint32_t style_;
    std::int32_t width_;
    std::int32_t height_;
    std::int32_t leftMargin_ = 2;
    std::int32_t rightMargin_ = 2;
    std::int32_t caret_ = 0;
    std::int32_t scroll_ = 0;
    bool focused_ = false;
    Font* ownFont_;
    Font* font_;
};

} // namespace platform::widgets
