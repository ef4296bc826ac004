#pragma once
// PNG files of what a window shows, where this build has libpng (the Linux
// build); elsewhere each call is a CommandError that says so.

#include "platform/HostWindow.h"

#include <string>

// Nothing where PNG files can be written; otherwise a CommandError
// "WHAT: not available in this build (...)".
void requirePngFiles(const std::string& what);

// Writes the picture under a temporary name and renames it to `path` when
// complete; a CommandError when it cannot.
void savePng(const std::string& path, const platform::ScreenPicture& picture);
