// `varnex edit` and `varnex bench --editor` refusing what they cannot do
// before any window opens, and `varnex` alone showing how to use it.

#include "tests/support/RunCommand.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CommandResult varnexWithoutDisplay(const std::string& arguments) {
    // No display at all: nothing these cases do may need one.
    return runCommand("unset DISPLAY; " + shellQuoted(VARNEX_CLI_FILE) + " " + arguments);
}

struct RefusedCase {
    const char* name;
    std::string arguments;
    int exitCode;
    const char* phrase; // what the one error line must mention
};

void PrintTo(const RefusedCase& refused, std::ostream* out) {
    *out << refused.name;
}

class EditorCommandRefuses : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(EditorCommandRefuses, WithOneLineOnStandardError) {
    const RefusedCase& refused = GetParam();
    CommandResult result = varnexWithoutDisplay(refused.arguments);
    EXPECT_EQ(result.exitCode, refused.exitCode) << result.err;
    EXPECT_EQ(result.out, "");
    const std::vector<std::string> lines = splitLines(result.err);
    ASSERT_EQ(lines.size(), 1u) << result.err;
    EXPECT_EQ(lines[0].rfind("varnex: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(refused.phrase), std::string::npos) << lines[0];
}

const std::string ProbePlugin = shellQuoted(RENDER_PROBE_PLUGIN);

INSTANTIATE_TEST_SUITE_P(
    BadInput, EditorCommandRefuses,
    ::testing::Values(
        RefusedCase{"EditUnknownOption", "edit --verbose", 2, "unknown option '--verbose'"},
        RefusedCase{"EditStrayArgument", "edit Varnex.so", 2, "unexpected argument"},
        RefusedCase{"EditMissingValue", "edit --set", 2, "needs a value"},
        RefusedCase{"EditValueOutOfRange", "edit --set PreGain=2", 2, "outside [0, 1]"},
        RefusedCase{"EditBadProgram", "edit --program x", 2, "not a whole number"},
        RefusedCase{"EditNormalizedWithoutCurve", "edit --curve-normalized", 2, "needs --curve"},
        RefusedCase{"EditCurveNotAtEdges", "edit --curve '20,20;255,11'", 2, "must start at x"},
        RefusedCase{"EditMissingPlugin", "edit --plugin /nonexistent/Nothing.so", 1,
                    "no such file"},
        RefusedCase{"EditPluginWithoutEditor", "edit --plugin " + ProbePlugin, 1, "has no editor"},
        RefusedCase{"EditCurveOnAnotherPlugin",
                    "edit --plugin " + ProbePlugin + " --curve '11,255;255,11'", 1,
                    "another plug-in"},
        RefusedCase{"EditUnknownParameter", "edit --set Loudness=0.5", 1, "no parameter"},
        RefusedCase{"EditScreenshotIntoNoFolder", "edit --screenshot /nonexistent/editor.png", 1,
                    "no folder /nonexistent"},
        RefusedCase{"BenchZeroCycles", "bench --editor --cycles 0", 2, "outside 1 to"},
        RefusedCase{"BenchCyclesNotANumber", "bench --editor --cycles many", 2,
                    "not a whole number"},
        RefusedCase{"BenchCyclesWithoutEditor", "bench --cycles 5", 2, "goes with --editor"},
        RefusedCase{"BenchTwoPlugins", "bench --editor a.so b.so", 2, "one plug-in"},
        RefusedCase{"BenchBlockWithEditor", "bench --editor --block 32", 2,
                    "does not go with --editor"},
        RefusedCase{"BenchPluginWithoutEditor", "bench --editor " + ProbePlugin, 1,
                    "has no editor"},
        RefusedCase{"EditWithoutDisplay", "edit", 1, "DISPLAY is not set"},
        RefusedCase{"BenchWithoutDisplay", "bench --editor --cycles 1", 1, "DISPLAY is not set"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VarnexWithoutCommand, PrintsTheUsageAndFails) {
    CommandResult alone = varnexWithoutDisplay("");
    CommandResult help = varnexWithoutDisplay("help");
    EXPECT_EQ(alone.exitCode, 2);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(alone.out, help.out);
    EXPECT_NE(alone.out.find("varnex edit "), std::string::npos) << alone.out;
    EXPECT_EQ(alone.err, "");
}

} // namespace
