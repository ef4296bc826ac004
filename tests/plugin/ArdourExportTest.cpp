// What a reopened session plays equals what the command-line host renders
// from the same state. Ardour 7 (headless) opens a session whose track
// feeds Varnex a tone and whose stored chunk holds a drawn curve, and
// exports it; the same session with Varnex switched off gives the tone
// itself, which `varnex render --preset` then renders with a bank preset
// holding the same chunk.

#include "cli/AudioFile.h"
#include "cli/PresetFile.h"
#include "editor/ShaperEffectEdit.h"
#include "tests/plugin/ArdourRunner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

namespace {

// A tone that is a function of the timeline position alone and silence
// while the transport stands, so that every export hands the plug-ins the
// same samples: a rising sweep on each channel (200 to 2200 Hz left, 300 to
// 1300 Hz right over the second), which never repeats itself, so that an
// export shifted against another cannot pass for it.
constexpr const char* TimelineTone = R"(ardour { ["type"] = "dsp", name = "Timeline Tone",
  category = "Utility", license = "MIT", author = "Varnex tests",
  description = [[A tone that follows the timeline; silent while stopped]] }
function dsp_ioconfig () return { { audio_in = 2, audio_out = 2 } } end
function dsp_init (rate) sr = rate end
function dsp_run (ins, outs, n_samples)
  local pos = Session:transport_sample ()
  local rolling = Session:transport_rolling ()
  for c = 1, #outs do
    local o = outs[c]:array ()
    local f, rise = 100 + 100 * c, 3000 - 1000 * c
    for s = 1, n_samples do
      local t = (pos + s - 1) / sr
      if rolling then o[s] = 0.9 * math.sin (2 * math.pi * (f * t + 0.5 * rise * t * t))
      else o[s] = 0 end
    end
  end
end
)";

// Cutoff changes glide over 10000 frames. The glide a freshly loaded state
// starts with depends on what the host did with the instance before it
// handed over the state, so the comparison starts after it.
constexpr std::ptrdiff_t SettledFrame = 20000;
// Where the transport starts rolling within an exported file varies from
// one export to the next by a few blocks, so the tone may sit a little
// earlier or later in one export than in the other.
constexpr std::ptrdiff_t LargestShift = 4096;

// The shift k, nearest 0 first, for which played[n] == rendered[n + k] in
// both channels on the frames from SettledFrame on, if there is one.
std::optional<std::ptrdiff_t> shiftBetween(const StereoBuffer& played,
                                           const StereoBuffer& rendered) {
    const std::ptrdiff_t frames = played.frameCount();
    const auto sameAt = [&](std::ptrdiff_t k) {
        for (std::ptrdiff_t n = SettledFrame; n + LargestShift < frames; ++n) {
            const auto p = static_cast<std::size_t>(n);
            const auto r = static_cast<std::size_t>(n + k);
            if (played.left[p] != rendered.left[r] || played.right[p] != rendered.right[r])
                return false;
        }
        return true;
    };
    for (std::ptrdiff_t distance = 0; distance <= LargestShift; ++distance)
        for (const std::ptrdiff_t k : {distance, -distance})
            if (sameAt(k))
                return k;
    return std::nullopt;
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

void replaceOnce(std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

TEST(ArdourExport, TheReopenedSessionPlaysWhatTheCommandLineRendersFromTheSameState) {
#if defined(VARNEX_SANITIZED)
    GTEST_SKIP() << "Ardour cannot load a plug-in built against the sanitizer runtimes";
#endif
    if (const std::string why = ardour::Runner::missing(); !why.empty())
        GTEST_SKIP() << why;

    ScratchFolder scratch;
    const ardour::Runner ardour(scratch, VARNEX_PLUGIN_FILE);
    ardour.addDspScript("timeline-tone.lua", TimelineTone);
    const std::string folder = scratch.file("session");
    // The tone and Varnex after the track's fader, so that the fader's
    // fade-in at the start of playback acts on neither.
    const CommandResult created = ardour.runLua(
        "create.lua",
        ardour::Runner::engineStart() + "assert(create_session(\"" + folder +
            "\", \"take\", 48000), \"no session\")\n"
            "local t = Session:new_audio_track(2, 2, nil, 1, \"Take\", "
            "ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front()\n"
            "local g = ARDOUR.LuaAPI.new_luaproc(Session, \"Timeline Tone\")\n"
            "assert(not g:isnil(), \"no tone\")\n"
            "local p = ARDOUR.LuaAPI.new_plugin(Session, \"Varnex\", ARDOUR.PluginType.LXVST, "
            "\"\")\n"
            "assert(not p:isnil(), \"no plug-in\")\n"
            "assert(t:add_processor_by_index(g, 1, nil, true) == 0, \"no tone inserted\")\n"
            "assert(t:add_processor_by_index(p, 2, nil, true) == 0, \"not inserted\")\n"
            "Session:save_state(\"\", false, false, false, false, false)\n"
            "close_session()\nprint(\"saved\")\n");
    ASSERT_NE(created.out.find("saved"), std::string::npos) << created.out << created.err;

    // One second of session range, and the drawn state in the chunk.
    const std::string sessionFile = folder + "/take.ardour";
    std::string session = readFile(sessionFile);
    replaceOnce(session, "<Locations/>",
                "<Locations><Location id=\"999999\" name=\"session\" start=\"a0\" "
                "end=\"a282240000\" flags=\"IsSessionRange\" locked=\"0\" timestamp=\"0\" "
                "cue=\"0\"/></Locations>");
    constexpr std::int32_t Program = 5;
    const ardour::Bytes drawn = ardour::drawnChunk(Program);
    ASSERT_TRUE(ardour::replaceChunk(session, drawn));
    writeFile(sessionFile, session);

    const std::string played = scratch.file("played.wav");
    const CommandResult exported = ardour.exportSession(folder, "take", played);
    ASSERT_EQ(exported.exitCode, 0) << exported.out << exported.err;
    replaceOnce(session, "name=\"Varnex\" active=\"1\"", "name=\"Varnex\" active=\"0\"");
    writeFile(sessionFile, session);
    const std::string tone = scratch.file("tone.wav");
    const CommandResult exportedTone = ardour.exportSession(folder, "take", tone);
    ASSERT_EQ(exportedTone.exitCode, 0) << exportedTone.out << exportedTone.err;

    Preset bank;
    bank.kind = PresetKind::BankChunk;
    bank.formatVersion = 2;
    bank.pluginId = ShaperEffectEdit::UniqueId;
    bank.programCount = ShaperEffect::ProgramCount;
    bank.currentProgram = Program;
    bank.chunk = drawn;
    const std::string preset = scratch.file("session.fxb");
    writePresetFile(preset, bank);
    const std::string rendered = scratch.file("rendered.wav");
    const CommandResult render =
        runCommand(std::string(VARNEX_CLI_FILE) + " render " + shellQuoted(tone) + " -o " +
                   shellQuoted(rendered) + " --plugin " + shellQuoted(VARNEX_PLUGIN_FILE) +
                   " --preset " + shellQuoted(preset));
    ASSERT_EQ(render.exitCode, 0) << render.out << render.err;

    const StereoBuffer fromArdour = readAudioFile(played);
    const StereoBuffer input = readAudioFile(tone);
    const StereoBuffer fromCli = readAudioFile(rendered);
    ASSERT_EQ(fromArdour.frameCount(), 48000);
    ASSERT_EQ(fromCli.frameCount(), fromArdour.frameCount());
    ASSERT_NE(fromArdour.left, input.left) << "Varnex did not act in the export";
    // Sample for sample, both channels alike.
    EXPECT_TRUE(shiftBetween(fromArdour, fromCli).has_value())
        << "the export is not the render of its input";
}

} // namespace
