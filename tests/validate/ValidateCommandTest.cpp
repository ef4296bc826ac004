// `varnex validate` as a user runs it: the built plug-in passes, each fault
// of the test plug-in is found by its check and cut down to the calls that
// reproduce it, and bad input ends with one clear line.

#include "tests/support/Json.h"
#include "tests/support/RunCommand.h"
#include "tests/support/VirtualDisplay.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

const std::string Fixtures = VALIDATE_FIXTURE_FOLDER;

// A sanitizer would catch the test plug-in's crash itself and exit.
CommandResult validate(const std::string& arguments) {
    return runCommand(shellQuoted(VARNEX_CLI_FILE) + " validate " + arguments,
                      {"ASAN_OPTIONS=handle_segv=0"});
}

std::string fixture(const std::string& fault) {
    return shellQuoted(Fixtures + "/Faulty" + fault + ".so");
}

const Json* findCheck(const Json& report, const std::string& name) {
    for (const Json& check : report["plugins"][0]["checks"].array())
        if (check["name"].text() == name)
            return &check;
    return nullptr;
}

TEST(Validate, BuiltPluginPasses) {
    CommandResult result = validate(shellQuoted(VARNEX_PLUGIN_FILE) + " --level 10 --seed 7");
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find(" passed, 0 failed"), std::string::npos) << result.out;
}

TEST(Validate, HealthyTestPluginPasses) {
    CommandResult result = validate(fixture("NONE") + " --level 3");
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find(" passed, 0 failed"), std::string::npos) << result.out;
}

struct Fault {
    const char* plugin;
    const char* check;
    const char* found;        // in what the failing check found
    const char* lastCall;     // the call the reproduction ends with
    std::size_t longestRepro; // calls in the reproduction, at most
};

void PrintTo(const Fault& fault, std::ostream* out) {
    *out << fault.plugin;
}

class FaultIsFound : public testing::TestWithParam<Fault> {};

TEST_P(FaultIsFound, FailsItsCheckWithAShortReproduction) {
    const Fault& fault = GetParam();
#if defined(VARNEX_SANITIZED)
    if (std::string(fault.plugin) == "Allocates")
        GTEST_SKIP() << "sanitizer builds do not count allocations";
#endif
    const std::string plugin = fault.plugin;
    const std::string options = plugin.substr(plugin.find(' ') + 1);
    CommandResult result = validate(fixture(plugin.substr(0, plugin.find(' '))) +
                                    " --level 2 --json " + (options == plugin ? "" : options));
    ASSERT_EQ(result.exitCode, 1) << result.out << result.err;
    Json report = parseJson(result.out);
    const Json* check = findCheck(report, fault.check);
    ASSERT_NE(check, nullptr) << result.out;
    EXPECT_EQ((*check)["result"].text(), "FAIL");
    EXPECT_NE((*check)["found"].text().find(fault.found), std::string::npos)
        << (*check)["found"].text();
    const Json::Array& calls = (*check)["reproduction"].array();
    // The first line says how the fresh instance is set up.
    ASSERT_GE(calls.size(), 2u);
    EXPECT_LE(calls.size() - 1, fault.longestRepro) << result.out;
    EXPECT_NE(calls.back().text().find(fault.lastCall), std::string::npos) << result.out;
    EXPECT_EQ(report["failed"].number(), 1.0) << "only the fault's own check fails\n" << result.out;
}

INSTANTIATE_TEST_SUITE_P(
    ValidateFaults, FaultIsFound,
    testing::Values(
        // Selecting program 1, then idle: nothing else is needed.
        Fault{"CrashOnIdle", "dispatcher-fuzz", "crashed with SIGSEGV", "opcode 53", 2},
        // Four seconds for each check, one for each try while the hang is cut down.
        Fault{"HangsOnIdle --time-limit 4", "dispatcher-fuzz", "did not end within 4 s",
              "opcode 53", 2},
        Fault{"Allocates", "realtime-safety", "allocator calls", "process", 1},
        Fault{"NanSticks", "audio-extreme-input", "non-finite output", "noise", 2},
        Fault{"HalfLoads", "state-fuzz", "refused chunk changed the state", "xor", 1},
        // Open, idle, close: the close crashes.
        Fault{"CrashOnEditorClose", "editor", "crashed with SIGSEGV", "opcode 15", 3}),
    [](const testing::TestParamInfo<Fault>& info) {
        std::string plugin = info.param.plugin;
        return plugin.substr(0, plugin.find(' '));
    });

// The built plug-in's editor with no display at all, where it opens with
// no parent, and in a window on a display of the test's own.
TEST(Validate, EditorCheckPassesWithAndWithoutADisplay) {
    VirtualDisplay display;
    for (const bool onDisplay : {false, true}) {
        SCOPED_TRACE(onDisplay ? "on a display" : "no display");
        if (onDisplay && !display.available())
            GTEST_SKIP() << display.whyUnavailable();
        const std::string command = shellQuoted(VARNEX_CLI_FILE) + " validate " +
                                    shellQuoted(VARNEX_PLUGIN_FILE) + " --level 1 --json";
        CommandResult result = onDisplay ? runCommand(command, {"DISPLAY=" + display.displayName()})
                                         : runCommand("env -u DISPLAY " + command);
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
        const Json report = parseJson(result.out);
        const Json* check = findCheck(report, "editor");
        ASSERT_NE(check, nullptr) << result.out;
        EXPECT_EQ((*check)["result"].text(), "PASS");
        const std::string found = (*check)["found"].text();
        EXPECT_NE(found.find(onDisplay ? "in a host window" : "with no parent"), std::string::npos)
            << found;
    }
}

TEST(Validate, TextReportEndsWithTheTally) {
    CommandResult result = validate(fixture("CrashOnIdle") + " --level 1");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("\nFAIL dispatcher-fuzz: crashed with SIGSEGV"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("\n    1. dispatch(opcode 2, index "), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(" passed, 1 failed"), std::string::npos) << result.out;
}

struct BadInput {
    const char* name;
    const char* arguments;
    const char* message;
    int status; // 2 for a usage mistake
};

void PrintTo(const BadInput& input, std::ostream* out) {
    *out << input.arguments;
}

class BadInputIsRefused : public testing::TestWithParam<BadInput> {};

TEST_P(BadInputIsRefused, WithOneLineAndItsStatus) {
    CommandResult result = validate(GetParam().arguments);
    EXPECT_EQ(result.exitCode, GetParam().status);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("varnex: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(GetParam().message), std::string::npos) << result.err;
    EXPECT_EQ(splitLines(result.err).size(), 1u) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    ValidateArguments, BadInputIsRefused,
    testing::Values(BadInput{"LevelOutOfRange", "--level 0", "--level must be", 2},
                    BadInput{"JobsNotANumber", "--jobs x", "--jobs must be", 2},
                    BadInput{"UnknownOption", "--fast", "unknown option '--fast'", 2},
                    BadInput{"MissingPlugin", "/nonexistent/Plugin.so", "no such file", 1}),
    [](const testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

} // namespace
