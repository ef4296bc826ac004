#include "EditorHost.h"

#include "editor/ShaperEffectEdit.h"
#include "host/EffectBase.h"
#include "host/Entry.h"
#include "platform/Windowing.h"

#include <gtest/gtest.h>

namespace {
constexpr IntPtr HostInterfaceVersion = 2400;
} // namespace

IntPtr VARNEX_CALL EditorHost::callback(EffectRecord* record, std::int32_t opcode,
                                        std::int32_t index, IntPtr, void*, float opt) {
    if (opcode == HostVersion)
        return HostInterfaceVersion;
    auto* host = record ? static_cast<EditorHost*>(record->user) : nullptr;
    if (!host)
        return 0;
    if (opcode == HostAutomate)
        host->automations.push_back({index, opt});
    else if (opcode == HostIdle)
        ++host->idleRequests;
    return 0;
}

EditorHost::EditorHost() {
    record = pluginMain(&EditorHost::callback);
    if (!record) {
        ADD_FAILURE() << "the entry made no instance";
        return;
    }
    record->user = this;
    dispatch(OpOpen);
    hostWindow = platform::headless::createHostWindow(120, 80, 640, 360);
}

EditorHost::~EditorHost() {
    if (record)
        dispatch(OpClose);
    platform::destroyWindow(hostWindow);
    platform::headless::setPointer({});
}

IntPtr EditorHost::dispatch(std::int32_t opcode, std::int32_t index, IntPtr value, void* ptr,
                            float opt) {
    return record->dispatch(record, opcode, index, value, ptr, opt);
}

void EditorHost::setParameter(std::int32_t index, float value) {
    record->setParameterValue(record, index, value);
}

float EditorHost::parameter(std::int32_t index) {
    return record->parameterValue(record, index);
}

void EditorHost::openEditor() {
    EXPECT_EQ(dispatch(OpEditorOpen, 0, 0, hostWindow), 1);
}

void EditorHost::closeEditor() {
    dispatch(OpEditorClose);
}

void EditorHost::idle() {
    dispatch(OpEditorIdle);
}

void EditorHost::paint() {
    platform::headless::deliverPaint(editorWindow());
}

platform::Window* EditorHost::editorWindow() const {
    return platform::headless::childWindowCount(hostWindow) > 0
               ? platform::headless::childWindow(hostWindow, 0)
               : nullptr;
}

platform::headless::PointerState EditorHost::screenState(Point at, std::uint32_t buttons) const {
    platform::IntPoint p{at.h, at.v};
    platform::mapWindowPoints(editorWindow(), nullptr, &p, 1);
    return {p.x, p.y, buttons};
}

void EditorHost::drag(Point from, const std::vector<Point>& path, std::uint32_t buttons) {
    std::vector<platform::headless::PointerState> steps;
    steps.push_back(screenState(from, buttons));
    for (Point p : path)
        steps.push_back(screenState(p, buttons));
    platform::headless::scriptPointer(steps);
    platform::headless::deliverButtonPress(editorWindow(), from.h, from.v, buttons);
}

void EditorHost::click(Point at, std::uint32_t buttons) {
    drag(at, {}, buttons);
}

platform::ColorWord EditorHost::pixel(Point at) const {
    std::int32_t width = 0, height = 0;
    const auto all = platform::headless::windowPixels(editorWindow(), width, height);
    if (at.h < 0 || at.v < 0 || at.h >= width || at.v >= height)
        return 0xFFFFFFFFu;
    return all[static_cast<std::size_t>(at.v * width + at.h)];
}

std::vector<platform::ColorWord> EditorHost::pixels(const Rect& area) const {
    std::vector<platform::ColorWord> out;
    for (std::int32_t y = area.top; y < area.bottom; ++y)
        for (std::int32_t x = area.left; x < area.right; ++x)
            out.push_back(pixel({x, y}));
    return out;
}

ShaperEffectEdit& EditorHost::effect() const {
    return *static_cast<ShaperEffectEdit*>(static_cast<EffectBase*>(record->object));
}
