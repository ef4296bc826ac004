// The Win32 backend's edit window, keyboard focus and popup menu in real
// windows: the probe programs of each Windows build under wine's X11
// driver, typed at and clicked with xdotool, tell what reached their
// procedures and the toolkit's listener.

#include "tests/support/RunCommand.h"
#include "tests/wine/WineDesktop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

struct WindowsBuild {
    const char* variable; // names the folder of the build's programs
    const char* name;
};

void PrintTo(const WindowsBuild& build, std::ostream* out) {
    *out << build.name;
}

struct ScreenBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
};

// Runs one probe program and reads the lines it prints.
class ProbeUnderWine : public ::testing::TestWithParam<WindowsBuild> {
  protected:
    void start(const std::string& program) {
        const char* folder = std::getenv(GetParam().variable);
        if (!folder || !*folder)
            GTEST_SKIP() << GetParam().variable << " is not set: no Windows build to run";
        if (!WineDesktop::shared().available())
            GTEST_SKIP() << WineDesktop::shared().whyUnavailable();
        name = program;
        probe = std::make_unique<WineProgram>(folder, std::vector<std::string>{program},
                                              scratch.path());
        const bool started = eventually(
            [&] { return count("ready") > 0 || count("error") > 0 || probe->hasEnded(); }, 60s);
        ASSERT_TRUE(started && count("ready") == 1) << program << " did not start:\n" << output();
    }

    std::string output() const { return probe->transcript(); }

    // How many lines start with `start`.
    std::size_t count(const std::string& start) const {
        const std::vector<std::string> lines = probe->lines();
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& line) { return line.rfind(start, 0) == 0; });
    }

    bool countReaches(const std::string& start, std::size_t wanted) const {
        return eventually([&] { return count(start) >= wanted; }, 10s);
    }

    // A screen rectangle that the probe printed as "NAME L T R B".
    ScreenBox box(const std::string& boxName) const {
        const std::regex pattern("^" + boxName + R"( (-?\d+) (-?\d+) (-?\d+) (-?\d+)$)");
        std::smatch found;
        for (const std::string& line : probe->lines())
            if (std::regex_match(line, found, pattern))
                return {std::stoi(found[1]), std::stoi(found[2]), std::stoi(found[3]),
                        std::stoi(found[4])};
        ADD_FAILURE() << "no " << boxName << " rectangle:\n" << output();
        return {};
    }

    std::string xdotool(const std::string& arguments) {
        const CommandResult result = runCommand("xdotool " + arguments);
        EXPECT_EQ(result.exitCode, 0) << "xdotool " << arguments << "\n" << result.err;
        return result.out;
    }

    void click(int x, int y, int button = 1) {
        xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " +
                std::to_string(button));
    }

    // The probe's shown X window whose top-left corner is at (x, y): wine
    // shows a popup menu as a top-level window of its own.
    bool windowAt(int x, int y, ScreenBox& found) {
        static const std::regex geometry(R"(X=(-?\d+)\s+Y=(-?\d+)\s+WIDTH=(\d+)\s+HEIGHT=(\d+))");
        const CommandResult listed =
            runCommand("xdotool search --onlyvisible --classname " + shellQuoted(name));
        for (const std::string& id : splitLines(listed.out)) {
            const std::string shell =
                id.empty() ? "" : runCommand("xdotool getwindowgeometry --shell " + id).out;
            std::smatch values;
            if (std::regex_search(shell, values, geometry) && std::stoi(values[1]) == x &&
                std::stoi(values[2]) == y) {
                found = {x, y, x + std::stoi(values[3]), y + std::stoi(values[4])};
                return true;
            }
        }
        return false;
    }

    ScratchFolder scratch;
    std::string name;
    std::unique_ptr<WineProgram> probe;
};

// edit_window_probe.exe: the system's edit window under a replacement
// procedure, made through the platform calls alone.
class EditWindowUnderWine : public ProbeUnderWine {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(start("edit_window_probe.exe"));
        if (IsSkipped())
            return;
        edit = box("edit");
        frame = box("frame");
    }

    ScreenBox edit;
    ScreenBox frame;
};

TEST_P(EditWindowUnderWine, TypedTextAndReturnReachTheReplacementProcedure) {
    click(edit.centreX(), edit.centreY());
    xdotool("type --delay 30 abc");
    xdotool("key Return");
    ASSERT_TRUE(countReaches("text ", 1)) << output();
    EXPECT_EQ(count("key return"), 1u) << output();
    EXPECT_EQ(count("text abc"), 1u) << output();
}

TEST_P(EditWindowUnderWine, PressOutsideTheEditTakesItsFocus) {
    EXPECT_EQ(count("killfocus"), 0u) << output();
    click(frame.left + 250, frame.bottom - 20);
    EXPECT_TRUE(countReaches("killfocus", 1)) << output();
}

// gui_controls_probe.exe: the toolkit's text field and choice menu ("a",
// "-", "b") on the backend.
class ToolkitControlsUnderWine : public ProbeUnderWine {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(start("gui_controls_probe.exe"));
        if (IsSkipped())
            return;
        field = box("field");
        menu = box("menu");
    }

    // A press on the control, held until `opened` holds: the toolkit reads
    // the buttons that are down while it handles the press.
    void pressUntil(const ScreenBox& control, const std::function<bool()>& opened) {
        xdotool("mousemove " + std::to_string(control.centreX()) + " " +
                std::to_string(control.centreY()) + " mousedown 1");
        const bool done = eventually(opened, 10s);
        xdotool("mouseup 1");
        ASSERT_TRUE(done) << "the control did not open:\n" << output();
    }

    ScreenBox field;
    ScreenBox menu;
};

// Each way of ending an edit, one after the other; the second types at
// one end of the first's text.
TEST_P(ToolkitControlsUnderWine, TextFieldEditEndsWithReturnOrAPressElsewhere) {
    struct Ending {
        const char* what;
        std::function<void()> act;
        const char* expected;
    };
    const std::vector<Ending> endings{
        {"Return", [&] { xdotool("key Return"); }, "text abc"},
        {"a press elsewhere", [&] { click(field.right + 40, field.top); }, "text abcabc"},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.what);
        const std::size_t opened = count("editing");
        ASSERT_NO_FATAL_FAILURE(pressUntil(field, [&] { return count("editing") > opened; }));
        xdotool("type --delay 30 abc");
        ending.act();
        EXPECT_TRUE(countReaches(ending.expected, 1)) << output();
        ASSERT_TRUE(countReaches("edit closed", opened + 1)) << output();
    }
}

// Each way of closing the menu, one after the other.
TEST_P(ToolkitControlsUnderWine, ChoiceMenuTakesAChoiceOrCancels) {
    struct Way {
        const char* what;
        std::function<void(const ScreenBox&)> act;
        std::size_t choices; // "choice 2" lines by then
    };
    const std::vector<Way> ways{
        {"Down Down Return", [&](const ScreenBox&) { xdotool("key Down Down Return"); }, 1},
        {"Escape", [&](const ScreenBox&) { xdotool("key Escape"); }, 1},
        {"a click on the last entry",
         [&](const ScreenBox& shown) {
             click(shown.centreX(), shown.bottom - (shown.bottom - shown.top) / 6);
         },
         2},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        // The menu opens below the box, at its left edge.
        ScreenBox shown;
        ASSERT_NO_FATAL_FAILURE(
            pressUntil(menu, [&] { return windowAt(menu.left, menu.bottom, shown); }));
        way.act(shown);
        EXPECT_TRUE(eventually([&] { return !windowAt(menu.left, menu.bottom, shown); }, 10s))
            << "the menu stayed open";
        EXPECT_TRUE(countReaches("choice 2", way.choices)) << output();
    }
    EXPECT_EQ(count("choice"), 2u) << "a cancelled menu reported a choice:\n" << output();
}

const auto crossBuilds = ::testing::Values(WindowsBuild{"VARNEX_WINDOWS_BUILD_I686", "i686"},
                                           WindowsBuild{"VARNEX_WINDOWS_BUILD_X86_64", "x86_64"});
const auto buildName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(CrossBuilds, EditWindowUnderWine, crossBuilds, buildName);
INSTANTIATE_TEST_SUITE_P(CrossBuilds, ToolkitControlsUnderWine, crossBuilds, buildName);

} // namespace
