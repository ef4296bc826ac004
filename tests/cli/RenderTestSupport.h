#pragma once
// Helpers for the tests of `varnex render` and `varnex bench`: running the
// built program, and test signals with the output that the probe plug-in
// (fixtures/RenderProbePlugin.cpp) makes of them.

#include "cli/StereoAudio.h"
#include "tests/support/RunCommand.h"

#include <string>
#include <vector>

namespace render_test {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::vector<std::string> errorLines;
};

// Runs the built `varnex` with the arguments in `folder` (the current
// folder when empty), with the `environment` entries ("NAME=value") set.
ProgramRun runVarnex(const std::vector<std::string>& arguments, const std::string& folder = "",
                     const std::vector<std::string>& environment = {});

// Two different tones, left and right, at half scale.
StereoBuffer testTones(std::int64_t frames, double sampleRate = 44100.0);

// What the probe plug-in makes of `input`: each channel delayed by one
// frame and multiplied by `factor`.
StereoBuffer probeOutput(const StereoBuffer& input, float factor = 1.0f);

} // namespace render_test
