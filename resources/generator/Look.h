#pragma once
// The look shared by all pictures: the palette and the pieces that more
// than one picture is built from (the panel's surface, the knob, the
// fader), so that every control drawn from them matches the editor.

#include "Canvas.h"

#include <numbers>
#include <string>

namespace artwork {

// --- palette ----------------------------------------------------------------
inline const Rgb panelTop = rgb(46, 49, 55);
inline const Rgb panelBottom = rgb(31, 33, 38);
inline const Rgb seat = rgb(25, 27, 31); // flat wells under knobs, selectors, fader
inline const Rgb seatEdge = rgb(58, 62, 69);
inline const Rgb groove = rgb(16, 17, 20);
inline const Rgb amber = rgb(255, 172, 56);
inline const Rgb amberDim = rgb(150, 104, 40);
inline const Rgb labelColor = rgb(208, 212, 218);
inline const Rgb quietText = rgb(138, 145, 155);
inline const Rgb paper = rgb(237, 232, 218);
inline const Rgb gridMinor = rgb(222, 214, 195);
inline const Rgb gridMajor = rgb(196, 186, 162);
inline const Rgb keyWhite = {1, 1, 1};

inline constexpr float pi = std::numbers::pi_v<float>;

// --- shared pieces --------------------------------------------------------------
// The panel's colour at (x, y) of a panel `height` pixels tall.
Rgb panelAt(float x, float y, float height);
// A pixel of a masked picture: the key where coverage is low, else the
// colour blended against what the picture will be drawn over.
void keyedPixel(Canvas& canvas, int x, int y, Rgb color, Rgb under, float coverage);

// Direction of a knob value on the screen: 0 at 7:30, 0.5 at 12, 1 at 4:30.
void knobDirection(float value, float& dx, float& dy);
// The well a knob sits in, with its scale.
void drawKnobSeat(Canvas& canvas, float cx, float cy);
// The knob itself: body, the groove its handle runs in, and the cap.
void drawKnobBody(Canvas& canvas, float cx, float cy);
// A 43 x 43 knob on its seat, and the handle dot that runs in its groove.
Canvas knobFace();
Canvas knobHandle();

// A vertical fader track `length` pixels tall, and the handle that runs in it.
Canvas faderTrack(int length);
Canvas faderHandle();

// Writes the picture as DIRECTORY/NAME; false (and a message) when it cannot.
bool writePicture(const Canvas& canvas, const std::string& directory, const char* name);

} // namespace artwork
