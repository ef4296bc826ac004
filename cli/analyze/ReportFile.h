#pragma once
// The report picture as a file, where this build can draw and write it (the
// Linux build); the Windows builds measure and print the figures only, as
// their window system is the real one and the report is drawn in the
// headless one.

#include "cli/analyze/AnalysisReport.h"
#include "cli/analyze/ReportText.h"

#include <string>

bool reportPictureAvailable();

// Draws the report and writes it to `path` as a PNG file; a CommandError
// where this build cannot.
PictureNote writeReportPicture(const AnalysisReport& report, const std::string& path);
