#pragma once
// A text in a box, drawn as the value display draws its value, that the
// user edits in place: a left click opens a platform edit window over the
// box, which keeps the keyboard until return, a click elsewhere in the
// frame or another window taking the focus ends the edit. The listener
// hears of an edit that changed the text.

#include "gui/ValueDisplay.h"
#include "platform/Types.h"

// Turns the text into the text to show; `shown` holds 256 bytes.
using TextConverter = void (*)(const char* text, char* shown);

class TextField : public ValueDisplay {
  public:
    static constexpr std::int32_t textCapacity = 256; // with the terminator

    // No initial text gives an empty field. The background, if any, is
    // retained.
    TextField(const Rect& size, ControlListener* listener, std::int32_t tag,
              const char* initialText, Bitmap* background, std::int32_t style);
    ~TextField() override;

    void draw(DrawContext& context) override;
    // The left button alone opens the edit window, unless it is open.
    void mouseDown(DrawContext& context, Point where) override;
    // Takes the edited text back, closes the edit window, and tells the
    // listener when the text changed; then draws the field.
    void releaseFocus() override;
    // Opens the edit window over the field with the keyboard focus.
    void acquireFocus() override;

    // Stores the text (none: empty) and makes the next refresh draw it.
    virtual void setText(const char* newText);
    // Copies the text into `out`, which holds 256 bytes.
    virtual void text(char* out) const;
    virtual void setTextConverter(TextConverter newConverter);

    platform::Window* editWindow() const { return editor; }

  private:
    static platform::MessageResult editProcedure(platform::Window* window, std::uint32_t message,
                                                 platform::WordParam wParam,
                                                 platform::LongParam lParam);
    void closeEditWindow();

    platform::Window* editor = nullptr;
    platform::Font* editFont = nullptr;
    char content[textCapacity] = {};
    TextConverter textConverter = nullptr;
};
