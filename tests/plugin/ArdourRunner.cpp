#include "tests/plugin/ArdourRunner.h"

#include "effect/ShaperState.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace ardour {
namespace {

constexpr const char* LuaRunner = "/usr/bin/ardour7-lua";
constexpr const char* Exporter = "/usr/bin/ardour7-export";
constexpr const char* Scanner = "/usr/lib/ardour7/ardour-vst-scanner";
constexpr const char* LibraryFolder = "/usr/lib/ardour7";

constexpr char Base64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Ardour's tools now and then stop making progress on a loaded machine; a
// run that takes this long is ended and counts as failed.
constexpr const char* TimeLimit = "timeout -k 10 180 ";
constexpr int TimedOut = 124;

} // namespace

std::string base64(const Bytes& bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t group = static_cast<std::uint32_t>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            group |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            group |= bytes[i + 2];
        for (std::size_t d = 0; d < 4; ++d)
            text += i + d <= bytes.size() ? Base64Digits[(group >> (18 - 6 * d)) & 63] : '=';
    }
    return text;
}

Bytes fromBase64(const std::string& text) {
    Bytes bytes;
    std::uint32_t group = 0;
    int bits = 0;
    for (const char c : text) {
        const char* digit = std::strchr(Base64Digits, c);
        if (c == '\0' || digit == nullptr)
            continue; // padding and white space
        group = (group << 6) | static_cast<std::uint32_t>(digit - Base64Digits);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<std::uint8_t>(group >> bits));
        }
    }
    return bytes;
}

std::string chunkText(const std::string& session, std::size_t& start, std::size_t& end) {
    start = session.find("<chunk");
    if (start == std::string::npos)
        return {};
    start = session.find('>', start) + 1;
    end = session.find("</chunk>", start);
    return end == std::string::npos ? std::string{} : session.substr(start, end - start);
}

bool replaceChunk(std::string& session, const Bytes& chunk) {
    std::size_t start = 0, end = 0;
    if (chunkText(session, start, end).empty())
        return false;
    session.replace(start, end - start, base64(chunk));
    return true;
}

Bytes drawnChunk(std::int32_t currentProgram) {
    ShaperState state;
    state.currentProgram = currentProgram;
    for (std::int32_t p = 0; p < ShaperState::ProgramCount; ++p) {
        auto& program = state.programs[static_cast<std::size_t>(p)];
        const std::string name = "Session " + std::to_string(p);
        std::memcpy(program.name.data(), name.c_str(), name.size() + 1);
        for (std::size_t v = 0; v < program.values.size(); ++v)
            program.values[v] = static_cast<float>((p * 3 + static_cast<int>(v)) % 20) / 19.0f;
    }
    state.pointCount = 5;
    state.points[0] = {11.0f, 255.0f};
    state.points[1] = {60.0f, 140.0f};
    state.points[2] = {120.0f, 30.0f};
    state.points[3] = {190.0f, 90.0f};
    state.points[4] = {255.0f, 20.0f};
    Bytes chunk(shaperState::MaxBytes);
    chunk.resize(shaperState::write(state, chunk.data()));
    return chunk;
}

std::string Runner::missing() {
    for (const char* tool : {LuaRunner, Exporter, Scanner})
        if (!std::filesystem::exists(tool))
            return std::string("Ardour 7 is not installed (") + tool + ")";
    return {};
}

Runner::Runner(ScratchFolder& folder, const std::string& plugin) : scratch(folder) {
    const std::string plugins = scratch.file("plugins");
    settings = scratch.file("settings");
    std::filesystem::create_directories(plugins);
    std::filesystem::create_directories(settings + "/ardour7/scripts");
    std::filesystem::create_directories(scratch.file("home"));
    const std::string copy = plugins + "/" + std::filesystem::path(plugin).filename().string();
    std::filesystem::copy_file(plugin, copy);
    // Ardour takes the scanner's cache only when it is newer than the
    // plug-in, in whole seconds.
    std::filesystem::last_write_time(copy, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::seconds(10));
    writeFile(settings + "/ardour7/config",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Ardour>\n  <Config>\n"
              "    <Option name=\"plugin-path-lxvst\" value=\"" +
                  plugins + "\"/>\n  </Config>\n</Ardour>\n");
    environment = {"HOME=" + scratch.file("home"), "XDG_CONFIG_HOME=" + settings,
                   "LXVST_PATH=" + plugins, "LD_LIBRARY_PATH=" + std::string(LibraryFolder)};
    // The session runner only reads the scanner's cache, keyed by the
    // plug-in's absolute path.
    scanned = runCommand(std::string(Scanner) + " -f " + shellQuoted(copy), environment);
}

std::string Runner::engineStart() {
    return "AudioEngine:set_backend(\"None (Dummy)\", \"\", \"\")\n"
           "assert(AudioEngine:start(false) == 0, \"no engine\")\n";
}

CommandResult Runner::runLua(const std::string& name, const std::string& script) const {
    const std::string path = scratch.file(name);
    writeFile(path, script);
    return runCommand(TimeLimit + std::string(LuaRunner) + " " + shellQuoted(path), environment);
}

void Runner::addDspScript(const std::string& name, const std::string& script) const {
    writeFile(settings + "/ardour7/scripts/" + name, script);
}

CommandResult Runner::exportSession(const std::string& folder, const std::string& name,
                                    const std::string& wavFile) const {
    const std::string command = TimeLimit + std::string(Exporter) + " -b float -o " +
                                shellQuoted(wavFile) + " " + shellQuoted(folder) + " " +
                                shellQuoted(name);
    CommandResult result = runCommand(command, environment);
    if (result.exitCode == TimedOut) // once more, as a user would
        result = runCommand(command, environment);
    return result;
}

} // namespace ardour
