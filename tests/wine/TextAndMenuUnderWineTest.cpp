// The Win32 backend's edit window, keyboard focus and popup menu in real
// windows: text_and_menu_probe.exe of each Windows build under wine's X11
// driver, typed at and clicked with xdotool, tells what reached its
// procedures.

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
};

class TextAndMenuUnderWine : public ::testing::TestWithParam<WindowsBuild> {
  protected:
    void SetUp() override {
        const char* folder = std::getenv(GetParam().variable);
        if (!folder || !*folder)
            GTEST_SKIP() << GetParam().variable << " is not set: no Windows build to run";
        if (!WineDesktop::shared().available())
            GTEST_SKIP() << WineDesktop::shared().whyUnavailable();
        probe = std::make_unique<WineProgram>(
            folder, std::vector<std::string>{"text_and_menu_probe.exe"}, scratch.path());
        const bool started = eventually(
            [&] { return count("ready") > 0 || count("error") > 0 || probe->hasEnded(); }, 60s);
        ASSERT_TRUE(started && count("ready") == 1) << "the probe did not start:\n" << output();
        edit = box("edit");
        frame = box("frame");
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

    ScreenBox box(const std::string& name) const {
        const std::regex pattern("^" + name + R"( (-?\d+) (-?\d+) (-?\d+) (-?\d+)$)");
        std::smatch found;
        for (const std::string& line : probe->lines())
            if (std::regex_match(line, found, pattern))
                return {std::stoi(found[1]), std::stoi(found[2]), std::stoi(found[3]),
                        std::stoi(found[4])};
        ADD_FAILURE() << "no " << name << " rectangle:\n" << output();
        return {};
    }

    std::string xdotool(const std::string& arguments) {
        const CommandResult result = runCommand("xdotool " + arguments);
        EXPECT_EQ(result.exitCode, 0) << "xdotool " << arguments << "\n" << result.err;
        return result.out;
    }

    void click(int x, int y, int button) {
        xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " +
                std::to_string(button));
    }

    // Right-presses the frame and waits until the menu waits for the user.
    void openMenu() {
        const std::size_t shown = count("menu idle");
        click(frame.left + 200, frame.top + 120, 3);
        ASSERT_TRUE(countReaches("menu idle", shown + 1)) << "no menu:\n" << output();
    }

    // The shown menu's window: the probe's X window whose corner is where
    // the probe last opened the menu.
    ScreenBox menuOnScreen() {
        static const std::regex opened(R"(^menu at (-?\d+) (-?\d+)$)");
        static const std::regex geometry(R"(X=(-?\d+)\s+Y=(-?\d+)\s+WIDTH=(\d+)\s+HEIGHT=(\d+))");
        std::string corner;
        for (const std::string& line : probe->lines())
            if (std::regex_match(line, opened))
                corner = line.substr(8);
        const std::string windows =
            xdotool("search --onlyvisible --classname text_and_menu_probe.exe");
        for (const std::string& id : splitLines(windows)) {
            std::smatch found;
            const std::string shell = id.empty() ? "" : xdotool("getwindowgeometry --shell " + id);
            if (!std::regex_search(shell, found, geometry) ||
                found[1].str() + " " + found[2].str() != corner)
                continue;
            const int left = std::stoi(found[1]);
            const int top = std::stoi(found[2]);
            return {left, top, left + std::stoi(found[3]), top + std::stoi(found[4])};
        }
        ADD_FAILURE() << "no menu window at " << corner << " among\n" << windows;
        return {};
    }

    ScratchFolder scratch;
    std::unique_ptr<WineProgram> probe;
    ScreenBox edit;
    ScreenBox frame;
};

TEST_P(TextAndMenuUnderWine, TypedTextAndReturnReachTheReplacementProcedure) {
    click((edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2, 1);
    xdotool("type --delay 30 abc");
    xdotool("key Return");
    ASSERT_TRUE(countReaches("text ", 1)) << output();
    EXPECT_EQ(count("key return"), 1u) << output();
    EXPECT_EQ(count("text abc"), 1u) << output();
}

TEST_P(TextAndMenuUnderWine, PressOutsideTheEditTakesItsFocus) {
    EXPECT_EQ(count("killfocus"), 0u) << output();
    click(frame.left + 250, frame.bottom - 20, 1);
    EXPECT_TRUE(countReaches("killfocus", 1)) << output();
}

// Each way of closing the popup menu ("a", a separator, "b"), one after
// another in the same program.
TEST_P(TextAndMenuUnderWine, PopupMenuChoosesOrCancels) {
    struct Way {
        const char* what;
        std::function<void()> act;
        const char* expected;
    };
    const std::vector<Way> ways{
        {"Down Down Return", [&] { xdotool("key Down Down Return"); }, "command 2"},
        {"Escape", [&] { xdotool("key Escape"); }, "menu cancelled"},
        {"a click on the last entry",
         [&] {
             const ScreenBox menu = menuOnScreen();
             const int height = menu.bottom - menu.top;
             click((menu.left + menu.right) / 2, menu.bottom - height / 6, 1);
         },
         "command 2"},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        const std::size_t before = count(way.expected);
        ASSERT_NO_FATAL_FAILURE(openMenu());
        way.act();
        EXPECT_TRUE(countReaches(way.expected, before + 1)) << output();
        // The menu is closed either way before the next one opens.
        ASSERT_TRUE(eventually(
            [&] { return count("command") + count("menu cancelled") >= count("menu idle"); }, 10s))
            << output();
    }
}

INSTANTIATE_TEST_SUITE_P(CrossBuilds, TextAndMenuUnderWine,
                         ::testing::Values(WindowsBuild{"VARNEX_WINDOWS_BUILD_I686", "i686"},
                                           WindowsBuild{"VARNEX_WINDOWS_BUILD_X86_64", "x86_64"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
