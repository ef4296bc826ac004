#include "RenderTestSupport.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

namespace fs = std::filesystem;

namespace render_test {

namespace {

std::string quoted(const std::string& text) {
    std::string word = "'";
    for (char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        result.push_back(line);
    return result;
}

} // namespace

ProgramRun runVarnex(const std::vector<std::string>& arguments, const std::string& folder) {
    ScratchFolder capture;
    std::string command = "cd " + quoted(folder.empty() ? fs::current_path().string() : folder) +
                          " && " + quoted(VARNEX_BINARY);
    for (const std::string& argument : arguments)
        command += " " + quoted(argument);
    command += " </dev/null >" + quoted(capture.file("out")) + " 2>" + quoted(capture.file("err")) +
               "; echo $? >" + quoted(capture.file("status"));
    std::system(command.c_str());
    ProgramRun run;
    run.out = readWholeFile(capture.file("out"));
    run.errorLines = lines(readWholeFile(capture.file("err")));
    std::string status = readWholeFile(capture.file("status"));
    run.exitCode = status.empty() ? -1 : std::stoi(status);
    return run;
}

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path path = fs::temp_directory_path() / ("varnex-render-test-" + std::to_string(stamp) +
                                                 "-" + std::to_string(counter.fetch_add(1)));
    fs::create_directories(path);
    folder = path.string();
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

StereoBuffer testTones(std::int64_t frames, double sampleRate) {
    StereoBuffer tones;
    tones.sampleRate = sampleRate;
    tones.resize(frames);
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

std::string readWholeFile(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

} // namespace render_test
