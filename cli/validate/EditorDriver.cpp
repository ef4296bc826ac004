#include "cli/validate/EditorDriver.h"

#include "cli/PluginHost.h"
#include "host/EditorBase.h"
#include "host/EffectBase.h"

#include <chrono>
#include <thread>

namespace {

// The window's size when the plug-in gives no rectangle before opening.
constexpr std::int32_t FallbackWidth = 640;
constexpr std::int32_t FallbackHeight = 480;
// The time between idle calls, as a host's idle timer gives it; with a
// window, its events are handled meanwhile.
constexpr std::int32_t IdlePeriodMilliseconds = 10;
constexpr const char* WindowTitle = "varnex validate";
// An X server that resets when its last client leaves (Xvfb by default)
// drops new connections for a moment meanwhile; the window is asked for
// again before the check gives up.
constexpr int WindowAttempts = 5;
constexpr auto WindowRetryPause = std::chrono::milliseconds(200);

} // namespace

EditorDriver::EditorDriver(PluginHost& host) : host(host) {}

EditorDriver::~EditorDriver() {
    close();
    window.reset();
}

std::optional<std::string> EditorDriver::perform(std::int32_t opcode, bool inWindow) {
    switch (opcode) {
    case OpEditorRect:
        return rectangle();
    case OpEditorOpen:
        return open(inWindow);
    case OpEditorIdle:
        idle();
        return std::nullopt;
    case OpEditorClose:
        close();
        return std::nullopt;
    default:
        return "not an editor opcode: " + std::to_string(opcode);
    }
}

std::optional<std::string> EditorDriver::rectangle() {
    EditorRect* rect = nullptr;
    host.dispatch(OpEditorRect, 0, 0, &rect);
    if (!rect) {
        // Some editors know their size only once open.
        if (editorOpen)
            return std::string("no editor rectangle: none while the editor is open");
        return std::nullopt;
    }
    const std::int32_t w = rect->right - rect->left;
    const std::int32_t h = rect->bottom - rect->top;
    if (w <= 0 || h <= 0 || w > LongestSide || h > LongestSide)
        return "editor rectangle not sane: left " + std::to_string(rect->left) + ", top " +
               std::to_string(rect->top) + ", right " + std::to_string(rect->right) + ", bottom " +
               std::to_string(rect->bottom);
    width = w;
    height = h;
    return std::nullopt;
}

std::optional<std::string> EditorDriver::open(bool inWindow) {
    if (editorOpen)
        return std::nullopt;
    void* parent = nullptr;
    if (inWindow) {
        // One window for all openings, as a host keeps its plug-in window.
        std::string failure;
        for (int attempt = 0; !window && attempt < WindowAttempts; ++attempt) {
            if (attempt > 0)
                std::this_thread::sleep_for(WindowRetryPause);
            window = platform::HostWindow::open(WindowTitle, width > 0 ? width : FallbackWidth,
                                                height > 0 ? height : FallbackHeight, failure);
        }
        if (!window)
            return "no host window: " + failure;
        parent = window->nativeHandle();
    }
    // Hosts go on to idle and close whatever the answer (many editors
    // answer 0 when open), so this host does too; a 0 without a parent is
    // noted as a refusal, which is the plug-in's right.
    if (host.dispatch(OpEditorOpen, 0, 0, parent) == 0 && !parent)
        refused = true;
    editorOpen = true;
    if (window)
        window->pumpEvents(0);
    return std::nullopt;
}

void EditorDriver::idle() {
    if (!editorOpen)
        return;
    host.dispatch(OpEditorIdle);
    if (window)
        window->pumpEvents(IdlePeriodMilliseconds);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(IdlePeriodMilliseconds));
}

void EditorDriver::close() {
    if (!editorOpen)
        return;
    host.dispatch(OpEditorClose);
    editorOpen = false;
    if (window)
        window->pumpEvents(0);
}

std::string EditorDriver::summary() const {
    std::string text = width > 0
                           ? "rectangle " + std::to_string(width) + " x " + std::to_string(height)
                           : "no rectangle before opening";
    if (refused)
        text += "; answered 0 (refused) to opening without a parent window";
    return text;
}

std::string hostWindowUnavailable() {
    std::string failure;
    auto window = platform::HostWindow::open(WindowTitle, 64, 64, failure);
    return window ? "" : failure.empty() ? "no window" : failure;
}
