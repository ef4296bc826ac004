#pragma once
// `varnex analyze --curve`: the curve is drawn with the pointer in the
// editor of the Varnex linked into varnex, which needs the headless window
// system. The Linux build has it; the Windows builds, whose window system is
// the real one, take a drawn curve from a preset file instead.

#include "editor/CurveModel.h"

#include <vector>

class PluginHost;

bool editorCurveAvailable();

// Opens the plug-in's editor and draws `curve` in it with the pointer.
void drawCurveInEditor(PluginHost& host, const std::vector<CurvePoint>& curve);
