// A real host keeps the drawn curve: Ardour 7, headless (its Lua session
// runner with the dummy audio backend), saves a session holding the built
// plug-in, whose state is then set through the chunk that the session file
// stores, reopens the session and saves it again. The chunk it saves after
// reopening must be the one the plug-in was given: Ardour handed it over on
// loading (opcode 24) and asked for it again on saving (opcode 23).

#include "host/EffectRecord.h"
#include "platform/library/DynamicLibrary.h"
#include "tests/plugin/ArdourRunner.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using ardour::Bytes;
using EntryFunction = EffectRecord*(VARNEX_CALL*)(HostCallback);

constexpr std::int32_t GetChunk = 23;
constexpr std::int32_t SetChunk = 24;

IntPtr VARNEX_CALL quietHost(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void*,
                             float) {
    return opcode == 1 ? 2400 : 0;
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
    if (const std::string why = ardour::Runner::missing(); !why.empty())
        GTEST_SKIP() << why;

    DynamicLibrary library;
    ASSERT_TRUE(library.open(VARNEX_PLUGIN_FILE)) << library.errorText();
    const Bytes drawn = ardour::drawnChunk();
    ASSERT_EQ(savedAfterLoading(library, drawn), drawn) << "the plug-in takes all of it";

    ScratchFolder scratch;
    const ardour::Runner ardour(scratch, VARNEX_PLUGIN_FILE);
    ASSERT_NE((ardour.scan().out + ardour.scan().err).find("Varnex"), std::string::npos)
        << ardour.scan().out << ardour.scan().err;

    const std::string folder = scratch.file("session");
    const std::string sessionFile = folder + "/take.ardour";
    const CommandResult created = ardour.runLua(
        "create.lua",
        ardour::Runner::engineStart() + "assert(create_session(\"" + folder +
            "\", \"take\", 48000), \"no session\")\n" +
            "local p = ARDOUR.LuaAPI.new_plugin(Session, \"Varnex\", "
            "ARDOUR.PluginType.LXVST, \"\")\n"
            "assert(not p:isnil(), \"no plug-in\")\n"
            "local t = Session:new_audio_track(2, 2, nil, 1, \"Take\", "
            "ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, "
            "true):front()\n"
            "assert(t:add_processor_by_index(p, 0, nil, true) == 0, \"not inserted\")\n"
            "Session:save_state(\"\", false, false, false, false, false)\n"
            "close_session()\nprint(\"saved\")\n");
    ASSERT_NE(created.out.find("saved"), std::string::npos) << created.out << created.err;
    std::string session = readFile(sessionFile);
    std::size_t chunkStart = 0, chunkEnd = 0;
    const Bytes fresh = ardour::fromBase64(ardour::chunkText(session, chunkStart, chunkEnd));
    ASSERT_FALSE(fresh.empty()) << "the session keeps no chunk:\n" << session;
    ASSERT_NE(fresh, drawn);

    // The state Ardour will hand the plug-in when it opens the session.
    ASSERT_TRUE(ardour::replaceChunk(session, drawn));
    writeFile(sessionFile, session);

    const CommandResult reopened = ardour.runLua(
        "reopen.lua", ardour::Runner::engineStart() + "assert(load_session(\"" + folder +
                          "\", \"take\"), \"not loaded\")\n" +
                          "Session:save_state(\"\", false, false, false, false, false)\n"
                          "close_session()\nprint(\"saved again\")\n");
    ASSERT_NE(reopened.out.find("saved again"), std::string::npos) << reopened.out << reopened.err;
    const std::string resaved = readFile(sessionFile);
    EXPECT_EQ(ardour::fromBase64(ardour::chunkText(resaved, chunkStart, chunkEnd)), drawn);
}

} // namespace
