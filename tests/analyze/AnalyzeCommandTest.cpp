// `varnex analyze` as a user runs it: the figures and the picture it says
// it wrote, Varnex's measured curve against the table of the drawn curve,
// and one `varnex:` line for every mistake.

#include "cli/CurveOption.h"
#include "editor/CurveModel.h"
#include "effect/TransferTable.h"
#include "tests/support/Json.h"
#include "tests/support/PngFile.h"
#include "tests/support/RunCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {

constexpr const char* DemoCurve = "0,0;0.15,0.45;0.4,0.8;0.7,0.95;1,1";

CommandResult runAnalyze(const ScratchFolder& folder, const std::vector<std::string>& arguments) {
    std::string command =
        "cd " + shellQuoted(folder.path()) + " && " + shellQuoted(VARNEX_BINARY) + " analyze";
    for (const std::string& argument : arguments)
        command += " " + shellQuoted(argument);
    return runCommand(command);
}

TEST(AnalyzeCommand, WritesThePictureWithThePrintedSize) {
    ScratchFolder folder;
    const CommandResult run = runAnalyze(folder, {KNOWN_CLIP_PLUGIN, "-o", "r.png"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("latency: 7 samples measured (impulse peak), 7 declared\n"),
              std::string::npos)
        << run.out;
    const std::size_t wrote = run.out.rfind("wrote r.png: ");
    ASSERT_NE(wrote, std::string::npos) << run.out;
    unsigned printedWidth = 0, printedHeight = 0;
    ASSERT_EQ(std::sscanf(run.out.c_str() + wrote, "wrote r.png: the report, %u x %u pixels",
                          &printedWidth, &printedHeight),
              2)
        << run.out;
    const RgbImage written = readRgbPng(folder.file("r.png"));
    EXPECT_EQ(written.width, printedWidth);
    EXPECT_EQ(written.height, printedHeight);
}

// What the editor's curve becomes in the effect: the table built from the
// same points.
class PointsCurve : public CurveSource {
  public:
    explicit PointsCurve(const std::vector<CurvePoint>& points) : model(editorCurveArea()) {
        model.restorePoints(points.data(), static_cast<int>(points.size()));
    }
    void sampleCurve(float* values, std::int32_t count) override {
        model.sampleCurve(values, count);
    }

  private:
    CurveModel model;
};

TEST(AnalyzeCommand, VarnexCurveIsTheTableOfTheDrawnCurve) {
    ScratchFolder folder;
    // The filters' cutoffs at the top, so that the ramp meets the curve alone.
    const CommandResult run =
        runAnalyze(folder, {"--curve-normalized", "--curve", DemoCurve, "--set", "PreFilter=1",
                            "--set", "PostFilter=1", "--json", "-o", "r.png"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json report = parseJson(run.out);
    const Json::Array& input = report["transferCurve"]["input"].array();
    const Json::Array& output = report["transferCurve"]["output"].array();
    ASSERT_EQ(input.size(), output.size());
    ASSERT_FALSE(input.empty());

    PointsCurve curve(parseCurvePoints(DemoCurve, true));
    TransferTable table;
    table.attachCurve(&curve);
    table.publish();
    double worst = 0.0;
    for (std::size_t i = 0; i < input.size(); ++i) {
        const auto x = static_cast<float>(std::clamp(input[i].number(), -1.0, 1.0));
        worst = std::max(worst, std::fabs(output[i].number() - table.shape(x)));
    }
    EXPECT_LT(worst, 5e-4) << "the measured curve strays from the drawn curve's table";
}

TEST(AnalyzeCommand, RefusesMistakesWithOneLine) {
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"--bogus"}, 2, "varnex: analyze: unknown option '--bogus'"},
        {{"-o"}, 2, "varnex: analyze: option -o needs a value"},
        {{"-o", ""}, 2, "varnex: analyze: the output name after -o is empty"},
        {{"a.so", "b.so"}, 2, "varnex: analyze: more than one plug-in given ('a.so', 'b.so')"},
        {{KNOWN_CLIP_PLUGIN, "--curve", "0,0;1,1"}, 2, "varnex: analyze: --curve draws in"},
        {{"--curve-normalized"}, 2, "varnex: analyze: --curve-normalized needs --curve"},
        {{"--save-preset", "x.fxp"}, 2, "varnex: analyze: unknown option '--save-preset'"},
        {{"--set", "NoSuch"}, 2, "varnex: "},
        {{"missing.so"}, 1, "varnex: "},
        {{KNOWN_CLIP_PLUGIN, "-o", "missing/r.png"}, 1, "varnex: cannot write missing/r.png"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const CommandResult run = runAnalyze(folder, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message;
        const std::vector<std::string> lines = splitLines(run.err);
        ASSERT_EQ(lines.size(), 1u) << run.err;
        EXPECT_EQ(lines[0].rfind(c.message, 0), 0u) << lines[0];
        EXPECT_TRUE(std::filesystem::is_empty(folder.path())) << c.message;
    }
}

} // namespace
