// A real host keeps the drawn curve: Ardour 7, headless (its Lua session
// runner with the dummy audio backend), saves a session holding the built
// plug-in, whose state is then set through the chunk that the session file
// stores, reopens the session and saves it again. The chunk it saves after
// reopening must be the one the plug-in was given: Ardour handed it over on
// loading (opcode 24) and asked for it again on saving (opcode 23).

#include "effect/ShaperState.h"
#include "host/EffectRecord.h"
#include "platform/library/DynamicLibrary.h"
#include "tests/support/RunCommand.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using EntryFunction = EffectRecord*(VARNEX_CALL*)(HostCallback);

constexpr const char* LuaRunner = "/usr/bin/ardour7-lua";
constexpr const char* Scanner = "/usr/lib/ardour7/ardour-vst-scanner";
constexpr const char* ArdourLibraryFolder = "/usr/lib/ardour7";
constexpr std::int32_t GetChunk = 23;
constexpr std::int32_t SetChunk = 24;

IntPtr VARNEX_CALL quietHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void*,
                             float) {
    return opcode == 1 ? 2400 : 0;
}

constexpr char Base64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64(const Bytes& bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t group = static_cast<std::uint32_t>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            group |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            group |= bytes[i + 2];
        for (std::size_t d = 0; d < 4; ++d) {
            text += i + d <= bytes.size() ? Base64Digits[(group >> (18 - 6 * d)) & 63] : '=';
        }
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

// The text between the first <chunk ...> and </chunk> of a session file;
// `start` and `end` receive where it lies.
std::string chunkText(const std::string& session, std::size_t& start, std::size_t& end) {
    start = session.find("<chunk");
    if (start == std::string::npos)
        return {};
    start = session.find('>', start) + 1;
    end = session.find("</chunk>", start);
    return end == std::string::npos ? std::string{} : session.substr(start, end - start);
}

// The chunk of a bank whose programs differ and whose curve was drawn.
Bytes drawnChunk() {
    ShaperState state;
    state.currentProgram = 11;
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

// What the built plug-in saves after it was given `chunk`; empty when it
// refused it.
Bytes savedAfterLoading(DynamicLibrary& library, Bytes chunk) {
    auto entry = reinterpret_cast<EntryFunction>(library.symbol("main"));
    EffectRecord* record = entry ? entry(quietHost) : nullptr;
    if (!record)
        return {};
    Bytes saved;
    if (record->dispatch(record, SetChunk, 0, static_cast<IntPtr>(chunk.size()), chunk.data(),
                         0.0f) == 1) {
        void* data = nullptr;
        const IntPtr size = record->dispatch(record, GetChunk, 0, 0, &data, 0.0f);
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        saved.assign(bytes, bytes + size);
    }
    record->dispatch(record, 1, 0, 0, nullptr, 0.0f);
    return saved;
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(ArdourSession, ADrawnCurveSurvivesSavingAndReopeningTheSession) {
#if defined(VARNEX_SANITIZED)
    GTEST_SKIP() << "Ardour cannot load a plug-in built against the sanitizer runtimes";
#endif
    if (!std::filesystem::exists(LuaRunner) || !std::filesystem::exists(Scanner))
        GTEST_SKIP() << "Ardour 7 is not installed (" << LuaRunner << ")";

    DynamicLibrary library;
    ASSERT_TRUE(library.open(VARNEX_PLUGIN_FILE)) << library.errorText();
    const Bytes drawn = drawnChunk();
    ASSERT_EQ(savedAfterLoading(library, drawn), drawn) << "the plug-in takes all of it";

    // Ardour with a home and settings of its own, finding the plug-in in
    // one folder only.
    ScratchFolder scratch;
    const std::string plugins = scratch.file("plugins");
    const std::string settings = scratch.file("settings");
    std::filesystem::create_directories(plugins);
    std::filesystem::create_directories(settings + "/ardour7");
    std::filesystem::create_directories(scratch.file("home"));
    const std::string plugin = plugins + "/Varnex.so";
    std::filesystem::copy_file(VARNEX_PLUGIN_FILE, plugin);
    // Ardour takes the scanner's cache only when it is newer than the
    // plug-in, in whole seconds.
    std::filesystem::last_write_time(plugin, std::filesystem::file_time_type::clock::now() -
                                                 std::chrono::seconds(10));
    writeFile(settings + "/ardour7/config",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Ardour>\n  <Config>\n"
              "    <Option name=\"plugin-path-lxvst\" value=\"" +
                  plugins + "\"/>\n  </Config>\n</Ardour>\n");
    const std::vector<std::string> environment = {
        "HOME=" + scratch.file("home"), "XDG_CONFIG_HOME=" + settings, "LXVST_PATH=" + plugins,
        "LD_LIBRARY_PATH=" + std::string(ArdourLibraryFolder)};
    // The session runner only reads the scanner's cache, keyed by the
    // plug-in's absolute path.
    const CommandResult scan =
        runCommand(std::string(Scanner) + " -f " + shellQuoted(plugin), environment);
    ASSERT_NE((scan.out + scan.err).find("Varnex"), std::string::npos) << scan.out << scan.err;

    const std::string folder = scratch.file("session");
    const std::string sessionFile = folder + "/take.ardour";
    const std::string start = "AudioEngine:set_backend(\"None (Dummy)\", \"\", \"\")\n"
                              "assert(AudioEngine:start(false) == 0, \"no engine\")\n";
    writeFile(scratch.file("create.lua"),
              start + "assert(create_session(\"" + folder +
                  "\", \"take\", 48000), \"no session\")\n" +
                  "local p = ARDOUR.LuaAPI.new_plugin(Session, \"Varnex\", "
                  "ARDOUR.PluginType.LXVST, \"\")\n"
                  "assert(not p:isnil(), \"no plug-in\")\n"
                  "local t = Session:new_audio_track(2, 2, nil, 1, \"Take\", "
                  "ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front()\n"
                  "assert(t:add_processor_by_index(p, 0, nil, true) == 0, \"not inserted\")\n"
                  "Session:save_state(\"\", false, false, false, false, false)\n"
                  "close_session()\nprint(\"saved\")\n");
    writeFile(scratch.file("reopen.lua"),
              start + "assert(load_session(\"" + folder + "\", \"take\"), \"not loaded\")\n" +
                  "Session:save_state(\"\", false, false, false, false, false)\n"
                  "close_session()\nprint(\"saved again\")\n");
    const auto runLua = [&](const std::string& script) {
        return runCommand(std::string(LuaRunner) + " " + shellQuoted(scratch.file(script)),
                          environment);
    };

    const CommandResult created = runLua("create.lua");
    ASSERT_NE(created.out.find("saved"), std::string::npos) << created.out << created.err;
    std::string session = readFile(sessionFile);
    std::size_t chunkStart = 0, chunkEnd = 0;
    const Bytes fresh = fromBase64(chunkText(session, chunkStart, chunkEnd));
    ASSERT_FALSE(fresh.empty()) << "the session keeps no chunk:\n" << session;
    ASSERT_NE(fresh, drawn);

    // The state Ardour will hand the plug-in when it opens the session.
    session.replace(chunkStart, chunkEnd - chunkStart, base64(drawn));
    writeFile(sessionFile, session);

    const CommandResult reopened = runLua("reopen.lua");
    ASSERT_NE(reopened.out.find("saved again"), std::string::npos) << reopened.out << reopened.err;
    const std::string resaved = readFile(sessionFile);
    EXPECT_EQ(fromBase64(chunkText(resaved, chunkStart, chunkEnd)), drawn);
}

} // namespace
