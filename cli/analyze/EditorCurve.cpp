#include "cli/analyze/EditorCurve.h"

#include "cli/EditorSession.h"

bool editorCurveAvailable() {
    return true;
}

void drawCurveInEditor(PluginHost& host, const std::vector<CurvePoint>& curve) {
    EditorSession editor(host);
    editor.drawCurve(curve);
}
