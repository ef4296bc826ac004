// Stands in for `varnex render` in builds without libsndfile (the Windows
// cross build), so the command is known but says why it cannot run.

#include "cli/CommandError.h"
#include "cli/Commands.h"

int runRenderCommand(const Arguments&) {
    throw CommandError("render: not available in this build (it needs libsndfile, which this "
                       "build was made without)");
}
