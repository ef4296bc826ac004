#pragma once
// A frame with an editor stand-in for the controls' tests, a listener that
// notes what it is told, a scripted pointer in client coordinates, and the
// pixels of the resource pictures to compare the window with.

#include "TestSupport.h"

#include "gui/Bitmap.h"
#include "gui/Control.h"
#include "gui/FrameEditor.h"

#include <cstdint>
#include <vector>

// Counts the paced idles that controls drive; optionally pumps the frame
// as the editor's idle does, so that changed controls get redrawn.
class EditorStandIn : public FrameEditor {
  public:
    void trackingIdle() override;
    void* openHostWindow(WindowDescription&) override { return nullptr; }
    void closeHostWindow(WindowDescription&) override {}

    Frame* frame = nullptr;
    bool pumpsFrame = false;
    int idleCalls = 0;
};

class RecordingListener : public ControlListener {
  public:
    void controlChanged(DrawContext&, Control* control) override;

    std::vector<std::int32_t> tags;
    std::vector<float> values;
};

class ControlTest : public HostWindowTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A resource picture held by the test until after the frame is gone.
    Bitmap* picture(std::int32_t id);
    template <typename C> C* attach(C* control) {
        EXPECT_TRUE(frame->attachView(control));
        return control;
    }
    // The first full paint, after which the frame's idle refresh runs.
    void paint();
    // A press at the client point (x, y) through the frame's window; the
    // tracking loop then polls the scripted steps and ends when they run out.
    void press(std::int32_t x, std::int32_t y, std::uint32_t buttons,
               const std::vector<platform::headless::PointerState>& steps = {});
    // A pointer step at the client point (x, y).
    platform::headless::PointerState at(std::int32_t x, std::int32_t y,
                                        std::uint32_t buttons) const;
    platform::ColorWord pixel(std::int32_t x, std::int32_t y);
    static platform::ColorWord resourcePixel(std::int32_t id, std::int32_t x, std::int32_t y);

    EditorStandIn editor;
    RecordingListener listener;
    Frame* frame = nullptr;

  private:
    std::vector<Bitmap*> pictures;
};

// A drawing context on the frame's window for direct calls, given back at
// the end of the scope.
class WindowContext {
  public:
    explicit WindowContext(Frame* frame);
    ~WindowContext();
    WindowContext(const WindowContext&) = delete;
    WindowContext& operator=(const WindowContext&) = delete;
    operator DrawContext&() { return *context; }

  private:
    Frame* frame;
    platform::DeviceContext* deviceContext;
    DrawContext* context;
};
