#include "RenderTestSupport.h"

#include <cmath>
#include <filesystem>
#include <numbers>

namespace render_test {

ProgramRun runVarnex(const std::vector<std::string>& arguments, const std::string& folder,
                     const std::vector<std::string>& environment) {
    std::string command = "cd ";
    command += shellQuoted(folder.empty() ? std::filesystem::current_path().string() : folder);
    command += " && ";
    command += shellQuoted(VARNEX_BINARY);
    for (const std::string& argument : arguments) {
        command += ' ';
        command += shellQuoted(argument);
    }
    CommandResult result = runCommand(command, environment);
    return {result.exitCode, result.out, splitLines(result.err)};
}

StereoBuffer testTones(std::int64_t frames, double sampleRate) {
    StereoBuffer tones;
    tones.sampleRate = sampleRate;
    tones.assignSilence(frames);
    for (std::int64_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / sampleRate;
        tones.left[static_cast<std::size_t>(i)] =
            static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * 220.0 * t));
        tones.right[static_cast<std::size_t>(i)] =
            static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * 331.0 * t + 1.0));
    }
    return tones;
}

StereoBuffer probeOutput(const StereoBuffer& input, float factor) {
    StereoBuffer output = input;
    for (auto* channel : {&output.left, &output.right}) {
        for (std::size_t i = channel->size(); i-- > 1;)
            (*channel)[i] = (*channel)[i - 1] * factor;
        if (!channel->empty())
            (*channel)[0] = 0.0f;
    }
    return output;
}

} // namespace render_test
