#include "cli/EditorSession.h"

#include "cli/CommandError.h"
#include "cli/CurveGestures.h"
#include "cli/PluginHost.h"
#include "host/EffectBase.h"
#include "platform/Headless.h"
#include "platform/Windowing.h"

EditorSession::EditorSession(PluginHost& host) : host(host) {
    const PluginHost::EditorSize size = host.editorSize();
    editorWidth = size.width;
    editorHeight = size.height;
    hostWindow = platform::headless::createHostWindow(0, 0, editorWidth, editorHeight);
    host.dispatch(OpEditorOpen, 0, 0, hostWindow);
    if (platform::headless::childWindowCount(hostWindow) != 1) {
        host.dispatch(OpEditorClose);
        platform::destroyWindow(hostWindow);
        throw CommandError("the plug-in " + host.path() + " did not open its editor window");
    }
    editorWindow = platform::headless::childWindow(hostWindow, 0);
    refresh();
}

EditorSession::~EditorSession() {
    host.dispatch(OpEditorClose);
    platform::destroyWindow(hostWindow);
    platform::headless::setPointer({});
}

void EditorSession::refresh() {
    platform::headless::deliverPaint(editorWindow);
    host.dispatch(OpEditorIdle);
}

void EditorSession::gesture(const CurveGesture& gesture) {
    const Point press = curvePointInEditor(gesture.press);
    const Point target = curvePointInEditor(gesture.release);
    platform::IntPoint screen[2] = {{press.h, press.v}, {target.h, target.v}};
    platform::mapWindowPoints(editorWindow, nullptr, screen, 2);
    const std::uint32_t left = platform::headless::PointerLeft;
    platform::headless::scriptPointer(
        {{screen[0].x, screen[0].y, left}, {screen[1].x, screen[1].y, left}});
    platform::headless::deliverButtonPress(editorWindow, press.h, press.v, left);
    host.dispatch(OpEditorIdle);
}

void EditorSession::drawCurve(const std::vector<CurvePoint>& points) {
    for (const CurveGesture& planned : planCurveGestures(points))
        gesture(planned);
}
