// The Windows builds' editor in real windows: `varnex.exe edit` under
// wine's X11 driver shows exactly what the headless editor shows, and a
// user's drags and clicks made with xdotool reach the plug-in and the
// screen. Each of the 32- and 64-bit builds runs its own varnex.exe with
// its own Varnex.dll.

#include "tests/support/RunCommand.h"
#include "tests/wine/WineDesktop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

struct WindowsBuild {
    const char* variable; // names the folder of varnex.exe and Varnex.dll
    const char* name;
};

void PrintTo(const WindowsBuild& build, std::ostream* out) {
    *out << build.name;
}

// Where the editor's controls sit in its client area.
constexpr int PreGainKnobLeft = 108;
constexpr int PreGainKnobTop = 71;
constexpr int KnobSize = 43;
constexpr int CurveLeft = 167;
constexpr int CurveTop = 11;
constexpr int CurveSize = 267;

class EditorUnderWine : public ::testing::TestWithParam<WindowsBuild> {
  protected:
    void SetUp() override {
        const char* folder = std::getenv(GetParam().variable);
        if (!folder || !*folder)
            GTEST_SKIP() << GetParam().variable << " is not set: no Windows build to run";
        buildFolder = folder;
        if (!WineDesktop::shared().available())
            GTEST_SKIP() << WineDesktop::shared().whyUnavailable();
    }

    // Starts `varnex.exe edit` and waits until it tells where the editor is.
    void openEditor(const std::vector<std::string>& options = {}) {
        std::vector<std::string> arguments{"varnex.exe", "edit"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        editor = std::make_unique<WineProgram>(buildFolder, arguments, scratch.path());
        static const std::regex opened(R"(^editing .*\((\d+) x (\d+)\) at (-?\d+),(-?\d+);)");
        std::smatch found;
        const bool shown = eventually(
            [&] {
                for (const std::string& line : editor->lines())
                    if (std::regex_search(line, found, opened)) {
                        width = std::stoi(found[1]);
                        height = std::stoi(found[2]);
                        left = std::stoi(found[3]);
                        top = std::stoi(found[4]);
                        return true;
                    }
                return editor->hasEnded();
            },
            60s);
        ASSERT_TRUE(shown && width > 0) << "the editor did not open:\n" << output();
    }

    std::string output() const { return editor->transcript(); }

    // The lines that start with `start`.
    std::vector<std::string> linesStarting(const std::string& start) const {
        std::vector<std::string> found;
        for (const std::string& line : editor->lines())
            if (line.rfind(start, 0) == 0)
                found.push_back(line);
        return found;
    }

    bool lineCountReaches(const std::string& start, std::size_t count) const {
        return eventually([&] { return linesStarting(start).size() >= count; }, 10s);
    }

    Picture editorOnScreen() const { return screenshot().crop(left, top, width, height); }

    // What `varnex snapshot` of the native build shows with these options.
    Picture headless(const std::vector<std::string>& options) {
        std::string key;
        for (const std::string& option : options)
            key += option + " ";
        if (const auto known = headlessPictures.find(key); known != headlessPictures.end())
            return known->second;
        const std::string file =
            scratch.file("headless" + std::to_string(headlessPictures.size()) + ".png");
        std::string command = shellQuoted(VARNEX_NATIVE_CLI) + " snapshot -o " + shellQuoted(file);
        for (const std::string& option : options)
            command += " " + shellQuoted(option);
        const CommandResult made = runCommand(command);
        EXPECT_EQ(made.exitCode, 0) << command << "\n" << made.err;
        return headlessPictures[key] = readPng(file);
    }

    // Waits until the editor on the screen is `expected`, pixel for pixel.
    void expectScreenShows(const std::function<Picture()>& expected, const std::string& what) {
        Picture shown;
        Picture wanted;
        const bool same = eventually(
            [&] {
                wanted = expected();
                shown = editorOnScreen();
                return !wanted.pixels.empty() && shown == wanted;
            },
            10s);
        std::string where;
        EXPECT_TRUE(same) << what << ": " << differingPixels(shown, wanted, where)
                          << " pixels differ, " << where << "\n"
                          << output();
    }

    void xdotool(const std::string& arguments) {
        const CommandResult result = runCommand("xdotool " + arguments);
        EXPECT_EQ(result.exitCode, 0) << "xdotool " << arguments << "\n" << result.err;
    }

    // Moves the pointer to a point of the editor's client area.
    void pointAt(int x, int y) {
        xdotool("mousemove " + std::to_string(left + x) + " " + std::to_string(top + y));
    }

    std::string buildFolder;
    ScratchFolder scratch;
    std::unique_ptr<WineProgram> editor;
    std::map<std::string, Picture> headlessPictures;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

TEST_P(EditorUnderWine, ShowsWhatTheHeadlessEditorShows) {
    const std::vector<std::string> settings{"--program",  "2",     "--set",
                                            "DryWet=0.3", "--set", "PostFilter=0.8"};
    ASSERT_NO_FATAL_FAILURE(openEditor(settings));
    expectScreenShows([&] { return headless(settings); }, "the editor as opened");
}

TEST_P(EditorUnderWine, KnobDragReportsTheValueAndTurnsTheKnob) {
    ASSERT_NO_FATAL_FAILURE(openEditor());
    expectScreenShows([&] { return headless({}); }, "the editor as opened");
    const Picture before = editorOnScreen();
    // Press above the knob's centre and go round it clockwise to its right.
    const double cx = PreGainKnobLeft + KnobSize / 2.0;
    const double cy = PreGainKnobTop + KnobSize / 2.0;
    const auto onCircle = [&](double degrees) {
        const double radians = degrees * M_PI / 180.0;
        pointAt(static_cast<int>(std::lround(cx + 15 * std::sin(radians))),
                static_cast<int>(std::lround(cy - 15 * std::cos(radians))));
    };
    onCircle(0);
    xdotool("mousedown 1");
    for (int step = 1; step <= 12; ++step)
        onCircle(10.0 * step);
    // The knob reports while the button is still held.
    EXPECT_TRUE(lineCountReaches("#1 PreGain = ", 1)) << output();
    xdotool("mouseup 1");

    static const std::regex reported(R"(^#1 PreGain = ([0-9.]+))");
    expectScreenShows(
        [&] {
            const std::vector<std::string> changes = linesStarting("#1 PreGain = ");
            std::smatch value;
            if (changes.empty() || !std::regex_search(changes.back(), value, reported))
                return Picture{};
            return headless({"--set", "PreGain=" + value[1].str()});
        },
        "the editor after the drag");
    const auto knob = [](const Picture& p) {
        return p.crop(PreGainKnobLeft, PreGainKnobTop, KnobSize, KnobSize);
    };
    EXPECT_NE(knob(editorOnScreen()), knob(before)) << "the knob did not turn";
}

TEST_P(EditorUnderWine, CurvePointIsAddedDraggedAndDeleted) {
    ASSERT_NO_FATAL_FAILURE(openEditor());
    expectScreenShows([&] { return headless({}); }, "the editor as opened");
    const Picture straight = editorOnScreen();
    const auto curve = [](const Picture& p) {
        return p.crop(CurveLeft, CurveTop, CurveSize, CurveSize);
    };
    // A press on empty space adds a point, which follows the pointer
    // while the button is held, and shows on the screen as it goes.
    const int x = CurveLeft + 60;
    const int y = CurveTop + 120;
    pointAt(x, y);
    xdotool("mousedown 1");
    for (int step = 1; step <= 10; ++step)
        pointAt(x, y - 6 * step);
    const bool moving = eventually([&] { return curve(editorOnScreen()) != curve(straight); }, 10s);
    xdotool("mouseup 1");
    EXPECT_TRUE(moving) << "the curve did not change while dragging\n" << output();
    EXPECT_TRUE(lineCountReaches("#0 Shaper = ", 1)) << output();

    // A right press on the point deletes it, and the straight line is back.
    xdotool("mousedown 3");
    EXPECT_TRUE(lineCountReaches("#0 Shaper = ", 2)) << output();
    xdotool("mouseup 3");
    expectScreenShows([&] { return straight; }, "the editor after the point was deleted");
}

TEST_P(EditorUnderWine, OpensAndClosesWhileAudioRuns) {
    WineProgram bench(buildFolder, {"varnex.exe", "bench", "--editor", "--cycles", "10"},
                      scratch.path());
    EXPECT_EQ(bench.waitForExit(120s), 0) << bench.transcript();
}

INSTANTIATE_TEST_SUITE_P(CrossBuilds, EditorUnderWine,
                         ::testing::Values(WindowsBuild{"VARNEX_WINDOWS_BUILD_I686", "i686"},
                                           WindowsBuild{"VARNEX_WINDOWS_BUILD_X86_64", "x86_64"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
