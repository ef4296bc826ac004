// `varnex edit` and `varnex bench --editor` on a private X server: the
// built plug-in's editor in a real window, ended the ways a user ends it,
// read back from the screen, and opened and closed while audio runs.

#include "RunningProgram.h"
#include "TopLevelWindows.h"

#include "tests/support/PngFile.h"
#include "tests/support/RunCommand.h"
#include "tests/support/VirtualDisplay.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdio>

namespace {

using namespace std::chrono_literals;

class OnVirtualDisplay : public ::testing::Test {
  protected:
    void SetUp() override {
        VirtualDisplay& display = VirtualDisplay::shared();
        if (!display.available())
            GTEST_SKIP() << display.whyUnavailable();
    }
};

enum class Ending { CtrlC, CloseButton };

class EditOnVirtualDisplay : public OnVirtualDisplay,
                             public ::testing::WithParamInterface<Ending> {};

TEST_P(EditOnVirtualDisplay, ShowsTheEditorWhereItSaysAndEndsCleanly) {
    RunningProgram edit({VARNEX_CLI_FILE, "edit"});
    const auto announced = edit.waitForLine("editing ", 20s);
    ASSERT_TRUE(announced) << edit.output() << edit.errors();
    int width = 0, height = 0, x = -1, y = -1;
    ASSERT_EQ(std::sscanf(announced->c_str(), "editing Varnex (%d x %d) at %d,%d;", &width, &height,
                          &x, &y),
              4)
        << *announced;
    EXPECT_EQ(width, 568);
    EXPECT_EQ(height, 290);

    TopLevelWindows windows;
    ASSERT_TRUE(windows.connected());
    const TopLevelWindows::Placement placement = windows.windowOf(edit.pid());
    ASSERT_TRUE(placement.found) << "no top-level window of varnex edit on the display";
    EXPECT_EQ(placement.x, x);
    EXPECT_EQ(placement.y, y);
    EXPECT_EQ(placement.width, width);
    EXPECT_EQ(placement.height, height);

    if (GetParam() == Ending::CtrlC)
        edit.signal(SIGINT);
    else
        ASSERT_TRUE(windows.requestClose(edit.pid()));
    EXPECT_EQ(edit.waitForExit(10s), 0) << edit.errors();
    EXPECT_EQ(edit.errors(), "");
}

INSTANTIATE_TEST_SUITE_P(Endings, EditOnVirtualDisplay,
                         ::testing::Values(Ending::CtrlC, Ending::CloseButton),
                         [](const auto& info) {
                             return info.param == Ending::CtrlC ? "CtrlC" : "CloseButton";
                         });

TEST_F(OnVirtualDisplay, EditEntersTheCurveWithTheRealPointer) {
    RunningProgram edit(
        {VARNEX_CLI_FILE, "edit", "--curve-normalized", "--curve", "0,0.1;0.3,0.6;0.6,0.3;1,0.9"});
    const auto entered = edit.waitForLine("entered the curve", 30s);
    ASSERT_TRUE(entered) << edit.output() << edit.errors();
    EXPECT_EQ(*entered, "entered the curve: 4 points");
    // Each gesture on the curve ends with the editor reporting parameter 0.
    std::size_t reports = 0;
    for (std::size_t at = 0;
         (at = edit.output().find("\n#0 Shaper = 0.000000", at)) != std::string::npos; ++at)
        ++reports;
    EXPECT_EQ(reports, 4u) << edit.output();
    edit.signal(SIGINT);
    EXPECT_EQ(edit.waitForExit(10s), 0) << edit.errors();
}

std::size_t differingPixels(const RgbImage& a, const RgbImage& b) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 2 < a.rgb.size() && i + 2 < b.rgb.size(); i += 3)
        count +=
            a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2];
    return count;
}

// The state edit saves after the window is gone is the one it showed.
TEST_F(OnVirtualDisplay, EditScreenshotIsWhatTheHeadlessEditorShowsOfItsSavedPreset) {
    ScratchFolder folder;
    const std::string shot = folder.file("edit.png");
    const std::string preset = folder.file("edit.fxp");
    RunningProgram edit({VARNEX_CLI_FILE, "edit", "--set", "PreGain=0.8", "--screenshot", shot,
                         "--save-preset", preset});
    ASSERT_EQ(edit.waitForExit(30s), 0) << edit.output() << edit.errors();
    EXPECT_NE(edit.output().find("\nsaved " + shot + "\n"), std::string::npos) << edit.output();

    const auto snapshot = [&](const std::string& options, const std::string& name) {
        const CommandResult made = runCommand(shellQuoted(VARNEX_CLI_FILE) + " snapshot " +
                                              options + " -o " + shellQuoted(folder.file(name)));
        EXPECT_EQ(made.exitCode, 0) << made.err;
        return readRgbPng(folder.file(name));
    };
    const RgbImage screen = readRgbPng(shot);
    const RgbImage headless = snapshot("--preset " + shellQuoted(preset), "preset.png");
    ASSERT_EQ(screen.width, 568u);
    ASSERT_EQ(screen.height, 290u);
    ASSERT_EQ(headless.width, screen.width);
    ASSERT_EQ(headless.height, screen.height);
    EXPECT_EQ(differingPixels(screen, headless), 0u);
    // The setting shows, so the two agree on more than the editor's defaults.
    EXPECT_NE(differingPixels(headless, snapshot("", "initial.png")), 0u);
}

TEST_F(OnVirtualDisplay, EditorBenchOpensAndClosesTheEditorWhileAudioRuns) {
    RunningProgram bench({VARNEX_CLI_FILE, "bench", "--editor", "--cycles", "5"});
    EXPECT_EQ(bench.waitForExit(60s), 0) << bench.output() << bench.errors();
    EXPECT_NE(bench.output().find("open to first paint: median"), std::string::npos)
        << bench.output();
}

} // namespace
