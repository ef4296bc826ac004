#pragma once
// Where the editor's pictures come from and where its controls sit. Every
// control's rectangle is its anchor plus the size of its picture.

#include "gui/Geometry.h"

#include <cstdint>

namespace shaperLayout {

// Bitmap resources of the plug-in module, by number.
enum BitmapId : std::int32_t {
    BackgroundBitmap = 101,      // 568 x 290: the frame, and the editor's size
    CurveBackgroundBitmap = 102, // 267 x 267: the curve editor's size
    PopupBitmap = 104,           // 268 x 268
    CurveMarkerBitmap = 106,     // 13 x 13
    KnobHandleBitmap = 108,      // 6 x 6
    KnobBackgroundBitmap = 109,  // 43 x 43: each knob's size
    SelectorBitmap = 110,        // two 42 x 17 pictures stacked
    FaderBackgroundBitmap = 111, // 19 x 243: the fader's size
    FaderHandleBitmap = 112,     // 12 x 19
};

// Sizes of the curve editor's pictures, which fix its plotting area.
constexpr std::int32_t CurveBackgroundSize = 267;
constexpr std::int32_t CurveMarkerSize = 13;

// The popup picture reports with this tag, outside the parameters' range.
constexpr std::int32_t PopupTag = 100;
constexpr Rect PopupHotSpot{14, 18, 89, 268};
constexpr Point PopupAnchor{167, 11};
constexpr Point CurveAnchor{167, 11};
// Knobs for parameters 1 to 4, selectors for 5 and 6, the fader for 7.
constexpr Point KnobAnchors[4] = {{108, 71}, {107, 207}, {453, 207}, {453, 71}};
constexpr Point SelectorAnchors[2] = {{107, 262}, {454, 130}};
constexpr Point FaderAnchor{539, 22};
constexpr std::int32_t FaderMinimumPosition = 25;
// The fader's lowest handle position: its top plus the track's height less
// the handle's.
constexpr std::int32_t FaderTravelOrigin = 22;
constexpr std::int32_t FaderStyle = 0x40; // value 0 at the bottom
constexpr Point FaderHandleOffset{3, 0};

} // namespace shaperLayout
