// The editor's look, put together from its pictures at the editor's
// positions in a headless frame, and written out as a PNG. Running with
// VARNEX_ARTWORK_PNG=docs/artwork.png refreshes the picture in the docs.

#include "TestSupport.h"

#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"
#include "platform/Snapshot.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// A picture at a fixed place, showing one of its stacked pictures.
class PictureView : public View {
  public:
    PictureView(const Rect& size, Bitmap* picture, int index = 0)
        : View(size), picture(picture), index(index) {}
    void draw(DrawContext& context) override {
        picture->blit(context, size, {0, index * size.height()});
    }
    Bitmap* picture;
    int index;
};

// A knob face with its handle on the circle for a value, as the knobs
// place it (a sweep of three quarters of a turn from 7:30).
class KnobView : public View {
  public:
    KnobView(Point anchor, Bitmap* face, Bitmap* handle, float value)
        : View({anchor.h, anchor.v, anchor.h + face->width(), anchor.v + face->height()}),
          face(face), handle(handle), value(value) {}
    void draw(DrawContext& context) override {
        face->blit(context, size, {0, 0});
        const int inset = handle->width() / 2;
        const float r = static_cast<float>(size.width() - 2 * inset) / 2.0f;
        const double a = value * 4.712389f + 3.9269907f;
        const int h = static_cast<int>(r + std::sin(a) * r) + inset + size.left - inset;
        const int v = static_cast<int>(r - std::cos(a) * r) + inset + size.top - inset;
        handle->blitMasked(context, {h, v, h + handle->width(), v + handle->height()}, {0, 0});
    }
    Bitmap* face;
    Bitmap* handle;
    float value;
};

// The fader: track and handle composed offscreen, then copied in one go.
class FaderView : public View {
  public:
    FaderView(Point anchor, Bitmap* track, Bitmap* handle, float value)
        : View({anchor.h, anchor.v, anchor.h + track->width(), anchor.v + track->height()}),
          track(track), handle(handle), value(value) {}
    void draw(DrawContext& context) override {
        OffscreenContext offscreen(frame(), size.width(), size.height(), colors::black);
        track->blit(offscreen, {0, 0, size.width(), size.height()}, {0, 0});
        const int range = 246 - 25;
        const int top = static_cast<int>((1.0f - value) * range) + 3;
        handle->blitMasked(offscreen, {3, top, 3 + handle->width(), top + handle->height()},
                           {0, 0});
        offscreen.blitTo(context, size, {0, 0});
    }
    Bitmap* track;
    Bitmap* handle;
    float value;
};

// A soft-clipping curve with a few points on it, composed on the curve
// background the way the curve editor does: the surface's own pen, then
// the markers.
class CurveView : public View {
  public:
    CurveView(Point anchor, Bitmap* background, Bitmap* marker)
        : View({anchor.h, anchor.v, anchor.h + background->width(),
                anchor.v + background->height()}),
          background(background), marker(marker) {}
    static Point curvePoint(double x) {
        const double t = (x - 133.0) / 122.0;
        return {static_cast<int>(x),
                static_cast<int>(133.0 - 122.0 * std::tanh(2.2 * t) / std::tanh(2.2))};
    }
    void draw(DrawContext& context) override {
        OffscreenContext surface(context, background);
        surface.penTo(curvePoint(11));
        for (int x = 12; x <= 255; ++x)
            surface.strokeTo(curvePoint(x));
        for (double x : {11.0, 72.0, 133.0, 194.0, 255.0}) {
            const Point p = curvePoint(x);
            const int left = static_cast<int>(p.h - marker->width() * 0.5);
            const int top = static_cast<int>(p.v - marker->height() * 0.5);
            marker->blitMasked(surface, {left, top, left + marker->width(), top + marker->height()},
                               {0, 0});
        }
        surface.blitTo(context, size, {0, 0});
    }
    Bitmap* background;
    Bitmap* marker;
};

} // namespace

using ArtworkSnapshotTest = HostWindowTest;

TEST_F(ArtworkSnapshotTest, TheEditorsPicturesComposeIntoTheEditor) {
    Bitmap* background = new Bitmap(101);
    Bitmap* curve = new Bitmap(102);
    Bitmap* marker = new Bitmap(106);
    Bitmap* knobHandle = new Bitmap(108);
    Bitmap* knobFace = new Bitmap(109);
    Bitmap* selector = new Bitmap(110);
    Bitmap* track = new Bitmap(111);
    Bitmap* faderHandle = new Bitmap(112);

    Frame* frame = makeFrame({0, 0, background->width(), background->height()});
    frame->setBackgroundBitmap(background);
    frame->attachView(new CurveView({167, 11}, curve, marker));
    frame->attachView(new KnobView({108, 71}, knobFace, knobHandle, 0.5f));   // PreGain
    frame->attachView(new KnobView({107, 207}, knobFace, knobHandle, 0.7f));  // PreFilter
    frame->attachView(new KnobView({453, 207}, knobFace, knobHandle, 0.35f)); // PostGain
    frame->attachView(new KnobView({453, 71}, knobFace, knobHandle, 0.6f));   // PostFilter
    frame->attachView(new PictureView({107, 262, 149, 279}, selector, 0));    // PreSwitch: LP
    frame->attachView(new PictureView({454, 130, 496, 147}, selector, 1));    // PostSwitch: HP
    frame->attachView(new FaderView({539, 22}, track, faderHandle, 0.8f));    // DryWet
    ASSERT_TRUE(platform::headless::deliverPaint(frame->window()));

    int width = 0, height = 0;
    const auto pixels = platform::headless::windowPixels(frame->window(), width, height);
    EXPECT_EQ(width, 568);
    EXPECT_EQ(height, 290);
    // Every see-through pixel of the masked pictures stayed see-through.
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), colors::transparencyKey.platformColor()), 0);
    // The PreGain handle sits at the top of its knob (value 0.5).
    const platform::ColorWord handleCentre = windowPixel(frame->window(), 129, 74);
    EXPECT_GT(platform::redOf(handleCentre), 200);
    EXPECT_LT(platform::blueOf(handleCentre), 160);
    // The curve is drawn in black on the lit area.
    const Point onCurve = CurveView::curvePoint(100);
    EXPECT_EQ(windowPixel(frame->window(), 167 + onCurve.h, 11 + onCurve.v), 0u);

    const char* requested = std::getenv("VARNEX_ARTWORK_PNG");
    const std::string path = requested && *requested ? requested : VARNEX_DEFAULT_ARTWORK_PNG;
    EXPECT_TRUE(platform::writeWindowPng(path, frame->window())) << path;

    delete frame;
    for (Bitmap* b :
         {background, curve, marker, knobHandle, knobFace, selector, track, faderHandle})
        b->release();
}
