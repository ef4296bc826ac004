// How long the editor's drawing takes on the software raster backend: a
// full repaint of the background, a masked handle copy (the knobs redraw
// one on every idle refresh while they move), and a line of text.

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "platform/Headless.h"
#include "platform/Windowing.h"

#include <benchmark/benchmark.h>


namespace {

struct EditorWindow {
    EditorWindow() {
        host = platform::headless::createHostWindow(0, 0, 600, 320);
        frame = new Frame({0, 0, 568, 290}, host, nullptr);
        background = new Bitmap(101);
        frame->setBackgroundBitmap(background);
    }
    ~EditorWindow() {
        delete frame;
        background->release();
        platform::destroyWindow(host);
    }
    platform::Window* host;
    Frame* frame;
    Bitmap* background;
};

void fullRepaint(benchmark::State& state) {
    EditorWindow editor;
    for (auto _ : state)
        editor.frame->paintView(nullptr);
}
BENCHMARK(fullRepaint);

void maskedKnobHandle(benchmark::State& state) {
    EditorWindow editor;
    Bitmap* handle = new Bitmap(108);
    platform::DeviceContext* device = platform::windowContext(editor.frame->window());
    {
        DrawContext context(editor.frame, device, editor.frame->window());
        for (auto _ : state)
            handle->blitMasked(context, {120, 80, 126, 86}, {0, 0});
    }
    platform::releaseWindowContext(editor.frame->window(), device);
    handle->release();
}
BENCHMARK(maskedKnobHandle);

void parameterText(benchmark::State& state) {
    EditorWindow editor;
    platform::DeviceContext* device = platform::windowContext(editor.frame->window());
    {
        DrawContext context(editor.frame, device, editor.frame->window());
        context.selectFont(3);
        for (auto _ : state)
            context.drawText("-12.5 dB", {10, 10, 90, 30}, 1, AlignCenter);
    }
    platform::releaseWindowContext(editor.frame->window(), device);
}
BENCHMARK(parameterText);

} // namespace
