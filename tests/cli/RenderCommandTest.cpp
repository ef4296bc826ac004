// `varnex render` and `varnex bench` run as a user runs them.

#include "RenderTestSupport.h"

#include "cli/AudioFile.h"
#include "cli/DemoSong.h"
#include "cli/RenderOptions.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using render_test::probeOutput;
using render_test::runVarnex;
using render_test::testTones;

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

TEST(RenderCommand, WithoutInputWritesTheDemoAndItsRenderingHere) {
    ScratchFolder folder;
    auto run = runVarnex({"render"}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << joined(run.errorLines);
    EXPECT_TRUE(run.errorLines.empty()) << joined(run.errorLines);
    EXPECT_NE(run.out.find(DemoInputFileName), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(DemoOutputFileName), std::string::npos) << run.out;

    StereoBuffer demoInput = readAudioFile(folder.file(DemoInputFileName));
    StereoBuffer song = synthesizeDemoSong();
    EXPECT_EQ(demoInput.left, song.left);
    EXPECT_EQ(demoInput.right, song.right);
    StereoBuffer demoOutput = readAudioFile(folder.file(DemoOutputFileName));
    EXPECT_EQ(demoOutput.sampleRate, 44100.0);
    EXPECT_EQ(demoOutput.frameCount(), song.frameCount());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2)
        << "left something else behind";
}

TEST(RenderCommand, DemoInputGoesBesideTheNamedOutput) {
    ScratchFolder folder;
    fs::create_directory(folder.file("takes"));
    auto run = runVarnex(
        {"render", "-o", "takes/loud.wav", "--plugin", RENDER_PROBE_PLUGIN, "--set", "Gain=1"},
        folder.path());
    ASSERT_EQ(run.exitCode, 0) << joined(run.errorLines);
    StereoBuffer input = readAudioFile(folder.file("takes/" + std::string(DemoInputFileName)));
    StereoBuffer output = readAudioFile(folder.file("takes/loud.wav"));
    StereoBuffer expected = probeOutput(input, 2.0f);
    EXPECT_EQ(output.left, expected.left);
    EXPECT_EQ(output.right, expected.right);
}

TEST(RenderCommand, MonoFileBecomesStereoBesideItAtItsOwnRate) {
    ScratchFolder folder;
    StereoBuffer tones = testTones(2000, 22050.0);
    {
        SF_INFO info{};
        info.samplerate = 22050;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* file = sf_open(folder.file("voice.wav").c_str(), SFM_WRITE, &info);
        ASSERT_NE(file, nullptr);
        sf_writef_float(file, tones.left.data(), tones.frameCount());
        sf_close(file);
    }
    std::string before = readFile(folder.file("voice.wav"));
    auto run = runVarnex({"render", "voice.wav", "--plugin", RENDER_PROBE_PLUGIN, "--block", "7"},
                         folder.path());
    ASSERT_EQ(run.exitCode, 0) << joined(run.errorLines);
    EXPECT_EQ(readFile(folder.file("voice.wav")), before);

    StereoBuffer output = readAudioFile(folder.file("voice-varnex.wav"));
    EXPECT_EQ(output.sampleRate, 22050.0);
    StereoBuffer expected = probeOutput(tones);
    EXPECT_EQ(output.left, expected.left);
    EXPECT_EQ(output.right, expected.left);
}

TEST(RenderCommand, AddingGivesTheSameFileAsOverwriting) {
    ScratchFolder folder;
    writeWavFile(folder.file("in.wav"), testTones(3000));
    auto first = runVarnex(
        {"render", "in.wav", "-o", "a.wav", "--plugin", RENDER_PROBE_PLUGIN, "--block", "100"},
        folder.path());
    auto second = runVarnex({"render", "in.wav", "-o", "b.wav", "--plugin", RENDER_PROBE_PLUGIN,
                             "--block", "100", "--adding"},
                            folder.path());
    ASSERT_EQ(first.exitCode, 0) << joined(first.errorLines);
    ASSERT_EQ(second.exitCode, 0) << joined(second.errorLines);
    EXPECT_EQ(readFile(folder.file("a.wav")), readFile(folder.file("b.wav")));
}

// Each bad invocation fails with one line on stderr, writes no output and
// leaves the input as it was.
TEST(RenderCommand, BadInputsFailWithOneErrorLineAndWriteNothing) {
    ScratchFolder folder;
    writeWavFile(folder.file("in.wav"), testTones(1000));
    std::ofstream(folder.file("notes.txt")) << "not audio\n";
    fs::create_directory(folder.file("folder.wav"));
    const std::string probe = RENDER_PROBE_PLUGIN;
    const std::vector<std::vector<std::string>> bad = {
        {"render", "missing.wav"},
        {"render", "folder.wav"},
        {"render", "notes.txt"},
        {"render", "in.wav", "--plugin", probe, "--set", "Volume=0.5"},
        {"render", "in.wav", "--plugin", probe, "--set", "Gain=1.5"},
        {"render", "in.wav", "--plugin", probe, "--set", "Gain=-0.01"},
        {"render", "in.wav", "--plugin", probe, "--set", "Gain=loud"},
        {"render", "in.wav", "--plugin", probe, "--set", "Gain"},
        {"render", "in.wav", "--plugin", probe, "--block", "0"},
        {"render", "in.wav", "--plugin", probe, "--block", "-64"},
        {"render", "in.wav", "--plugin", probe, "--block", "many"},
        {"render", "in.wav", "--plugin", probe, "--block", "100000000"},
        {"render", "in.wav", "--plugin", probe, "--program", "4"},
        {"render", "in.wav", "--plugin", probe, "--program", "-1"},
        {"render", "in.wav", "--plugin", probe, "--save-preset", "state.txt"},
        {"render", "in.wav", "--plugin", probe, "--save-preset", "no/such/folder/state.fxp"},
        {"render", "in.wav", "--plugin", probe, "--preset", "missing.fxp"},
        {"render", "in.wav", "--plugin", probe, "--block"},
        {"render", "in.wav", "--plugin"},
        {"render", "in.wav", "--loud"},
        {"render", "in.wav", "other.wav"},
        {"render", "in.wav", "-o", "in.wav"},
        {"render", "in.wav", "-o", "./sub/../in.wav"},
        {"render", "in.wav", "-o", "no/such/folder/out.wav", "--plugin", probe},
        {"render", "in.wav", "--plugin", "no-such-plugin.so"},
        {"render", "in.wav", "--plugin", "notes.txt"},
        {"render", "-o", DemoInputFileName},
        {"bench", "--seconds", "0"},
        {"bench", "--block", "0"},
        {"bench", "no-such-plugin.so"},
    };
    const std::string input = readFile(folder.file("in.wav"));
    for (const auto& arguments : bad) {
        std::string shown;
        for (const std::string& argument : arguments)
            shown += " " + argument;
        auto run = runVarnex(arguments, folder.path());
        EXPECT_NE(run.exitCode, 0) << shown;
        ASSERT_EQ(run.errorLines.size(), 1u) << shown << "\n" << joined(run.errorLines);
        EXPECT_EQ(run.errorLines[0].rfind("varnex: ", 0), 0u) << run.errorLines[0];
        EXPECT_EQ(readFile(folder.file("in.wav")), input) << shown;
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            files.push_back(entry.path().filename().string());
        EXPECT_EQ(files.size(), 3u) << shown << ": wrote something";
    }
}

TEST(RenderCommand, AFailedRenderKeepsAnEarlierOutput) {
    ScratchFolder folder;
    writeWavFile(folder.file("in.wav"), testTones(1000));
    std::ofstream(folder.file("out.wav")) << "an earlier render";
    auto run = runVarnex(
        {"render", "in.wav", "-o", "out.wav", "--plugin", RENDER_PROBE_PLUGIN, "--set", "Volume=1"},
        folder.path());
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(readFile(folder.file("out.wav")), "an earlier render");
}

TEST(BenchCommand, PrintsATableWithARatioForEachFurtherPlugin) {
    auto run = runVarnex(
        {"bench", RENDER_PROBE_PLUGIN, RENDER_PROBE_PLUGIN, "--seconds", "0.01", "--block", "64"});
    ASSERT_EQ(run.exitCode, 0) << joined(run.errorLines);
    EXPECT_NE(run.out.find("RenderProbe"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("overwriting"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("adding"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("relative to RenderProbe"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find('x'), std::string::npos) << run.out;
}

} // namespace
