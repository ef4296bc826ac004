// Stands in for cli/PngFile.cpp in builds without libpng (a Linux build
// without libpng-dev, or a Windows cross build made before
// scripts/mingw-deps.sh ran), so the options that write pictures say why
// they cannot.

#include "cli/CommandError.h"
#include "cli/PngFile.h"

void requirePngFiles(const std::string& what) {
    throw CommandError(what + ": not available in this build (it needs libpng, which this build "
                              "was made without)");
}

void savePng(const std::string&, const platform::ScreenPicture&) {
    requirePngFiles("writing PNG files");
}
