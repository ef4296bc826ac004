// `varnex info` run as a program: on the built plug-in, on a peer plug-in
// from a Debian package, on a foreign plug-in with awkward texts, and on
// inputs that must fail with one clear line.

#include "cli/PluginInfo.h"
#include "tests/plugin/ExpectedPlugin.h"
#include "tests/support/Json.h"
#include "tests/support/RunCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const std::string Fixtures = VARNEX_FIXTURE_FOLDER;
constexpr const char* PeerPlugin = "/usr/lib/vst/ZamTube-vst.so";

CommandResult varnex(const std::string& arguments,
                     const std::vector<std::string>& environment = {}) {
    return runCommand(shellQuoted(VARNEX_CLI_FILE) + " " + arguments, environment);
}

std::string quotedPlugin() {
    return shellQuoted(VARNEX_PLUGIN_FILE);
}

// The value after "Label:" in the text report.
std::string reportValue(const std::string& report, const std::string& label) {
    for (const std::string& line : splitLines(report))
        if (line.rfind(label + ":", 0) == 0)
            return line.substr(line.find_first_not_of(' ', label.size() + 1));
    return "(no " + label + " line)";
}

TEST(InfoOnBuiltPlugin, TextReportShowsTheRecord) {
    CommandResult result = varnex("info " + quotedPlugin());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string& report = result.out;
    EXPECT_EQ(reportValue(report, "Record"), "192 bytes (64-bit layout)");
    EXPECT_EQ(reportValue(report, "Magic"), "0x56737450 'VstP'");
    EXPECT_EQ(reportValue(report, "Unique id"),
              "'" + std::string(expected::UniqueIdText) + "' " + hexText(expected::UniqueId));
    EXPECT_EQ(reportValue(report, "Version"), std::to_string(expected::Version));
    EXPECT_EQ(reportValue(report, "Interface version"), std::to_string(expected::InterfaceVersion));
    EXPECT_EQ(reportValue(report, "Programs"), std::to_string(expected::ProgramCount));
    EXPECT_EQ(reportValue(report, "Parameters"), std::to_string(expected::ParameterCount));
    EXPECT_EQ(reportValue(report, "Inputs"), std::to_string(expected::InputCount));
    EXPECT_EQ(reportValue(report, "Outputs"), std::to_string(expected::OutputCount));
    EXPECT_EQ(reportValue(report, "Flags").substr(0, 10), hexText(expected::Flags));
    EXPECT_EQ(reportValue(report, "Initial delay"), "0 samples");
}

TEST(InfoOnBuiltPlugin, DefaultsToThePluginBesideTheProgram) {
    ASSERT_EQ(std::filesystem::path(VARNEX_CLI_FILE).parent_path(),
              std::filesystem::path(VARNEX_PLUGIN_FILE).parent_path())
        << "the build must put the plug-in beside varnex";
    CommandResult implicit = varnex("info");
    CommandResult explicitPath = varnex("info " + quotedPlugin());
    ASSERT_EQ(implicit.exitCode, 0) << implicit.err;
    EXPECT_EQ(implicit.out, explicitPath.out);
}

TEST(InfoOnBuiltPlugin, JsonReportHoldsEveryParameterAndProgram) {
    CommandResult result = varnex("info --json " + quotedPlugin());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Json info = parseJson(result.out);
    EXPECT_EQ(info["magic"].text(), "0x56737450");
    EXPECT_EQ(info["uniqueId"].text(), expected::UniqueIdText);
    EXPECT_EQ(info["uniqueIdHex"].text(), hexText(expected::UniqueId));
    EXPECT_EQ(info["version"].number(), expected::Version);
    EXPECT_EQ(info["interfaceVersion"].number(), expected::InterfaceVersion);
    EXPECT_EQ(info["inputCount"].number(), expected::InputCount);
    EXPECT_EQ(info["outputCount"].number(), expected::OutputCount);
    EXPECT_EQ(info["flags"].text(), hexText(expected::Flags));
    EXPECT_EQ(info["flagNames"].array().size(), flagNames(expected::Flags).size());
    EXPECT_EQ(info["recordSize"].number(), 192);
    EXPECT_EQ(info["pointerBits"].number(), 64);

    const Json::Array& parameters = info["parameters"].array();
    ASSERT_EQ(parameters.size(), static_cast<std::size_t>(expected::ParameterCount));
    for (std::size_t index = 0; index < parameters.size(); ++index) {
        EXPECT_EQ(parameters[index]["index"].number(), static_cast<double>(index));
        EXPECT_GE(parameters[index]["value"].number(), 0.0);
        EXPECT_LE(parameters[index]["value"].number(), 1.0);
    }
    const Json::Array& programs = info["programs"].array();
    ASSERT_EQ(programs.size(), static_cast<std::size_t>(expected::ProgramCount));
    EXPECT_EQ(programs.back()["index"].number(), expected::ProgramCount - 1);
}

class InfoOnPeerPlugin : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(PeerPlugin))
            GTEST_SKIP() << PeerPlugin << " is missing (Debian package zam-plugins)";
    }
    // The peer plug-in's own leaks are not this program's to report.
    CommandResult run(const std::string& options) {
        return varnex("info " + options + shellQuoted(PeerPlugin), {"ASAN_OPTIONS=detect_leaks=0"});
    }
};

TEST_F(InfoOnPeerPlugin, TextReportShowsItsIdentityAndParameters) {
    CommandResult result = run("");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(reportValue(result.out, "Magic"), "0x56737450 'VstP'");
    EXPECT_EQ(reportValue(result.out, "Unique id"), "'ZTUB' 0x5A545542");
    EXPECT_NE(result.out.find("Tube Drive"), std::string::npos) << result.out;
}

TEST_F(InfoOnPeerPlugin, JsonReportAgreesWithTheRecordCounts) {
    CommandResult result = run("--json ");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Json info = parseJson(result.out);
    EXPECT_EQ(info["uniqueId"].text(), "ZTUB");
    EXPECT_EQ(info["parameters"].array().size(),
              static_cast<std::size_t>(info["parameterCount"].number()));
    EXPECT_EQ(info["programs"].array().size(),
              static_cast<std::size_t>(info["programCount"].number()));
    EXPECT_EQ(info["parameters"][0]["name"].text(), "Tube Drive");
}

// A plug-in that no one here wrote and whose texts are awkward: the report
// stays well-formed and the instance is driven like a host drives it.
TEST(InfoOnForeignPlugin, AwkwardTextsStayWellFormedAndBounded) {
    CommandResult result = varnex("info --json " + shellQuoted(Fixtures + "/OddTexts.so"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Json info = parseJson(result.out);
    EXPECT_EQ(info["uniqueId"].text(), "Odd.");
    EXPECT_EQ(info["flagNames"].array().size(), 2u);
    EXPECT_EQ(info["flagNames"][1].text(), "0x1000");
    EXPECT_EQ(info["initialDelay"].number(), 64);

    const Json& parameters = info["parameters"];
    EXPECT_EQ(parameters[0]["name"].text(), "Line\nBreak");
    EXPECT_TRUE(parameters[0]["value"].isNull()) << "a value that is not a number";
    EXPECT_EQ(parameters[1]["name"].text(), "Back\\slash");
    EXPECT_EQ(parameters[1]["display"].text(), std::string(1023, 'x'));
    EXPECT_EQ(parameters[1]["value"].number(), 0.25);
    EXPECT_EQ(parameters[2]["unit"].text(), "\xC2\xB5s");
    EXPECT_EQ(info["programs"][0]["name"].text(), "First \"quoted\"");
    EXPECT_EQ(info["programs"][1]["name"].text(), "Caf\xC3\xA9");
}

TEST(InfoOnForeignPlugin, TextReportKeepsOneLinePerParameter) {
    CommandResult result = varnex("info " + shellQuoted(Fixtures + "/OddTexts.so"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("Line?Break"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("  0  Line?Break"), std::string::npos) << result.out;
    EXPECT_EQ(reportValue(result.out, "Flags"), "0x00001010 (CanOverwrite | 0x1000)");
}

TEST(InfoOnForeignPlugin, OpensFirstRestoresTheProgramAndClosesLast) {
    ScratchFolder scratch;
    std::string tracePath = scratch.file("trace");
    CommandResult result = varnex("info " + shellQuoted(Fixtures + "/OddTexts.so"),
                                  {"VARNEX_FIXTURE_TRACE=" + tracePath});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::vector<std::string> calls = splitLines(readFile(tracePath));
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front(), "0 0") << "open comes first";
    EXPECT_EQ(calls[calls.size() - 2], "2 0") << "the program current before is selected again";
    EXPECT_EQ(calls.back(), "1 0") << "close comes last";
}

struct FailingCase {
    const char* name;
    std::string arguments;
    int exitCode;
    const char* phrase; // what the one error line must mention
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FailingCase& failing, std::ostream* out) {
    *out << failing.name;
}

class InfoFails : public ::testing::TestWithParam<FailingCase> {};

TEST_P(InfoFails, WithOneClearLineOnStandardError) {
    const FailingCase& failing = GetParam();
    CommandResult result = varnex(failing.arguments);
    EXPECT_EQ(result.exitCode, failing.exitCode) << result.err;
    EXPECT_EQ(result.out, "");
    std::vector<std::string> lines = splitLines(result.err);
    ASSERT_EQ(lines.size(), 1u) << result.err;
    EXPECT_EQ(lines[0].rfind("varnex: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(failing.phrase), std::string::npos) << lines[0];
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, InfoFails,
    ::testing::Values(
        FailingCase{"MissingFile", "info /nonexistent/Nothing.so", 1, "no such file"},
        FailingCase{"Folder", "info " + shellQuoted(Fixtures), 1, "folder"},
        FailingCase{"NotALibrary", "info " + shellQuoted(Fixtures + "/NotALibrary.so"), 1,
                    "cannot load"},
        FailingCase{"NoMain", "info " + shellQuoted(Fixtures + "/NoMain.so"), 1,
                    "exports no function 'main'"},
        FailingCase{"MainReturnsNull", "info " + shellQuoted(Fixtures + "/NullMain.so"), 1,
                    "returned null"},
        FailingCase{"WrongMagic", "info " + shellQuoted(Fixtures + "/WrongMagic.so"), 1,
                    "wrong magic 0x12345678"},
        FailingCase{"NoDispatcher", "info " + shellQuoted(Fixtures + "/NoDispatcher.so"), 1,
                    "without a dispatcher"},
        FailingCase{"UnknownOption", "info --verbose", 2, "unknown option '--verbose'"},
        FailingCase{"TwoPlugins", "info a.so b.so", 2, "more than one plug-in"},
        FailingCase{"UnknownCommand", "frobnicate", 2, "unknown command 'frobnicate'"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
