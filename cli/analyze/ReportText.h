#pragma once
// The figures of an analysis as text: short lines for the report picture's
// figures panel, the text `varnex analyze` prints, and its JSON.

#include "cli/analyze/AnalysisReport.h"

#include <string>
#include <vector>

// What the picture is: where it went and its size.
struct PictureNote {
    std::string path;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

std::vector<std::string> summaryLines(const AnalysisReport& report);
std::string formatAnalysisText(const AnalysisReport& report, const PictureNote& picture);
std::string formatAnalysisJson(const AnalysisReport& report, const PictureNote& picture);
