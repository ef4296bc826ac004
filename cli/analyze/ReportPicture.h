#pragma once
// The one picture of `varnex analyze`: the transfer curve over the
// identity line, the harmonics at each level, the frequency response
// (magnitude and phase), the sweep's spectrogram and the figures, each in
// a panel with its axes and labels. Drawn by the toolkit's own view into a
// memory picture, so with its raster and its font, and without a window.

#include "cli/analyze/AnalysisReport.h"
#include "cli/analyze/ReportText.h"
#include "platform/HostWindow.h"

#include <string>

constexpr std::int32_t ReportWidth = 1280;
constexpr std::int32_t ReportHeight = 820;

platform::ScreenPicture drawReportPicture(const AnalysisReport& report);

// Draws the report and writes it to `path` as a PNG file.
PictureNote writeReportPicture(const AnalysisReport& report, const std::string& path);
