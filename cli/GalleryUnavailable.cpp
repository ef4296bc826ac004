// Stands in for `varnex gallery` in builds without libpng or without the
// headless window system it draws in (the Windows builds), so the command
// is known but says why it cannot run.

#include "cli/CommandError.h"
#include "cli/Commands.h"

int runGalleryCommand(const Arguments&) {
    throw CommandError("gallery: not available in this build (it draws in the headless window "
                       "system and needs libpng; the Windows builds have no headless window "
                       "system)");
}
