#pragma once
// The one picture of `varnex analyze`: the transfer curve over the
// identity line, the harmonics at each level, the frequency response
// (magnitude and phase), the sweep's spectrogram and the figures, each in
// a panel with its axes and labels. Drawn by the toolkit's own views in a
// window of the headless window system, so with its raster and its font.

#include "cli/analyze/AnalysisReport.h"
#include "platform/HostWindow.h"

constexpr std::int32_t ReportWidth = 1280;
constexpr std::int32_t ReportHeight = 820;

platform::ScreenPicture drawReportPicture(const AnalysisReport& report);
