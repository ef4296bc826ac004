#pragma once
// The Varnex editor opened the way a host opens it, in this process's
// headless window system: the rectangle (opcode 13), a host window of that
// size, opening (14), a paint, idle (19), and closing (15) at the end.
// The user's part is played with the pointer: presses, drags and right
// clicks delivered to the editor's window.

#include "cli/CurveGestures.h"
#include "editor/CurveModel.h"
#include "gui/Geometry.h"
#include "platform/Types.h"

#include <cstdint>
#include <vector>

class PluginHost;

class EditorSession {
  public:
    // A CommandError when the plug-in has no editor or it does not open.
    explicit EditorSession(PluginHost& host);
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // Enters a curve from parseCurvePoints as a user does, on a curve
    // editor that still holds its initial line: the first and last points
    // are dragged to their heights, each inner point is added by a press
    // on free space and dragged to its place. Every gesture ends with the
    // editor telling the effect to rebuild its table.
    void drawCurve(const std::vector<CurvePoint>& points);
    // Paints the window and gives the editor idle time.
    void refresh();

    platform::Window* window() const { return editorWindow; }
    std::int32_t width() const { return editorWidth; }
    std::int32_t height() const { return editorHeight; }

  private:
    void gesture(const CurveGesture& gesture);

    PluginHost& host;
    platform::Window* hostWindow = nullptr;
    platform::Window* editorWindow = nullptr;
    std::int32_t editorWidth = 0;
    std::int32_t editorHeight = 0;
};
