// Stands in for ReportFile.cpp in the Windows builds: `varnex analyze`
// prints its figures there, but draws no report picture.

#include "cli/CommandError.h"
#include "cli/analyze/ReportFile.h"

bool reportPictureAvailable() {
    return false;
}

PictureNote writeReportPicture(const AnalysisReport&, const std::string&) {
    throw CommandError("analyze: the report picture is not available in this build (it is drawn "
                       "in the headless window system, which the Windows builds do not have); "
                       "the figures are");
}
