// Stands in for `varnex gallery` in builds without libpng (the Windows
// cross build), so the command is known but says why it cannot run.

#include "cli/CommandError.h"
#include "cli/Commands.h"

int runGalleryCommand(const Arguments&) {
    throw CommandError("gallery: not available in this build (it needs libpng, which this "
                       "build was made without)");
}
