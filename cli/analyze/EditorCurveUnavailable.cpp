// Stands in for EditorCurve.cpp in the Windows builds. The command asks
// editorCurveAvailable() before measuring, so this is reached only by
// mistake.

#include "cli/CommandError.h"
#include "cli/analyze/EditorCurve.h"

bool editorCurveAvailable() {
    return false;
}

void drawCurveInEditor(PluginHost&, const std::vector<CurvePoint>&) {
    throw CommandError("analyze: --curve is not available in this build");
}
