#include "cli/GalleryCatalogue.h"

#include "cli/CommandError.h"
#include "editor/ShaperLayout.h"
#include "gui/Bitmap.h"
#include "gui/ChoiceMenu.h"
#include "gui/DigitDisplay.h"
#include "gui/Faders.h"
#include "gui/FilmstripKnob.h"
#include "gui/LevelMeter.h"
#include "gui/PopupPicture.h"
#include "gui/RotaryKnob.h"
#include "gui/Selectors.h"
#include "gui/StripControls.h"
#include "gui/TextField.h"
#include "gui/ToggleButton.h"
#include "gui/ValueDisplay.h"
#include "resources/GalleryResourceTable.h"

#include <cstdio>
#include <initializer_list>

using namespace shaperLayout;
using namespace resources;

namespace {

// Sizes of the pictures, as the generator draws them.
constexpr std::int32_t knobSize = 43;
constexpr std::int32_t selectorWidth = 42, selectorHeight = 17;
constexpr std::int32_t faderLength = 243, horizontalFaderLength = 130, faderBreadth = 19;
constexpr std::int32_t handleLength = 19; // of the fader handle, along its track
constexpr std::int32_t handleInset = 3;   // from the track's edges
constexpr std::int32_t popupSize = 268;
constexpr std::int32_t boxWidth = 72, boxHeight = 20;
constexpr std::int32_t filmstripPictures = 31;
constexpr std::int32_t stripWidth = 48, stripHeight = 24, stripPictures = 5;
constexpr std::int32_t buttonSize = 24;
constexpr std::int32_t digitWidth = 14, digitHeight = 22;
constexpr std::int32_t meterWidth = 12, meterHeight = 120, meterSegments = 15;

// Colours of the editor's panel, for the displays drawn without a picture.
constexpr Color amber{255, 172, 56, 0};
constexpr Color well{25, 27, 31, 0};
constexpr Color wellEdge{58, 62, 69, 0};
constexpr Color groove{16, 17, 20, 0};

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

void percent(float value, char* text) {
    std::snprintf(text, 256, "%.0f %%", static_cast<double>(value * 100.0f));
}

// The same control at each of `values`, captioned with the value.
template <typename Make>
std::vector<Specimen> atValues(std::initializer_list<float> values, std::int32_t width,
                               std::int32_t height, Make make) {
    std::vector<Specimen> specimens;
    for (float value : values)
        specimens.push_back({number(value), width, height, [=](const Rect& size) {
                                 Control* control = make(size);
                                 control->setValue(value);
                                 return control;
                             }});
    return specimens;
}

ExhibitRow editorControlsRow(const GalleryPictures& p) {
    return {
        {"RotaryKnob", atValues({0.0f, 0.5f, 1.0f}, knobSize, knobSize,
                                [&p](const Rect& size) {
                                    return new RotaryKnob(size, nullptr, 0, p[KnobBackgroundBitmap],
                                                          p[KnobHandleBitmap], {0, 0});
                                })},
        {"RowSelector", atValues({0.0f, 1.0f}, selectorWidth, selectorHeight,
                                 [&p](const Rect& size) {
                                     return new RowSelector(size, nullptr, 0, 2, selectorHeight, 2,
                                                            p[SelectorBitmap], {0, 0});
                                 })},
        {"ColumnSelector", atValues({0.0f, 1.0f}, selectorWidth, selectorHeight,
                                    [&p](const Rect& size) {
                                        return new ColumnSelector(size, nullptr, 0, 2,
                                                                  selectorHeight, 2,
                                                                  p[SelectorBitmap], {0, 0});
                                    })},
        {"HorizontalFader",
         atValues({0.0f, 0.5f, 1.0f}, horizontalFaderLength, faderBreadth,
                  [&p](const Rect& size) {
                      auto* fader = new HorizontalFader(
                          size, nullptr, 0, size.left + handleInset, size.right - handleLength,
                          p[HorizontalFaderHandleBitmap], p[HorizontalFaderTrackBitmap], {0, 0},
                          faderStyle::zeroAtLeft);
                      fader->setHandleOffset({handleInset, handleInset});
                      return fader;
                  }),
         true},
    };
}

ExhibitRow tallControlsRow(const GalleryPictures& p) {
    return {
        {"VerticalFader", atValues({0.0f, 0.5f, 1.0f}, faderBreadth, faderLength,
                                   [&p](const Rect& size) {
                                       auto* fader = new VerticalFader(
                                           size, nullptr, 0, size.top + handleInset,
                                           size.bottom - handleLength, p[FaderHandleBitmap],
                                           p[FaderBackgroundBitmap], {0, 0},
                                           faderStyle::zeroAtBottom);
                                       fader->setHandleOffset({handleInset, 0});
                                       return fader;
                                   })},
        {"PopupPicture",
         {{"open", popupSize, popupSize,
           [&p](const Rect& size) {
               auto* popup = new PopupPicture(size, nullptr, 0, p[PopupBitmap], size, {0, 0});
               popup->setValue(1.0f);
               return popup;
           }}}},
        {"LevelMeter", atValues({0.2f, 0.6f, 1.0f}, meterWidth, meterHeight,
                                [&p](const Rect& size) {
                                    return new LevelMeter(size, p[MeterOnBitmap], p[MeterOffBitmap],
                                                          meterSegments, 0);
                                })},
    };
}

ExhibitRow buttonsRow(const GalleryPictures& p) {
    return {
        {"ToggleButton", atValues({0.0f, 1.0f}, selectorWidth, selectorHeight,
                                  [&p](const Rect& size) {
                                      return new ToggleButton(size, nullptr, 0, p[ToggleBitmap]);
                                  })},
        {"RockerSwitch",
         atValues(
             {-1.0f, 0.0f, 1.0f}, selectorWidth, selectorHeight,
             [&p](const Rect& size) {
                 return new RockerSwitch(size, nullptr, 0, selectorHeight, p[RockerBitmap], {0, 0});
             })},
        {"PictureStripButton", atValues({0.0f, 1.0f}, buttonSize, buttonSize,
                                        [&p](const Rect& size) {
                                            return new PictureStripButton(size, nullptr, 0,
                                                                          buttonSize,
                                                                          p[ButtonBitmap], {0, 0});
                                        })},
        {"MomentaryButton",
         atValues(
             {0.0f, 1.0f}, buttonSize, buttonSize,
             [&p](const Rect& size) {
                 return new MomentaryButton(size, nullptr, 0, buttonSize, p[ButtonBitmap], {0, 0});
             })},
    };
}

ExhibitRow stripsRow(const GalleryPictures& p) {
    std::vector<Specimen> animation;
    for (std::int32_t picture : {0, 3, 6})
        animation.push_back({"picture " + std::to_string(picture), buttonSize, buttonSize,
                             [&p, picture](const Rect& size) {
                                 auto* strip = new AnimationStrip(size, nullptr, 0, 8, buttonSize,
                                                                  p[AnimationBitmap], {0, 0});
                                 strip->start();
                                 strip->setValue(static_cast<float>(picture * buttonSize));
                                 return strip;
                             }});
    return {
        {"FilmstripKnob", atValues({0.0f, 0.5f, 1.0f}, knobSize, knobSize,
                                   [&p](const Rect& size) {
                                       return new FilmstripKnob(size, nullptr, 0, filmstripPictures,
                                                                knobSize, p[FilmstripKnobBitmap],
                                                                {0, 0});
                                   })},
        {"PictureStrip", atValues({0.0f, 0.25f, 0.5f, 0.75f, 1.0f}, stripWidth, stripHeight,
                                  [&p](const Rect& size) {
                                      return new PictureStrip(size, nullptr, 0, stripPictures,
                                                              stripHeight, p[PictureStripBitmap],
                                                              {0, 0});
                                  })},
        {"AnimationStrip", animation},
    };
}

// A digit display of `count` digits side by side, filling its size.
Specimen digits(const GalleryPictures& p, float value, std::int32_t count) {
    return {number(value), count * digitWidth, digitHeight, [&p, value, count](const Rect& size) {
                std::int32_t x[DigitDisplay::maxDigits] = {}, y[DigitDisplay::maxDigits] = {};
                for (std::int32_t i = 0; i < count; ++i) {
                    x[i] = size.left + i * digitWidth;
                    y[i] = size.top;
                }
                return new DigitDisplay(size, nullptr, 0, value, count, x, y, digitWidth,
                                        digitHeight, p[DigitsBitmap]);
            }};
}

ExhibitRow textRow(const GalleryPictures& p) {
    auto onPicture = [&p](const Rect& size) {
        auto* display = new ValueDisplay(size, p[BoxBitmap], 0);
        display->setInkColor(amber);
        return display;
    };
    auto shadowed = [](const Rect& size) {
        auto* display = new ValueDisplay(size, nullptr, valueDisplayStyle::shadowText);
        display->setBoxColor(wellEdge);
        display->setEdgeColor(well);
        display->setShadowInkColor(colors::black);
        return display;
    };
    auto edged = [](const Rect& size) {
        auto* display = new ValueDisplay(size, nullptr, valueDisplayStyle::raisedEdge);
        display->setBoxColor(groove);
        display->setEdgeColor(wellEdge);
        display->setValueConverter(percent);
        return display;
    };
    std::vector<Specimen> displays = atValues({0.5f}, boxWidth, boxHeight, onPicture);
    for (Specimen& s : atValues({0.25f}, boxWidth, boxHeight, shadowed))
        displays.push_back(s);
    for (Specimen& s : atValues({0.75f}, boxWidth, boxHeight, edged))
        displays.push_back(s);
    displays[1].caption += " shadow";
    displays[2].caption += " edge";

    auto field = [&p](const char* text, const char* caption) {
        return Specimen{caption, boxWidth, boxHeight, [&p, text](const Rect& size) {
                            auto* made = new TextField(size, nullptr, 0, text, p[BoxBitmap], 0);
                            made->setInkColor(amber);
                            return made;
                        }};
    };
    auto menu = [&p](std::int32_t current, const char* caption) {
        return Specimen{caption, boxWidth, boxHeight, [&p, current](const Rect& size) {
                            auto* choices = new ChoiceMenu(size, nullptr, 0, p[BoxBitmap],
                                                           p[BoxPressedBitmap], 0);
                            for (const char* entry : {"Soft", "Hard", "-", "Fold"})
                                choices->insertItem(entry);
                            choices->selectItem(current);
                            choices->setInkColor(amber);
                            return choices;
                        }};
    };
    return {
        {"ValueDisplay", displays},
        {"TextField", {field("Varnex", "text"), field("", "empty")}},
        {"ChoiceMenu", {menu(1, "entry 1 of 4"), menu(3, "entry 3 of 4")}},
        {"DigitDisplay", {digits(p, 42.7f, 3), digits(p, 2026.0f, 4)}},
    };
}

constexpr std::int32_t galleryPictureIds[] = {
    KnobHandleBitmap,
    KnobBackgroundBitmap,
    SelectorBitmap,
    FaderBackgroundBitmap,
    FaderHandleBitmap,
    PopupBitmap,
    ToggleBitmap,
    FilmstripKnobBitmap,
    RockerBitmap,
    PictureStripBitmap,
    ButtonBitmap,
    AnimationBitmap,
    DigitsBitmap,
    MeterOnBitmap,
    MeterOffBitmap,
    BoxBitmap,
    BoxPressedBitmap,
    HorizontalFaderTrackBitmap,
    HorizontalFaderHandleBitmap,
};

} // namespace

GalleryPictures::GalleryPictures() {
    for (std::int32_t id : galleryPictureIds)
        pictures[id] = new Bitmap(id);
    for (auto& [id, picture] : pictures) {
        if (!picture->loaded()) {
            const std::string missing = std::to_string(id);
            for (auto& [loadedId, loaded] : pictures)
                loaded->release();
            throw CommandError("gallery: picture " + missing + " is missing");
        }
    }
}

GalleryPictures::~GalleryPictures() {
    for (auto& [id, picture] : pictures)
        picture->release();
}

std::vector<ExhibitRow> galleryCatalogue(const GalleryPictures& pictures) {
    return {editorControlsRow(pictures), tallControlsRow(pictures), buttonsRow(pictures),
            stripsRow(pictures), textRow(pictures)};
}
