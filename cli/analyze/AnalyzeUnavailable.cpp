// Stands in for `varnex analyze` in builds without FFTW or libpng (a
// Windows cross build made before scripts/mingw-deps.sh ran, or a Linux
// build without libfftw3-dev), so the command is known but says why it
// cannot run.

#include "cli/CommandError.h"
#include "cli/Commands.h"

int runAnalyzeCommand(const Arguments&) {
    throw CommandError("analyze: not available in this build (it needs FFTW 3 and libpng, which "
                       "this build was made without)");
}
