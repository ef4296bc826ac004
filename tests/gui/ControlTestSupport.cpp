#include "ControlTestSupport.h"

#include "platform/Diagnostics.h"
#include "platform/Drawing.h"

namespace {
// Where HostWindowTest puts its host window on the screen.
constexpr std::int32_t hostLeft = 200;
constexpr std::int32_t hostTop = 100;
} // namespace

void EditorStandIn::trackingIdle() {
    ++idleCalls;
    if (pumpsFrame && frame)
        frame->pump();
}

void RecordingListener::controlChanged(DrawContext&, Control* control) {
    tags.push_back(control->tag());
    values.push_back(control->value());
}

void ControlTest::SetUp() {
    HostWindowTest::SetUp();
    frame = new Frame({0, 0, 568, 290}, host, &editor);
    editor.frame = frame;
}

void ControlTest::TearDown() {
    delete frame;
    for (Bitmap* bitmap : pictures)
        bitmap->release();
    HostWindowTest::TearDown();
}

Bitmap* ControlTest::picture(std::int32_t id) {
    pictures.push_back(new Bitmap(id));
    return pictures.back();
}

void ControlTest::paint() {
    ASSERT_TRUE(platform::headless::deliverPaint(frame->window()));
}

void ControlTest::press(std::int32_t x, std::int32_t y, std::uint32_t buttons,
                        const std::vector<platform::headless::PointerState>& steps) {
    platform::headless::scriptPointer(steps);
    ASSERT_TRUE(platform::headless::deliverButtonPress(frame->window(), x, y, buttons));
}

platform::headless::PointerState ControlTest::at(std::int32_t x, std::int32_t y,
                                                 std::uint32_t buttons) const {
    return {hostLeft + x, hostTop + y, buttons};
}

platform::ColorWord ControlTest::pixel(std::int32_t x, std::int32_t y) {
    return windowPixel(frame->window(), x, y);
}

platform::ColorWord ControlTest::resourcePixel(std::int32_t id, std::int32_t x, std::int32_t y) {
    platform::PixelMap* picture = platform::loadPixelMapResource(nullptr, id);
    platform::DeviceContext* probe = platform::createMemoryContext(nullptr);
    platform::selectPixelMap(probe, picture);
    const platform::ColorWord color = platform::pixel(probe, x, y);
    platform::deleteMemoryContext(probe);
    platform::deletePixelMap(picture);
    return color;
}

WindowContext::WindowContext(Frame* frame)
    : frame(frame), deviceContext(platform::windowContext(frame->window())),
      context(new DrawContext(frame, deviceContext, frame->window())) {}

WindowContext::~WindowContext() {
    delete context;
    platform::releaseWindowContext(frame->window(), deviceContext);
}
