// Stands in for cli/PngFile.cpp in builds without libpng (the Windows cross
// build), so the options that write pictures say why they cannot.

#include "cli/CommandError.h"
#include "cli/PngFile.h"

void requirePngFiles(const std::string& what) {
    throw CommandError(what + ": not available in this build (it needs libpng, which this build "
                              "was made without)");
}

void savePng(const std::string&, const platform::ScreenPicture&) {
    requirePngFiles("writing PNG files");
}
