#pragma once
// The steps of `varnex analyze` that run in this process's headless window
// system: drawing a curve in Varnex's editor (--curve) and drawing the
// report picture. The Linux build has them; the Windows builds, whose
// window system is the real one, measure and print the figures only.

#include "cli/analyze/AnalysisReport.h"
#include "cli/analyze/ReportText.h"
#include "editor/CurveModel.h"

#include <string>
#include <vector>

class PluginHost;

bool headlessStepsAvailable();

// Opens the plug-in's editor and draws `curve` in it with the pointer.
void drawCurveInEditor(PluginHost& host, const std::vector<CurvePoint>& curve);

// Draws the report and writes it to `path` as a PNG file.
PictureNote writeReportPicture(const AnalysisReport& report, const std::string& path);
