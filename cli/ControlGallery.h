#pragma once
// Every control of the toolkit in a few states on one picture: the
// controls that Varnex's editor places and the further ones, each class in
// a box of its own with its name under it and each state captioned. The
// controls are real ones, attached to a frame in a window of the headless
// window system and drawn by a paint of that window.

#include "platform/HostWindow.h"

struct ControlGallery {
    platform::ScreenPicture picture;
    int controlCount = 0; // controls drawn
    int classCount = 0;   // boxes, one per class
};

// Installs the table of the gallery's pictures (the editor's and the
// further controls' strips) and draws the gallery. A CommandError when a
// picture is missing.
ControlGallery drawControlGallery();
