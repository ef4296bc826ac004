#pragma once
// The --curve option of `varnex snapshot` and `varnex render`: the points
// of a transfer curve as a user would draw them on the curve editor.
//
// "X,Y;X,Y;..." in the curve editor's pixels (x to the right and y
// downwards, both 11 to 255), or with --curve-normalized as input,output
// pairs in 0..1 (output upwards). The editor's first and last points only
// move up and down, so the curve starts at the left edge (x 11, input 0)
// and ends at the right edge (x 255, input 1); the points in between are
// added by clicks, left to right, so their x must rise.

#include "editor/CurveModel.h"

#include <string>
#include <vector>

// The plotting area of the editor's curve, in its own pixels.
PlotArea editorCurveArea();

// The points in the curve editor's pixels, rounded to whole pixels as a
// pointer delivers them. A UsageError with one line for anything else.
std::vector<CurvePoint> parseCurvePoints(const std::string& text, bool normalized);
