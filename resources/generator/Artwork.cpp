// Draws the editor's nine pictures, and the picture strips of the
// toolkit's further controls (ControlStrips.cpp), and writes them as 24-bit
// BMP files:
//   varnex_artwork FONT_DIRECTORY OUTPUT_DIRECTORY
//
// One look throughout: a dark graphite panel with amber accents and a lit,
// paper-coloured curve area on which the curve is drawn in black. Control
// positions follow the editor's layout, so every label, seat and groove on
// the background sits exactly under the control that is drawn over it.
// Pictures drawn with the transparency key (marker, knob handle, fader
// handle) use pure white only where they are see-through; their edges are
// blended against what they are drawn over.

#include "Canvas.h"
#include "ControlStrips.h"
#include "Lettering.h"
#include "Look.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

using namespace artwork;

namespace artwork {
namespace {

// A faint, fixed grain so the panel does not look flat.
float grain(int x, int y) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0f - 0.5f;
}

} // namespace

Rgb panelAt(float x, float y, float height) {
    const Rgb base = mix(panelTop, panelBottom, y / height);
    const float g = grain(static_cast<int>(x), static_cast<int>(y)) * 0.008f;
    return {base.r + g, base.g + g, base.b + g};
}

void keyedPixel(Canvas& canvas, int x, int y, Rgb color, Rgb under, float coverage) {
    if (coverage < 0.3f) {
        canvas.set(x, y, keyWhite);
        return;
    }
    Rgb c = mix(under, color, std::min(1.0f, coverage));
    // Never produce the key by accident.
    if (c.r > 0.995f && c.g > 0.995f && c.b > 0.995f)
        c = {0.99f, 0.99f, 0.99f};
    canvas.set(x, y, c);
}

// --- knob ---------------------------------------------------------------------
constexpr float knobRadius = 21.0f;
constexpr float capRadius = 14.0f;

void knobDirection(float value, float& dx, float& dy) {
    const float a = value * 1.5f * pi + 1.25f * pi;
    dx = std::sin(a);
    dy = -std::cos(a);
}

// The well a knob sits in, with its scale: drawn on the background, and
// the part under the knob's square repeated in the knob face picture.
void drawKnobSeat(Canvas& canvas, float cx, float cy) {
    canvas.shape([=](float x, float y) { return circleDistance(x, y, cx, cy, 32.0f); }, seatEdge);
    canvas.shape([=](float x, float y) { return circleDistance(x, y, cx, cy, 31.0f); }, seat);
    for (int i = 0; i <= 10; ++i) {
        float dx, dy;
        knobDirection(i / 10.0f, dx, dy);
        const bool major = i == 0 || i == 5 || i == 10;
        const float inner = 24.5f;
        const float outer = major ? 29.0f : 27.0f;
        canvas.shape(
            [=](float x, float y) {
                return segmentDistance(x, y, cx + dx * inner, cy + dy * inner, cx + dx * outer,
                                       cy + dy * outer, major ? 0.8f : 0.55f);
            },
            major ? amberDim : quietText, major ? 1.0f : 0.8f);
    }
}

void drawKnobBody(Canvas& canvas, float cx, float cy) {
    // Soft shadow, body, the groove the handle runs in, and a lit cap.
    canvas.shape(
        [=](float x, float y) {
            return circleDistance(x, y, cx + 0.6f, cy + 1.2f, knobRadius + 0.6f);
        },
        rgb(8, 9, 10), 0.55f);
    canvas.shape([=](float x, float y) { return circleDistance(x, y, cx, cy, knobRadius); },
                 [=](float x, float y) {
                     const float t = ((x - cx) * -0.5f + (y - cy) * -0.85f) / knobRadius;
                     return mix(rgb(30, 32, 36), rgb(64, 68, 75), 0.5f + 0.5f * t);
                 });
    canvas.shape([=](float x, float y) { return circleDistance(x, y, cx, cy, knobRadius - 1.2f); },
                 groove);
    canvas.shape([=](float x, float y) { return circleDistance(x, y, cx, cy, capRadius + 0.8f); },
                 rgb(10, 11, 12), 0.7f);
    canvas.shape([=](float x, float y) { return circleDistance(x, y, cx, cy, capRadius); },
                 [=](float x, float y) {
                     const float dx = x - cx, dy = y - cy;
                     const float light = (dx * -0.45f + dy * -0.9f) / capRadius;
                     // Concentric turning marks on the cap.
                     const float rings = 0.02f * std::sin(std::hypot(dx, dy) * 3.1f);
                     return mix(rgb(52, 56, 63), rgb(104, 110, 120), 0.5f + 0.45f * light + rings);
                 });
    canvas.shape(
        [=](float x, float y) {
            return std::fabs(circleDistance(x, y, cx, cy, capRadius - 0.6f)) - 0.45f;
        },
        rgb(140, 146, 156), 0.35f);
}

Canvas knobFace() {
    Canvas face(43, 43, seat);
    drawKnobSeat(face, 21.5f, 21.5f);
    drawKnobBody(face, 21.5f, 21.5f);
    return face;
}

Canvas knobHandle() {
    Canvas handle(6, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const float d = circleDistance(x + 0.5f, y + 0.5f, 3.0f, 3.0f, 2.7f);
            const float coverage = std::clamp(0.5f - d, 0.0f, 1.0f);
            const float glow =
                std::clamp(1.0f - std::hypot(x + 0.5f - 2.6f, y + 0.5f - 2.6f) / 3.0f, 0.0f, 1.0f);
            keyedPixel(handle, x, y, mix(amber, rgb(255, 232, 170), glow * 0.8f), groove, coverage);
        }
    return handle;
}

// --- fader ------------------------------------------------------------------------
// Handle centres (relative to the fader) run from 12.5 to length - 9.5.
Canvas faderTrack(int length) {
    const float end = static_cast<float>(length);
    Canvas track(19, length, seat);
    for (int i = 0; i <= 10; ++i) {
        const float y = 12.5f + (end - 9.5f - 12.5f) * i / 10.0f;
        const bool major = i == 0 || i == 5 || i == 10;
        const float length = major ? 3.5f : 2.2f;
        track.shape(
            [=](float x, float py) {
                return segmentDistance(x, py, 0.8f, y, 0.8f + length, y, 0.5f);
            },
            major ? amberDim : quietText, major ? 1.0f : 0.8f);
        track.shape(
            [=](float x, float py) {
                return segmentDistance(x, py, 18.2f - length, y, 18.2f, y, 0.5f);
            },
            major ? amberDim : quietText, major ? 1.0f : 0.8f);
    }
    track.shape(
        [=](float x, float y) {
            return roundedBoxDistance(x, y, 7.0f, 8.0f, 12.0f, end - 8.0f, 2.5f);
        },
        rgb(8, 9, 10));
    track.shape(
        [=](float x, float y) {
            return segmentDistance(x, y, 11.6f, 10.0f, 11.6f, end - 10.0f, 0.35f);
        },
        rgb(70, 75, 83), 0.8f);
    return track;
}

Canvas faderHandle() {
    Canvas handle(12, 19);
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 12; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float d = roundedBoxDistance(px, py, 0.3f, 0.3f, 11.7f, 18.7f, 2.4f);
            const float coverage = std::clamp(0.5f - d, 0.0f, 1.0f);
            Rgb c = mix(rgb(206, 210, 216), rgb(122, 127, 135), py / 19.0f);
            if (d > -1.2f)
                c = mix(c, rgb(60, 63, 69), 0.55f); // rim
            if (std::fabs(py - 9.5f) < 1.0f && px > 1.5f && px < 10.5f)
                c = amber; // the indicator line
            else if ((y == 5 || y == 13) && px > 2.5f && px < 9.5f)
                c = mix(c, rgb(70, 74, 80), 0.6f); // grip lines
            keyedPixel(handle, x, y, c, seat, coverage);
        }
    return handle;
}

bool writePicture(const Canvas& canvas, const std::string& directory, const char* name) {
    const std::string path = directory + "/" + name;
    if (!canvas.writeBmp(path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace artwork

namespace {

// --- layout of the editor (frame coordinates) --------------------------------
struct Box {
    int left, top, width, height;
    float centreX() const { return left + width / 2.0f; }
    float centreY() const { return top + height / 2.0f; }
};
constexpr Box popupHotSpot{14, 18, 75, 250};
constexpr Box curveArea{167, 11, 267, 267};
constexpr Box preGainKnob{108, 71, 43, 43};
constexpr Box preFilterKnob{107, 207, 43, 43};
constexpr Box postGainKnob{453, 207, 43, 43};
constexpr Box postFilterKnob{453, 71, 43, 43};
constexpr Box preSwitch{107, 262, 42, 17};
constexpr Box postSwitch{454, 130, 42, 17};
constexpr Box fader{539, 22, 19, 243};

// --- selector -------------------------------------------------------------------
Canvas selectorPicture(const Lettering& letters, bool highPass) {
    Canvas picture(42, 17, seat);
    picture.shape(
        [](float x, float y) { return roundedBoxDistance(x, y, 0.5f, 0.5f, 41.5f, 16.5f, 4.5f); },
        seatEdge);
    picture.shape(
        [](float x, float y) { return roundedBoxDistance(x, y, 1.5f, 1.5f, 40.5f, 15.5f, 3.5f); },
        groove);
    const float litLeft = highPass ? 21.0f : 1.5f;
    const float litRight = highPass ? 40.5f : 21.0f;
    picture.shape(
        [=](float x, float y) {
            return std::max(roundedBoxDistance(x, y, 1.5f, 1.5f, 40.5f, 15.5f, 3.5f),
                            std::max(litLeft - x, x - litRight));
        },
        [](float, float y) { return mix(rgb(255, 196, 96), amber, (y - 1.5f) / 14.0f); });
    picture.shape(
        [](float x, float y) { return segmentDistance(x, y, 21.0f, 2.0f, 21.0f, 15.0f, 0.5f); },
        seatEdge);
    letters.draw(picture, "LP", 11.0f, 12.5f, Weight::Bold, 9,
                 highPass ? quietText : rgb(30, 24, 16), Anchor::Centre);
    letters.draw(picture, "HP", 31.0f, 12.5f, Weight::Bold, 9,
                 highPass ? rgb(30, 24, 16) : quietText, Anchor::Centre);
    return picture;
}

Canvas selector(const Lettering& letters) {
    Canvas both(42, 34);
    both.paste(selectorPicture(letters, false), 0, 0);
    both.paste(selectorPicture(letters, true), 0, 17);
    return both;
}

// --- curve area -----------------------------------------------------------------------
// Points of the curve live in 11..255 on both axes; the centre line is 133.
Canvas curveBackground(const Lettering& letters) {
    Canvas area(267, 267, paper);
    area.fill([](float x, float y) {
        const float vignette = std::hypot(x - 133.5f, y - 133.5f) / 190.0f;
        return mix(rgb(242, 238, 226), paper, std::clamp(vignette, 0.0f, 1.0f));
    });
    const float lo = 11.0f, hi = 255.0f;
    for (int i = 0; i <= 16; ++i) {
        const float p = lo + (hi - lo) * i / 16.0f + 0.5f;
        const bool major = i % 4 == 0;
        const Rgb c = major ? gridMajor : gridMinor;
        area.shape([=](float x,
                       float y) { return segmentDistance(x, y, p, lo + 0.5f, p, hi + 0.5f, 0.5f); },
                   c);
        area.shape([=](float x,
                       float y) { return segmentDistance(x, y, lo + 0.5f, p, hi + 0.5f, p, 0.5f); },
                   c);
    }
    const float mid = (lo + hi) / 2 + 0.5f;
    area.shape([=](float x,
                   float y) { return segmentDistance(x, y, mid, lo + 0.5f, mid, hi + 0.5f, 0.6f); },
               rgb(170, 158, 132));
    area.shape([=](float x,
                   float y) { return segmentDistance(x, y, lo + 0.5f, mid, hi + 0.5f, mid, 0.6f); },
               rgb(170, 158, 132));
    // A faint dashed diagonal: the curve that leaves the sound unchanged.
    for (int i = 0; i < 24; i += 2) {
        const float a = lo + (hi - lo) * i / 24.0f + 0.5f;
        const float b = lo + (hi - lo) * (i + 1) / 24.0f + 0.5f;
        area.shape(
            [=](float x, float y) {
                return segmentDistance(x, y, a, 266.0f - a, b, 266.0f - b, 0.5f);
            },
            rgb(190, 176, 146), 0.8f);
    }
    area.shape(
        [=](float x, float y) {
            return std::fabs(
                       roundedBoxDistance(x, y, lo + 0.5f, lo + 0.5f, hi + 0.5f, hi + 0.5f, 0.0f)) -
                   0.5f;
        },
        rgb(176, 164, 138));
    letters.draw(area, "OUT", lo + 4, lo + 11, Weight::Bold, 8, rgb(170, 158, 132));
    letters.draw(area, "IN", hi - 3, hi - 4, Weight::Bold, 8, rgb(170, 158, 132), Anchor::Right);
    // A thin inner shadow along the top and left edges: the area is set in.
    for (int i = 0; i < 267; ++i)
        for (int d = 0; d < 3; ++d) {
            area.blend(i, d, rgb(90, 84, 70), 0.18f - d * 0.06f);
            area.blend(d, i, rgb(90, 84, 70), 0.18f - d * 0.06f);
        }
    return area;
}

Canvas curveMarker() {
    Canvas marker(13, 13);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float d = circleDistance(px, py, 6.5f, 6.5f, 5.6f);
            const float coverage = std::clamp(0.5f - d, 0.0f, 1.0f);
            Rgb c = d > -1.4f
                        ? rgb(58, 40, 14)
                        : mix(rgb(255, 214, 140), amber,
                              std::clamp(std::hypot(px - 5.3f, py - 5.2f) / 4.0f, 0.0f, 1.0f));
            keyedPixel(marker, x, y, c, paper, coverage);
        }
    return marker;
}

// --- popup -------------------------------------------------------------------------------
Canvas popup(const Lettering& letters) {
    Canvas card(268, 268);
    card.fill([](float, float y) { return mix(rgb(40, 43, 49), rgb(28, 30, 34), y / 268.0f); });
    card.shape(
        [](float x, float y) {
            return std::fabs(roundedBoxDistance(x, y, 0.5f, 0.5f, 267.5f, 267.5f, 0.0f)) - 0.5f;
        },
        amber);
    card.shape(
        [](float x, float y) {
            return std::fabs(roundedBoxDistance(x, y, 2.5f, 2.5f, 265.5f, 265.5f, 0.0f)) - 0.5f;
        },
        rgb(62, 66, 73));

    letters.draw(card, "VARNEX", 14, 27, Weight::Bold, 17, amber, Anchor::Left, 1.5f);
    letters.draw(card, "quick guide", 254, 27, Weight::Regular, 11, quietText, Anchor::Right);
    card.shape([](float x, float y) { return segmentDistance(x, y, 14, 34.5f, 254, 34.5f, 0.5f); },
               rgb(70, 75, 83));

    float y = 50;
    auto heading = [&](const char* text) {
        letters.draw(card, text, 14, y, Weight::Bold, 9, amber, Anchor::Left, 1.0f);
        y += 14;
    };
    auto bullet = [&](const char* what, const char* result) {
        card.shape([=](float x, float py) { return circleDistance(x, py, 18.5f, y - 3.5f, 1.6f); },
                   amberDim);
        letters.draw(card, what, 25, y, Weight::Bold, 11, labelColor);
        const float after = 25 + letters.measure(what, Weight::Bold, 11) + 4;
        letters.draw(card, result, after, y, Weight::Regular, 11, quietText);
        y += 13;
    };
    auto control = [&](const char* name, const char* meaning) {
        letters.draw(card, name, 18, y, Weight::Bold, 11, labelColor);
        letters.draw(card, meaning, 92, y, Weight::Regular, 11, quietText);
        y += 13;
    };

    heading("SHAPE THE CURVE");
    bullet("Click", "an empty spot to add a point");
    bullet("Drag", "a point to move it");
    bullet("Right-click", "a point to delete it");
    y += 5;
    heading("CONTROLS");
    control("PreGain", "drive into the curve");
    control("PreFilter", "cutoff before the curve");
    control("LP / HP", "low-pass or high-pass filter");
    control("PostFilter", "cutoff after the curve");
    control("PostGain", "output level");
    control("DryWet", "mix of clean and shaped");
    y += 5;
    heading("TIPS");
    bullet("Alt+click", "a knob: back to its default");
    bullet("Shift+drag", "the fader: fine steps");

    card.shape(
        [](float x, float y) { return segmentDistance(x, y, 14, 244.5f, 254, 244.5f, 0.5f); },
        rgb(70, 75, 83));
    letters.draw(card, "Click anywhere to close", 134, 259, Weight::Regular, 10, quietText,
                 Anchor::Centre);
    return card;
}

// --- background ----------------------------------------------------------------------------
void label(const Lettering& letters, Canvas& c, const char* text, float cx, float baseline) {
    letters.draw(c, text, cx, baseline + 1, Weight::Bold, 10, rgb(12, 13, 15), Anchor::Centre,
                 0.4f);
    letters.draw(c, text, cx, baseline, Weight::Bold, 10, labelColor, Anchor::Centre, 0.4f);
}

void smallLabel(const Lettering& letters, Canvas& c, const char* text, float cx, float baseline) {
    letters.draw(c, text, cx, baseline, Weight::Bold, 8, quietText, Anchor::Centre, 0.6f);
}

void sectionHeading(const Lettering& letters, Canvas& c, const char* text, float left, float right,
                    float baseline) {
    const float cx = (left + right) / 2;
    const float w = letters.measure(text, Weight::Bold, 9, 1.5f);
    letters.draw(c, text, cx, baseline, Weight::Bold, 9, amber, Anchor::Centre, 1.5f);
    const float lineY = baseline - 3.5f;
    c.shape(
        [=](float x, float y) {
            return segmentDistance(x, y, left, lineY, cx - w / 2 - 5, lineY, 0.5f);
        },
        amberDim, 0.7f);
    c.shape(
        [=](float x, float y) {
            return segmentDistance(x, y, cx + w / 2 + 5, lineY, right, lineY, 0.5f);
        },
        amberDim, 0.7f);
}

void well(Canvas& c, const Box& b, float margin, float radius) {
    c.shape(
        [=](float x, float y) {
            return roundedBoxDistance(x, y, b.left - margin - 1, b.top - margin - 1,
                                      b.left + b.width + margin + 1, b.top + b.height + margin + 1,
                                      radius + 1);
        },
        seatEdge);
    c.shape(
        [=](float x, float y) {
            return roundedBoxDistance(x, y, b.left - margin, b.top - margin,
                                      b.left + b.width + margin, b.top + b.height + margin, radius);
        },
        seat);
}

Canvas background(const Lettering& letters, const Canvas& curve, const Canvas& knob,
                  const Canvas& selectors, const Canvas& track) {
    Canvas c(568, 290);
    c.fill([](float x, float y) { return panelAt(x, y, 290.0f); });
    // A hairline highlight along the top edge and a darker foot.
    for (int x = 0; x < 568; ++x) {
        c.blend(x, 0, rgb(110, 116, 126), 0.5f);
        c.blend(x, 289, rgb(0, 0, 0), 0.5f);
    }

    // The brand column, which is also the help button.
    const Box& h = popupHotSpot;
    c.shape(
        [=](float x, float y) {
            return roundedBoxDistance(x, y, h.left - 1, h.top - 1, h.left + h.width + 1,
                                      h.top + h.height + 1, 9);
        },
        rgb(16, 17, 20));
    c.shape(
        [=](float x, float y) {
            return roundedBoxDistance(x, y, h.left, h.top, h.left + h.width, h.top + h.height, 8);
        },
        [=](float, float y) {
            return mix(rgb(54, 58, 65), rgb(36, 39, 44), (y - h.top) / h.height);
        });
    const float cx = h.centreX();
    // Logo: a soft-clipping curve in a ring.
    c.shape([=](float x, float y) { return std::fabs(circleDistance(x, y, cx, 56, 20)) - 1.0f; },
            amber);
    for (int i = 0; i < 40; ++i) {
        const float t0 = -1 + 2 * i / 40.0f, t1 = -1 + 2 * (i + 1) / 40.0f;
        const float y0 = std::tanh(t0 * 2.6f), y1 = std::tanh(t1 * 2.6f);
        c.shape(
            [=](float x, float y) {
                return segmentDistance(x, y, cx + t0 * 13, 56 - y0 * 11, cx + t1 * 13, 56 - y1 * 11,
                                       1.1f);
            },
            labelColor);
    }
    letters.drawUpwards(c, "VARNEX", cx + 1, 153, Weight::Bold, 21, rgb(10, 11, 13), 3.0f);
    letters.drawUpwards(c, "VARNEX", cx, 152, Weight::Bold, 21, labelColor, 3.0f);
    letters.draw(c, "WAVESHAPER", cx, 93, Weight::Bold, 7, quietText, Anchor::Centre, 0.5f);
    // Help mark.
    c.shape([=](float x, float y) { return std::fabs(circleDistance(x, y, cx, 228, 11)) - 0.9f; },
            amber);
    letters.draw(c, "?", cx, 233, Weight::Bold, 15, amber, Anchor::Centre);
    smallLabel(letters, c, "HELP", cx, 256);

    // The curve area set into the panel.
    const Box& a = curveArea;
    c.shape(
        [=](float x, float y) {
            return roundedBoxDistance(x, y, a.left - 5, a.top - 5, a.left + a.width + 5,
                                      a.top + a.height + 5, 6);
        },
        rgb(62, 66, 73));
    c.shape(
        [=](float x, float y) {
            return roundedBoxDistance(x, y, a.left - 4, a.top - 4, a.left + a.width + 4,
                                      a.top + a.height + 4, 5);
        },
        rgb(14, 15, 17));
    c.paste(curve, a.left, a.top);

    // Knobs with their scales and names.
    sectionHeading(letters, c, "PRE", 100, 158, 30);
    sectionHeading(letters, c, "POST", 444, 504, 30);
    struct NamedKnob {
        const Box* box;
        const char* name;
    };
    const NamedKnob knobs[] = {{&preGainKnob, "PreGain"},
                               {&preFilterKnob, "PreFilter"},
                               {&postGainKnob, "PostGain"},
                               {&postFilterKnob, "PostFilter"}};
    for (const NamedKnob& k : knobs) {
        drawKnobSeat(c, k.box->centreX(), k.box->centreY());
        c.paste(knob, k.box->left, k.box->top);
        label(letters, c, k.name, k.box->centreX(), k.box->top - 12);
    }

    // The filter-type selectors, showing their LP position.
    for (const Box* s : {&preSwitch, &postSwitch}) {
        well(c, *s, 2, 6);
        c.paste(selectors.crop(0, 0, 42, 17), s->left, s->top);
        smallLabel(letters, c, "LP / HP", s->centreX(), s->top - 4);
    }

    // The dry/wet fader: its value is the share of the unprocessed input,
    // and it rises upwards, so the top is all dry and the bottom all wet.
    well(c, fader, 3, 6);
    c.paste(track, fader.left, fader.top);
    smallLabel(letters, c, "DRY", fader.centreX(), fader.top - 6);
    smallLabel(letters, c, "WET", fader.centreX(), fader.top + fader.height + 13);
    letters.drawUpwards(c, "DryWet", fader.left - 12, fader.centreY(), Weight::Bold, 10, labelColor,
                        0.6f);
    return c;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FONT_DIRECTORY OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const Lettering letters(argv[1]);
    if (!letters.ok()) {
        std::fprintf(stderr, "cannot load Liberation Sans from %s\n", argv[1]);
        return 1;
    }
    const std::string out = argv[2];
    const Canvas curve = curveBackground(letters);
    const Canvas knob = knobFace();
    const Canvas selectors = selector(letters);
    const Canvas track = faderTrack(243);
    const bool ok = writePicture(background(letters, curve, knob, selectors, track), out,
                                 "101-background.bmp") &&
                    writePicture(curve, out, "102-curve-background.bmp") &&
                    writePicture(popup(letters), out, "104-popup.bmp") &&
                    writePicture(curveMarker(), out, "106-curve-marker.bmp") &&
                    writePicture(knobHandle(), out, "108-knob-handle.bmp") &&
                    writePicture(knob, out, "109-knob-face.bmp") &&
                    writePicture(selectors, out, "110-selector.bmp") &&
                    writePicture(track, out, "111-fader-track.bmp") &&
                    writePicture(faderHandle(), out, "112-fader-handle.bmp") &&
                    writeControlStrips(letters, out);
    return ok ? 0 : 1;
}
