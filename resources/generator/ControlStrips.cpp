// Picture strips of the toolkit's further controls: each file holds the
// control's pictures of equal height stacked from top to bottom, in the
// editor's look (graphite wells, amber light). None is masked: every
// picture is copied opaque, so pure white never appears.

#include "ControlStrips.h"

#include "Look.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace artwork {
namespace {

const Rgb ink = rgb(30, 24, 16); // text on lit amber
const Rgb hot = rgb(255, 86, 56);

// The pictures one above the other in one canvas.
Canvas stack(const std::vector<Canvas>& pictures) {
    const int width = pictures.front().width();
    const int height = pictures.front().height();
    Canvas strip(width, height * static_cast<int>(pictures.size()));
    for (std::size_t i = 0; i < pictures.size(); ++i)
        strip.paste(pictures[i], 0, height * static_cast<int>(i));
    return strip;
}

// The same picture with rows and columns exchanged.
Canvas transposed(const Canvas& picture) {
    Canvas out(picture.height(), picture.width());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            out.set(y, x, picture.at(x, y));
    return out;
}

// A key in its well, as the filter selector draws it: edge, groove, and
// the part between `litLeft` and `litRight` lit.
Canvas keyWell(int width, int height, float litLeft, float litRight) {
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    Canvas picture(width, height, seat);
    picture.shape(
        [=](float x, float y) {
            return roundedBoxDistance(x, y, 0.5f, 0.5f, w - 0.5f, h - 0.5f, 4.5f);
        },
        seatEdge);
    picture.shape(
        [=](float x, float y) {
            return roundedBoxDistance(x, y, 1.5f, 1.5f, w - 1.5f, h - 1.5f, 3.5f);
        },
        groove);
    if (litRight > litLeft)
        picture.shape(
            [=](float x, float y) {
                return std::max(roundedBoxDistance(x, y, 1.5f, 1.5f, w - 1.5f, h - 1.5f, 3.5f),
                                std::max(litLeft - x, x - litRight));
            },
            [=](float, float y) { return mix(rgb(255, 196, 96), amber, (y - 1.5f) / (h - 3)); });
    return picture;
}

// A round lamp, dark or glowing.
void lamp(Canvas& c, float cx, float cy, float radius, bool lit) {
    if (lit)
        c.shape([=](float x, float y) { return circleDistance(x, y, cx, cy, radius + 2.0f); },
                amber, 0.25f);
    c.shape([=](float x, float y) { return circleDistance(x, y, cx, cy, radius); },
            [=](float x, float y) {
                const float d = std::hypot(x - cx + 0.6f, y - cy + 0.6f) / radius;
                return lit ? mix(rgb(255, 232, 170), amber, std::clamp(d, 0.0f, 1.0f))
                           : mix(rgb(70, 58, 40), rgb(40, 34, 26), std::clamp(d, 0.0f, 1.0f));
            });
}

// --- ToggleButton: off above, on below ---------------------------------------------
Canvas toggle(const Lettering& letters) {
    std::vector<Canvas> pictures;
    for (bool on : {false, true}) {
        Canvas p = keyWell(42, 17, 0, 0);
        lamp(p, 9.0f, 8.5f, 3.2f, on);
        letters.draw(p, on ? "ON" : "OFF", 27.0f, 12.5f, Weight::Bold, 9, on ? amber : quietText,
                     Anchor::Centre);
        pictures.push_back(p);
    }
    return stack(pictures);
}

// --- RockerSwitch: -1, 0, +1 -------------------------------------------------------
Canvas rocker() {
    std::vector<Canvas> pictures;
    for (int position = -1; position <= 1; ++position) {
        Canvas p = position < 0   ? keyWell(42, 17, 1.5f, 21.0f)
                   : position > 0 ? keyWell(42, 17, 21.0f, 40.5f)
                                  : keyWell(42, 17, 0, 0);
        p.shape(
            [](float x, float y) { return segmentDistance(x, y, 21.0f, 2.0f, 21.0f, 15.0f, 0.5f); },
            seatEdge);
        auto bar = [&p](float ax, float ay, float bx, float by, Rgb color) {
            p.shape([=](float x, float y) { return segmentDistance(x, y, ax, ay, bx, by, 0.9f); },
                    color);
        };
        const Rgb minus = position < 0 ? ink : labelColor;
        const Rgb plus = position > 0 ? ink : labelColor;
        bar(8.0f, 8.5f, 14.0f, 8.5f, minus);
        bar(28.0f, 8.5f, 34.0f, 8.5f, plus);
        bar(31.0f, 5.5f, 31.0f, 11.5f, plus);
        pictures.push_back(p);
    }
    return stack(pictures);
}

// --- FilmstripKnob: the editor's knob at 31 values ------------------------------------
Canvas filmstripKnob() {
    const Canvas face = knobFace();
    const Canvas handle = knobHandle();
    std::vector<Canvas> pictures;
    for (int i = 0; i <= 30; ++i) {
        Canvas p = face;
        float dx, dy;
        knobDirection(i / 30.0f, dx, dy);
        // A pointer on the cap, and the handle's dot in the groove.
        p.shape(
            [=](float x, float y) {
                return segmentDistance(x, y, 21.5f + dx * 5.0f, 21.5f + dy * 5.0f,
                                       21.5f + dx * 12.0f, 21.5f + dy * 12.0f, 1.0f);
            },
            amber);
        const int hx = static_cast<int>(std::lround(21.5f + dx * 17.0f - 3.0f));
        const int hy = static_cast<int>(std::lround(21.5f + dy * 17.0f - 3.0f));
        for (int y = 0; y < handle.height(); ++y)
            for (int x = 0; x < handle.width(); ++x) {
                const Rgb c = handle.at(x, y);
                if (c.r < 1.0f || c.g < 1.0f || c.b < 1.0f)
                    p.set(hx + x, hy + y, c);
            }
        pictures.push_back(p);
    }
    return stack(pictures);
}

// --- PictureStrip: a sine through the shaper at five drives ------------------------------
Canvas pictureStrip() {
    std::vector<Canvas> pictures;
    const float drives[] = {0.3f, 1.2f, 2.5f, 5.0f, 12.0f};
    for (float drive : drives) {
        Canvas p = keyWell(48, 24, 0, 0);
        p.shape([](float x, float y) { return segmentDistance(x, y, 4, 12, 44, 12, 0.3f); },
                seatEdge);
        const int steps = 48;
        for (int i = 0; i < steps; ++i) {
            auto at = [=](int k, float& x, float& y) {
                const float t = static_cast<float>(k) / steps;
                x = 4.0f + 40.0f * t;
                y = 12.0f - 8.0f * std::tanh(drive * std::sin(2 * pi * t)) / std::tanh(drive);
            };
            float ax, ay, bx, by;
            at(i, ax, ay);
            at(i + 1, bx, by);
            p.shape([=](float x, float y) { return segmentDistance(x, y, ax, ay, bx, by, 0.65f); },
                    amber);
        }
        pictures.push_back(p);
    }
    return stack(pictures);
}

// --- PictureStripButton and MomentaryButton: up, then held down ----------------------------
Canvas button() {
    std::vector<Canvas> pictures;
    for (bool down : {false, true}) {
        Canvas p(24, 24, seat);
        p.shape([](float x, float y) { return circleDistance(x, y, 12, 12, 11.5f); }, seatEdge);
        p.shape([](float x, float y) { return circleDistance(x, y, 12, 12, 10.5f); }, groove);
        const float c = down ? 12.6f : 12.0f;
        p.shape([=](float x, float y) { return circleDistance(x, y, c, c, 8.5f); },
                [=](float x, float y) {
                    const float light = ((x - c) * -0.45f + (y - c) * -0.9f) / 8.5f;
                    return down ? mix(rgb(40, 43, 48), rgb(70, 74, 81), 0.5f + 0.4f * light)
                                : mix(rgb(58, 62, 69), rgb(112, 118, 128), 0.5f + 0.5f * light);
                });
        if (down)
            p.shape([=](float x,
                        float y) { return std::fabs(circleDistance(x, y, c, c, 9.2f)) - 0.7f; },
                    amber);
        lamp(p, c, c, 2.2f, down);
        pictures.push_back(p);
    }
    return stack(pictures);
}

// --- AnimationStrip: eight steps of a turning ring of lamps -----------------------------------
Canvas animation() {
    std::vector<Canvas> pictures;
    for (int step = 0; step < 8; ++step) {
        Canvas p(24, 24, seat);
        for (int dot = 0; dot < 8; ++dot) {
            const float a = dot * pi / 4;
            const float cx = 12 + 8 * std::sin(a), cy = 12 - 8 * std::cos(a);
            const int behind = (step - dot + 8) % 8; // 0 is the head of the tail
            const float light = behind < 4 ? 1.0f - behind * 0.28f : 0.0f;
            p.shape([=](float x, float y) { return circleDistance(x, y, cx, cy, 2.2f); },
                    mix(rgb(52, 46, 38), amber, light));
        }
        pictures.push_back(p);
    }
    return stack(pictures);
}

// --- DigitDisplay: 0 to 9 as seven lit segments ------------------------------------------------
Canvas digits() {
    // Segments a..g of a seven-segment digit, as bits 0..6.
    const int shapes[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    struct Segment {
        float ax, ay, bx, by;
    };
    const float l = 3.5f, r = 10.5f, t = 3.5f, m = 11.0f, b = 18.5f;
    const Segment segments[7] = {{l, t, r, t}, {r, t, r, m}, {r, m, r, b}, {l, b, r, b},
                                 {l, m, l, b}, {l, t, l, m}, {l, m, r, m}};
    std::vector<Canvas> pictures;
    for (int shape : shapes) {
        Canvas p(14, 22, groove);
        for (int s = 0; s < 7; ++s) {
            const Segment g = segments[s];
            const bool lit = (shape >> s & 1) != 0;
            // Shortened so that neighbouring segments keep a gap.
            const float sx = (g.bx - g.ax) * 0.12f, sy = (g.by - g.ay) * 0.12f;
            p.shape(
                [=](float x, float y) {
                    return segmentDistance(x, y, g.ax + sx, g.ay + sy, g.bx - sx, g.by - sy, 1.0f);
                },
                lit ? amber : mix(groove, amberDim, 0.22f));
        }
        pictures.push_back(p);
    }
    return stack(pictures);
}

// --- LevelMeter: fifteen lamps, all lit and all dark --------------------------------------------
constexpr int meterSegments = 15;
constexpr int meterSegmentHeight = 8;

Canvas meter(bool lit) {
    Canvas p(12, meterSegments * meterSegmentHeight, groove);
    for (int i = 0; i < meterSegments; ++i) {
        const float top = static_cast<float>(i * meterSegmentHeight) + 1.0f;
        const float bottom = top + meterSegmentHeight - 2.0f;
        // The top three lamps warn.
        const Rgb color = i < 3 ? hot : amber;
        p.shape(
            [=](float x, float y) { return roundedBoxDistance(x, y, 2, top, 10, bottom, 1.0f); },
            lit ? color : mix(groove, color, 0.16f));
    }
    return p;
}

// --- the box of ValueDisplay, TextField and ChoiceMenu, and pressed
// --------------------------------
Canvas box(bool pressed) {
    Canvas p(72, 20, seat);
    p.shape(
        [](float x, float y) { return roundedBoxDistance(x, y, 0.5f, 0.5f, 71.5f, 19.5f, 3.0f); },
        pressed ? amber : seatEdge);
    p.shape(
        [](float x, float y) { return roundedBoxDistance(x, y, 1.5f, 1.5f, 70.5f, 18.5f, 2.0f); },
        [=](float, float y) {
            return pressed ? mix(rgb(74, 56, 30), rgb(46, 38, 26), y / 20.0f)
                           : mix(rgb(10, 11, 13), groove, y / 20.0f);
        });
    return p;
}

} // namespace

bool writeControlStrips(const Lettering& letters, const std::string& directory) {
    return writePicture(toggle(letters), directory, "120-toggle.bmp") &&
           writePicture(filmstripKnob(), directory, "121-filmstrip-knob.bmp") &&
           writePicture(rocker(), directory, "122-rocker.bmp") &&
           writePicture(pictureStrip(), directory, "123-picture-strip.bmp") &&
           writePicture(button(), directory, "124-button.bmp") &&
           writePicture(animation(), directory, "125-animation.bmp") &&
           writePicture(digits(), directory, "126-digits.bmp") &&
           writePicture(meter(true), directory, "127-meter-on.bmp") &&
           writePicture(meter(false), directory, "128-meter-off.bmp") &&
           writePicture(box(false), directory, "129-box.bmp") &&
           writePicture(box(true), directory, "130-box-pressed.bmp") &&
           writePicture(transposed(faderTrack(130)), directory, "131-fader-track-horizontal.bmp") &&
           writePicture(transposed(faderHandle()), directory, "132-fader-handle-horizontal.bmp");
}

} // namespace artwork
