#pragma once
// The value printed as text in a box: over a background picture, or in a
// box of its own colour with an outline or a two-colour edge. A converter
// may turn the value into any text; without one it shows two decimals.
// The text field and the choice menu draw their text the same way.

#include "gui/Color.h"
#include "gui/Control.h"
#include "gui/Fonts.h"
#include "gui/TextAlign.h"

class Bitmap;

// Turns a value into the text to show; `text` holds 256 bytes.
using ValueConverter = void (*)(float value, char* text);

namespace valueDisplayStyle {
inline constexpr std::int32_t shadowText = 0x004;
// Either bit draws a two-colour edge instead of the outline; with
// raisedEdge the box colour takes the upper-left lines, else the edge
// colour does.
inline constexpr std::int32_t raisedEdge = 0x080;
inline constexpr std::int32_t loweredEdge = 0x100;
} // namespace valueDisplayStyle

class ValueDisplay : public Control {
  public:
    // No listener and tag 0. The background, if any, is retained.
    ValueDisplay(const Rect& size, Bitmap* background, std::int32_t style);
    ~ValueDisplay() override;

    void draw(DrawContext& context) override;

    // Each setter that changes what is shown makes the next refresh redraw.
    virtual void setFontId(FontId id);
    virtual void setInkColor(Color color);
    virtual void setBoxColor(Color color);
    virtual void setEdgeColor(Color color);
    virtual void setShadowInkColor(Color color);
    virtual void setTextAlign(TextAlign align);
    virtual void setBoxPictureOffset(Point offset);
    virtual void setValueConverter(ValueConverter converter);

    std::int32_t style() const { return styleBits; }
    FontId fontId() const { return font; }
    TextAlign textAlign() const { return align; }
    Bitmap* background() const { return backgroundPicture; }

  protected:
    ValueDisplay(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* background,
                 std::int32_t style);

    // The box, then the text in it; records the value as drawn. `picture`
    // stands in for the background (the menu's pressed look).
    void drawTextBox(DrawContext& context, const char* text, Bitmap* picture);
    // Makes the next refresh draw, whatever the value.
    void forceRedraw() { lastDrawn = currentValue == 0.0f ? 1.0f : 0.0f; }

    TextAlign align = AlignCenter;
    std::int32_t styleBits;
    FontId font = 3;
    Color ink = colors::white;
    Color box = colors::black;
    Color edge = colors::black;
    Color shadowInk = colors::red;
    Point boxPictureOffset{0, 0};
    Bitmap* backgroundPicture;
    ValueConverter converter = nullptr;

  private:
    void changed() { lastDrawn = currentValue + 0.1f; }
};
