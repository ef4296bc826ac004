#pragma once
// How a user enters a curve on Varnex's curve editor, planned once for
// every way of playing it: the headless editor's scripted pointer and a
// real pointer on a real window.

#include "editor/CurveModel.h"
#include "gui/Geometry.h"

#include <vector>

// One press of the left button and a drag to where it is let go, in the
// curve editor's pixels.
struct CurveGesture {
    CurvePoint press;
    CurvePoint release;
};

// The gestures that enter a curve from parseCurvePoints on a curve editor
// that still holds its initial line: the first and last points are dragged
// straight up or down to their heights, then each inner point, left to
// right, is added by a press on free space and dragged to its place.
std::vector<CurveGesture> planCurveGestures(const std::vector<CurvePoint>& points);

// A point of the curve editor as a client point of the editor's window.
Point curvePointInEditor(const CurvePoint& point);
