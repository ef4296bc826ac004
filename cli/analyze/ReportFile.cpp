#include "cli/analyze/ReportFile.h"

#include "cli/PngFile.h"
#include "cli/analyze/ReportPicture.h"

bool reportPictureAvailable() {
    return true;
}

PictureNote writeReportPicture(const AnalysisReport& report, const std::string& path) {
    const platform::ScreenPicture picture = drawReportPicture(report);
    savePng(path, picture);
    return {path, picture.width, picture.height};
}
