// Preset files (--preset, --save-preset) made by hand here, byte by byte,
// carried through `varnex` and plug-ins as a user runs it.

#include "RenderTestSupport.h"

#include "cli/AudioFile.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

namespace fs = std::filesystem;
using render_test::probeOutput;
using render_test::runVarnex;
using render_test::testTones;

// The bytes of a preset file, big-endian, as the format gives them.
struct Bytes {
    std::string data;

    Bytes& word(std::uint32_t word) {
        for (int shift = 24; shift >= 0; shift -= 8)
            data += static_cast<char>(word >> shift);
        return *this;
    }
    Bytes& tag(const char* four) { return raw(std::string(four, 4)); }
    Bytes& value(float value) { return word(std::bit_cast<std::uint32_t>(value)); }
    Bytes& name(const std::string& name, std::size_t size = 28) {
        return raw(name + std::string(size - name.size(), '\0'));
    }
    Bytes& raw(const std::string& bytes) {
        data += bytes;
        return *this;
    }
    // 'CcnK', then the byte count of what follows.
    std::string file() const { return Bytes().tag("CcnK").word(data.size()).data + data; }
};

struct Program {
    std::string name;
    float gain = 0.0f;
    float trim = 0.0f;
};

std::uint32_t id(const char* four) {
    return (std::uint32_t(std::uint8_t(four[0])) << 24) |
           (std::uint32_t(std::uint8_t(four[1])) << 16) |
           (std::uint32_t(std::uint8_t(four[2])) << 8) | std::uint8_t(four[3]);
}

std::string valuesProgram(const char* plugin, const Program& program) {
    return Bytes()
        .tag("FxCk")
        .word(1)
        .word(id(plugin))
        .word(1)
        .word(2)
        .name(program.name)
        .value(program.gain)
        .value(program.trim)
        .file();
}

std::string bankHead(const char* kind, const char* plugin, int version, int current, int count) {
    Bytes head;
    head.tag(kind).word(version).word(id(plugin)).word(1).word(count);
    if (version == 2)
        head.word(current);
    return head.raw(std::string(version == 2 ? 124 : 128, '\0')).data;
}

std::string valuesBank(const char* plugin, int version, int current,
                       const std::vector<Program>& programs) {
    Bytes bank;
    bank.raw(bankHead("FxBk", plugin, version, current, static_cast<int>(programs.size())));
    for (const Program& program : programs)
        bank.raw(valuesProgram(plugin, program));
    return bank.file();
}

std::string chunkFile(const std::string& head, const std::string& chunk) {
    return Bytes().raw(head).word(chunk.size()).raw(chunk).file();
}

std::string programHead(const char* kind, const char* plugin, const std::string& name) {
    return Bytes().tag(kind).word(1).word(id(plugin)).word(1).word(2).name(name).data;
}

// The chunk probe's own chunks (fixtures/RenderProbePlugin.cpp), in this
// machine's byte order.
std::string probeChunk(const Program& program) {
    std::string bytes(8, '\0');
    std::memcpy(bytes.data(), &program.gain, 4);
    std::memcpy(bytes.data() + 4, &program.trim, 4);
    return bytes + program.name + std::string(24 - program.name.size(), '\0');
}

std::string probeProgramChunk(const Program& program) {
    return "PrbP" + probeChunk(program);
}

std::string probeBankChunk(std::int32_t current, const std::vector<Program>& programs) {
    std::string bytes = "PrbB" + std::string(4, '\0');
    std::memcpy(bytes.data() + 4, &current, 4);
    for (const Program& program : programs)
        bytes += probeChunk(program);
    return bytes;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

const std::vector<Program> FourPrograms = {
    {"Soft", 0.25f, 0.5f}, {"Low", 0.5f, 0.25f}, {"Loud", 1.0f, 0.75f}, {"Quiet", 0.125f, 0.5f}};
const Program Crunch = {"Crunch", 0.75f, 0.25f};

struct RoundTrip {
    const char* name;
    const char* plugin;
    const char* extension;
    std::string file;
    std::string saved; // what --save-preset writes of the loaded state
    Program current;   // the program that plays
};

void PrintTo(const RoundTrip& trip, std::ostream* out) {
    *out << trip.name;
}

class PresetRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

// Loaded, played and saved again: the same bytes, and the sound of the
// program the file makes current.
TEST_P(PresetRoundTrip, LoadsPlaysAndSavesTheSameFile) {
    const RoundTrip& trip = GetParam();
    ScratchFolder folder;
    const StereoBuffer input = testTones(300);
    writeWavFile(folder.file("in.wav"), input);
    const std::string in = std::string("in") + trip.extension;
    const std::string saved = std::string("saved") + trip.extension;
    writeBytes(folder.file(in), trip.file);

    const auto run = runVarnex({"render", "in.wav", "-o", "out.wav", "--plugin", trip.plugin,
                                "--preset", in, "--save-preset", saved},
                               folder.path());
    ASSERT_EQ(run.exitCode, 0) << joined(run.errorLines);
    EXPECT_EQ(readFile(folder.file(saved)), trip.saved);
    const StereoBuffer expected = probeOutput(input, 4.0f * trip.current.gain * trip.current.trim);
    const StereoBuffer output = readAudioFile(folder.file("out.wav"));
    EXPECT_EQ(output.left, expected.left);
    EXPECT_EQ(output.right, expected.right);

    const auto info = runVarnex({"info", trip.plugin, "--preset", in}, folder.path());
    EXPECT_NE(info.out.find("  " + trip.current.name + "\n"), std::string::npos) << info.out;
}

INSTANTIATE_TEST_SUITE_P(
    FourKinds, PresetRoundTrip,
    ::testing::Values(
        RoundTrip{"ProgramValues", RENDER_PROBE_PLUGIN, ".fxp", valuesProgram("RPrb", Crunch),
                  valuesProgram("RPrb", Crunch), Crunch},
        RoundTrip{"BankValues", RENDER_PROBE_PLUGIN, ".fxb", valuesBank("RPrb", 2, 2, FourPrograms),
                  valuesBank("RPrb", 2, 2, FourPrograms), FourPrograms[2]},
        // Without a current program of its own the bank leaves program 0
        // current, and is saved again as version 2 naming it.
        RoundTrip{"BankValuesVersion1", RENDER_PROBE_PLUGIN, ".fxb",
                  valuesBank("RPrb", 1, 0, FourPrograms), valuesBank("RPrb", 2, 0, FourPrograms),
                  FourPrograms[0]},
        RoundTrip{"ProgramChunk", CHUNK_PROBE_PLUGIN, ".fxp",
                  chunkFile(programHead("FPCh", "RPrC", "Crunch"), probeProgramChunk(Crunch)),
                  chunkFile(programHead("FPCh", "RPrC", "Crunch"), probeProgramChunk(Crunch)),
                  Crunch},
        RoundTrip{"BankChunk", CHUNK_PROBE_PLUGIN, ".fxb",
                  chunkFile(bankHead("FBCh", "RPrC", 2, 3, 4), probeBankChunk(3, FourPrograms)),
                  chunkFile(bankHead("FBCh", "RPrC", 2, 3, 4), probeBankChunk(3, FourPrograms)),
                  FourPrograms[3]}),
    [](const ::testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.name); });

struct Refusal {
    const char* name;
    const char* plugin;
    std::string file;
    const char* phrase; // what the one error line must say
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

std::string withWord(std::string bytes, std::size_t at, std::uint32_t word) {
    return bytes.replace(at, 4, Bytes().word(word).data);
}

const std::string GoodProgram = valuesProgram("RPrb", Crunch);
const std::string GoodBank = valuesBank("RPrb", 2, 2, FourPrograms);

class PresetRefused : public ::testing::TestWithParam<Refusal> {};

// One line, exit status 1, and neither the audio nor a preset written.
TEST_P(PresetRefused, WithOneLineAndNothingWritten) {
    const Refusal& refusal = GetParam();
    ScratchFolder folder;
    writeWavFile(folder.file("in.wav"), testTones(100));
    writeBytes(folder.file("bad.fxp"), refusal.file);
    const auto run = runVarnex({"render", "in.wav", "-o", "out.wav", "--plugin", refusal.plugin,
                                "--preset", "bad.fxp", "--save-preset", "saved.fxp"},
                               folder.path());
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.errorLines.size(), 1u) << joined(run.errorLines);
    EXPECT_EQ(run.errorLines[0].rfind("varnex: ", 0), 0u) << run.errorLines[0];
    EXPECT_NE(run.errorLines[0].find(refusal.phrase), std::string::npos) << run.errorLines[0];
    EXPECT_FALSE(fs::exists(folder.file("out.wav")));
    EXPECT_FALSE(fs::exists(folder.file("saved.fxp")));
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, PresetRefused,
    ::testing::Values(
        Refusal{"AnotherPlugin", RENDER_PROBE_PLUGIN, valuesProgram("VarE", Crunch),
                "a preset of the plug-in 'VarE'"},
        Refusal{"Empty", RENDER_PROBE_PLUGIN, "", "not a preset file"},
        Refusal{"NotAPreset", RENDER_PROBE_PLUGIN, "RIFF\0\0\0\0WAVE", "not a preset file"},
        Refusal{"CutInTheHeader", RENDER_PROBE_PLUGIN, GoodProgram.substr(0, 6), "truncated"},
        Refusal{"LastByteMissing", RENDER_PROBE_PLUGIN,
                GoodProgram.substr(0, GoodProgram.size() - 1), "truncated"},
        Refusal{"BankCutShort", RENDER_PROBE_PLUGIN, GoodBank.substr(0, 300), "truncated"},
        Refusal{"OneByteTooMany", RENDER_PROBE_PLUGIN, GoodProgram + "x", "oversized"},
        Refusal{"ByteCountAgreesButOneValueMore", RENDER_PROBE_PLUGIN, withWord(GoodProgram, 24, 3),
                "ends inside"},
        Refusal{"FiveProgramsCountedFourGiven", RENDER_PROBE_PLUGIN, withWord(GoodBank, 24, 5),
                "ends inside"},
        Refusal{"InnerByteCountWrong", RENDER_PROBE_PLUGIN, withWord(GoodBank, 160, 99),
                "byte count 99"},
        Refusal{"UnknownKind", RENDER_PROBE_PLUGIN, withWord(GoodProgram, 8, id("FxZz")),
                "unknown kind 'FxZz'"},
        Refusal{"FormatVersion2OfAProgram", RENDER_PROBE_PLUGIN, withWord(GoodProgram, 12, 2),
                "format version 2"},
        Refusal{"CurrentProgramOutOfRange", RENDER_PROBE_PLUGIN, withWord(GoodBank, 28, 4),
                "current program 4"},
        Refusal{"NaNValue", RENDER_PROBE_PLUGIN, withWord(GoodProgram, 56, 0x7FC00000u),
                "parameter 0 is nan"},
        Refusal{"ValueAboveOne", RENDER_PROBE_PLUGIN,
                withWord(GoodBank, 156 + 3 * 64 + 60, std::bit_cast<std::uint32_t>(1.5f)),
                "program 3: parameter 1 is 1.5"},
        Refusal{"ThreeParametersForTwo", RENDER_PROBE_PLUGIN,
                Bytes()
                    .tag("FxCk")
                    .word(1)
                    .word(id("RPrb"))
                    .word(1)
                    .word(3)
                    .name("")
                    .value(0)
                    .value(0)
                    .value(0)
                    .file(),
                "holds 3 parameters"},
        Refusal{"ChunkForAPluginWithout", RENDER_PROBE_PLUGIN,
                chunkFile(programHead("FPCh", "RPrb", ""), probeProgramChunk(Crunch)),
                "no ChunkPrograms flag"},
        Refusal{"EmptyChunk", CHUNK_PROBE_PLUGIN, chunkFile(programHead("FPCh", "RPrC", ""), ""),
                "chunk is empty"},
        Refusal{"ChunkThePluginRefuses", CHUNK_PROBE_PLUGIN,
                chunkFile(programHead("FPCh", "RPrC", ""), probeBankChunk(0, FourPrograms)),
                "refused the chunk"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST(PresetOptions, ACurveCannotBeDrawnOverAChunk) {
    ScratchFolder folder;
    writeBytes(folder.file("chunk.fxp"),
               chunkFile(programHead("FPCh", "VarE", ""), probeProgramChunk(Crunch)));
    const auto run =
        runVarnex({"render", "--preset", "chunk.fxp", "--curve", "11,255;255,11"}, folder.path());
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.errorLines.size(), 1u) << joined(run.errorLines);
    EXPECT_NE(run.errorLines[0].find("cannot follow chunk.fxp"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1) << "wrote something";
}

struct SavedSettings {
    const char* name;
    const char* plugin;
    std::vector<std::string> settings;
};

void PrintTo(const SavedSettings& saved, std::ostream* out) {
    *out << saved.name;
}

class PresetRender : public ::testing::TestWithParam<SavedSettings> {};

// A preset saved after rendering with settings gives, loaded, the same
// audio sample for sample: one program and the whole bank, as the
// plug-in's chunk or as values.
TEST_P(PresetRender, ASavedPresetRendersAsTheSettingsItWasSavedWith) {
    const SavedSettings& saved = GetParam();
    if (!fs::exists(saved.plugin))
        GTEST_SKIP() << saved.plugin << " is missing (Debian package zam-plugins)";
    ScratchFolder folder;
    writeWavFile(folder.file("in.wav"), testTones(4000));
    // A plug-in from elsewhere: its own leaks are not this program's to report.
    const std::vector<std::string> environment = {"ASAN_OPTIONS=detect_leaks=0"};
    const std::vector<std::string> plugin = {"render", "in.wav", "--plugin", saved.plugin};
    const auto render = [&](std::vector<std::string> options) {
        std::vector<std::string> arguments = plugin;
        arguments.insert(arguments.end(), options.begin(), options.end());
        const auto run = runVarnex(arguments, folder.path(), environment);
        EXPECT_EQ(run.exitCode, 0) << joined(run.errorLines);
        return readAudioFile(folder.file(options[1]));
    };
    const StereoBuffer plain = render({"-o", "plain.wav"});
    for (const std::string file : {"set.fxp", "set.fxb"}) {
        std::vector<std::string> withSettings = {"-o", "set.wav", "--save-preset", file};
        withSettings.insert(withSettings.end(), saved.settings.begin(), saved.settings.end());
        const StereoBuffer expected = render(withSettings);
        const StereoBuffer output = render({"-o", "preset.wav", "--preset", file});
        EXPECT_EQ(output.left, expected.left) << file;
        EXPECT_EQ(output.right, expected.right) << file;
        EXPECT_NE(output.left, plain.left) << file;
    }
}

INSTANTIATE_TEST_SUITE_P(Plugins, PresetRender,
                         ::testing::Values(SavedSettings{"VarnexAsChunks",
                                                         VARNEX_PLUGIN,
                                                         {"--program", "5", "--set", "PreGain=0.9",
                                                          "--set", "PostFilter=0.3", "--set",
                                                          "PostSwitch=1", "--set", "DryWet=0.8"}},
                                           SavedSettings{
                                               "PeerAsValues",
                                               "/usr/lib/vst/ZamTube-vst.so",
                                               {"--set", "Tube Drive=0.7", "--set", "Bass=0.2"}}),
                         [](const ::testing::TestParamInfo<SavedSettings>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
