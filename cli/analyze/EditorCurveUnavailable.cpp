// Stands in for HeadlessSteps.cpp in the Windows builds, where `varnex
// analyze` prints its figures but neither draws a curve nor the picture.
// The command asks headlessStepsAvailable() before measuring, so these are
// reached only by mistake.

#include "cli/CommandError.h"
#include "cli/analyze/HeadlessSteps.h"

bool headlessStepsAvailable() {
    return false;
}

void drawCurveInEditor(PluginHost&, const std::vector<CurvePoint>&) {
    throw CommandError("analyze: --curve is not available in this build");
}

PictureNote writeReportPicture(const AnalysisReport&, const std::string&) {
    throw CommandError("analyze: the report picture is not available in this build");
}
