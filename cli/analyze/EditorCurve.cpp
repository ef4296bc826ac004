#include "cli/analyze/HeadlessSteps.h"

#include "cli/EditorSession.h"
#include "cli/PngFile.h"
#include "cli/analyze/ReportPicture.h"

bool headlessStepsAvailable() {
    return true;
}

void drawCurveInEditor(PluginHost& host, const std::vector<CurvePoint>& curve) {
    EditorSession editor(host);
    editor.drawCurve(curve);
}

PictureNote writeReportPicture(const AnalysisReport& report, const std::string& path) {
    const platform::ScreenPicture picture = drawReportPicture(report);
    savePng(path, picture);
    return {path, picture.width, picture.height};
}
