#include "cli/EditorSession.h"

#include "cli/CommandError.h"
#include "cli/CurveOption.h"
#include "cli/PluginHost.h"
#include "editor/ShaperLayout.h"
#include "host/EditorBase.h"
#include "host/EffectBase.h"
#include "platform/Headless.h"
#include "platform/Windowing.h"

#include <cmath>

namespace {

bool farFromAll(const CurvePoint& p, const std::vector<CurvePoint>& points) {
    for (const CurvePoint& q : points) {
        const float dx = p.x - q.x;
        const float dy = p.y - q.y;
        if (dx * dx + dy * dy < CurveModel::PickDistanceSquared)
            return false;
    }
    return true;
}

} // namespace

EditorSession::EditorSession(PluginHost& host) : host(host) {
    if ((host.record().flags & HasEditor) == 0)
        throw CommandError("the plug-in " + host.path() + " has no editor");
    EditorRect* rect = nullptr;
    if (host.dispatch(OpEditorRect, 0, 0, &rect) == 0 || !rect)
        throw CommandError("the plug-in " + host.path() + " gives no editor rectangle");
    editorWidth = rect->right - rect->left;
    editorHeight = rect->bottom - rect->top;
    if (editorWidth <= 0 || editorHeight <= 0)
        throw CommandError("the plug-in " + host.path() + " gives an empty editor rectangle");
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

Point EditorSession::toWindow(const CurvePoint& p) const {
    return {shaperLayout::CurveAnchor.h + static_cast<std::int32_t>(std::lround(p.x)),
            shaperLayout::CurveAnchor.v + static_cast<std::int32_t>(std::lround(p.y))};
}

void EditorSession::gesture(const CurvePoint& from, const CurvePoint& to) {
    const Point press = toWindow(from);
    const Point target = toWindow(to);
    platform::IntPoint screen[2] = {{press.h, press.v}, {target.h, target.v}};
    platform::mapWindowPoints(editorWindow, nullptr, screen, 2);
    const std::uint32_t left = platform::headless::PointerLeft;
    platform::headless::scriptPointer(
        {{screen[0].x, screen[0].y, left}, {screen[1].x, screen[1].y, left}});
    platform::headless::deliverButtonPress(editorWindow, press.h, press.v, left);
    host.dispatch(OpEditorIdle);
}

void EditorSession::drawCurve(const std::vector<CurvePoint>& points) {
    if (points.size() < 2)
        return;
    const PlotArea area = editorCurveArea();
    const CurveModel initial(area);
    CurvePoint first = initial.point(0);
    CurvePoint last = initial.point(initial.pointCount() - 1);
    // The end points keep their x: straight up or down to their heights.
    gesture(first, {first.x, points.front().y});
    first.y = points.front().y;
    gesture(last, {last.x, points.back().y});
    last.y = points.back().y;

    std::vector<CurvePoint> entered{first, last};
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const CurvePoint& target = points[i];
        // A press closer than 5 pixels to a point would take that point
        // instead of adding one: press on free space above or below the
        // target, then drag the new point onto it.
        CurvePoint press = target;
        for (float offset = 1.0f; !farFromAll(press, entered) && offset < 20.0f; offset += 1.0f) {
            press.y = target.y + offset <= area.maxY ? target.y + offset : target.y - offset;
            if (farFromAll(press, entered))
                break;
            press.y = target.y - offset >= area.minY ? target.y - offset : target.y + offset;
        }
        gesture(press, target);
        entered.push_back(target);
    }
}
