#include "cli/LiveEditor.h"

#include "cli/CommandError.h"
#include "cli/PluginHost.h"
#include "host/EffectBase.h"

#include <array>
#include <filesystem>

namespace {

constexpr std::int32_t OpEffectName = 45;
constexpr std::int32_t OpProductText = 48;

// Points at a quarter, half and three quarters of the client area.
std::array<platform::IntPoint, 5> probePoints(std::int32_t width, std::int32_t height) {
    return {{{width / 2, height / 2},
             {width / 4, height / 4},
             {3 * width / 4, height / 4},
             {width / 4, 3 * height / 4},
             {3 * width / 4, 3 * height / 4}}};
}

template <typename Condition>
bool pumpUntil(LiveEditor& editor, std::chrono::milliseconds timeout, Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        editor.pump(1);
    }
    return true;
}

} // namespace

LiveEditor::LiveEditor(PluginHost& host, const std::string& title) : host(host) {
    const PluginHost::EditorSize size = host.editorSize();
    editorWidth = size.width;
    editorHeight = size.height;
    std::string failure;
    hostWindow = platform::HostWindow::open(title, editorWidth, editorHeight, failure);
    if (!hostWindow)
        throw CommandError(failure);
}

LiveEditor::~LiveEditor() {
    close();
}

void LiveEditor::open() {
    if (editorOpen)
        return;
    host.dispatch(OpEditorOpen, 0, 0, hostWindow->nativeHandle());
    editorOpen = true;
}

void LiveEditor::close() {
    if (!editorOpen)
        return;
    host.dispatch(OpEditorClose);
    editorOpen = false;
}

void LiveEditor::idle() {
    if (editorOpen)
        host.dispatch(OpEditorIdle);
}

bool LiveEditor::showsPaint() const {
    const platform::ColorWord fill = hostWindow->fillColor();
    for (const platform::IntPoint& p : probePoints(editorWidth, editorHeight)) {
        platform::ColorWord color = 0;
        if (hostWindow->readPixel(p.x, p.y, color) && color != fill)
            return true;
    }
    return false;
}

bool LiveEditor::showsFill() const {
    const platform::ColorWord fill = hostWindow->fillColor();
    for (const platform::IntPoint& p : probePoints(editorWidth, editorHeight)) {
        platform::ColorWord color = 0;
        if (!hostWindow->readPixel(p.x, p.y, color) || color != fill)
            return false;
    }
    return true;
}

bool LiveEditor::waitForPaint(std::chrono::milliseconds timeout) {
    return pumpUntil(*this, timeout, [this] {
        if (showsPaint())
            return true;
        idle();
        return false;
    });
}

bool LiveEditor::waitForFill(std::chrono::milliseconds timeout) {
    return pumpUntil(*this, timeout, [this] { return showsFill(); });
}

std::string pluginDisplayName(PluginHost& host) {
    for (std::int32_t opcode : {OpEffectName, OpProductText}) {
        std::string name = host.dispatchText(opcode);
        if (name.find_first_not_of(' ') != std::string::npos)
            return name;
    }
    return std::filesystem::path(host.path()).stem().string();
}
