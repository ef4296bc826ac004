// Options of `varnex render` and `varnex bench`, and parameter lookup by name.

#include "RenderTestSupport.h"

#include "cli/BenchCommand.h"
#include "cli/CommandError.h"
#include "cli/ParameterSettings.h"
#include "cli/PluginHost.h"
#include "cli/RenderOptions.h"
#include "host/EffectBase.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

TEST(ParameterSettingText, AcceptsNamesWithSpacesAndValuesAcrossTheRange) {
    ParameterSetting setting = parseParameterSetting("PreGain=0.9");
    EXPECT_EQ(setting.name, "PreGain");
    EXPECT_FLOAT_EQ(setting.value, 0.9f);
    EXPECT_EQ(parseParameterSetting("Output Trim=1").name, "Output Trim");
    EXPECT_EQ(parseParameterSetting("DryWet=0").value, 0.0f);
    EXPECT_EQ(parseParameterSetting("DryWet=1").value, 1.0f);
    EXPECT_FLOAT_EQ(parseParameterSetting("DryWet=.25").value, 0.25f);
    EXPECT_FLOAT_EQ(parseParameterSetting("DryWet=5e-1").value, 0.5f);
    // The value is what follows the last '='.
    EXPECT_EQ(parseParameterSetting("a=b=0.5").name, "a=b");
}

TEST(ParameterSettingText, RejectsMissingPartsAndValuesThatAreNotInTheUnitRange) {
    for (const char* text : {"PreGain", "=0.5", "PreGain=", "PreGain=abc", "PreGain=0.5x",
                             "PreGain= 0.5", "PreGain=nan", "PreGain=inf", "PreGain=-0.1",
                             "PreGain=1.0001", "PreGain=2", "PreGain=1e9"})
        EXPECT_THROW(parseParameterSetting(text), UsageError) << text;
}

TEST(ParameterSettingText, ErrorNamesTheParameterAndTheValue) {
    try {
        parseParameterSetting("PreGain=1.5");
        FAIL() << "accepted a value above 1";
    } catch (const UsageError& error) {
        std::string message = error.what();
        EXPECT_NE(message.find("PreGain"), std::string::npos) << message;
        EXPECT_NE(message.find("1.5"), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
}

TEST(BlockSizeText, AcceptsOneToTheLargestBlock) {
    EXPECT_EQ(parseBlockSize("1"), 1);
    EXPECT_EQ(parseBlockSize("7"), 7);
    EXPECT_EQ(parseBlockSize("4096"), 4096);
    EXPECT_EQ(parseBlockSize(std::to_string(MaxBlockSize)), MaxBlockSize);
}

TEST(BlockSizeText, RejectsZeroNegativeFractionalTextAndAbsurdSizes) {
    for (const char* text : {"0", "-1", "-4096", "1.5", "abc", "", "12abc", " 12", "+12", "65537",
                             "99999999999", "999999999999999999999999"})
        EXPECT_THROW(parseBlockSize(text), UsageError) << text;
}

TEST(ProgramNumberText, AcceptsWholeNumbersAndRejectsTheRest) {
    EXPECT_EQ(parseProgramNumber("0"), 0);
    EXPECT_EQ(parseProgramNumber("15"), 15);
    for (const char* text : {"-1", "x", "", "1.0", "99999999999"})
        EXPECT_THROW(parseProgramNumber(text), UsageError) << text;
}

TEST(ParameterLookup, FindsExactNamesFirstThenIgnoresCase) {
    const std::vector<std::string> names = {"Shaper",     "PreGain",   "PreFilter",  "PostGain",
                                            "PostFilter", "PreSwitch", "PostSwitch", "DryWet"};
    EXPECT_EQ(findParameterIndex(names, "Shaper"), 0);
    EXPECT_EQ(findParameterIndex(names, "PreGain"), 1);
    EXPECT_EQ(findParameterIndex(names, "DryWet"), 7);
    EXPECT_EQ(findParameterIndex(names, "drywet"), 7);
    EXPECT_EQ(findParameterIndex(names, "POSTFILTER"), 4);

    const std::vector<std::string> caseTwins = {"gain", "Gain"};
    EXPECT_EQ(findParameterIndex(caseTwins, "Gain"), 1);
    EXPECT_THROW(findParameterIndex(caseTwins, "GAIN"), CommandError);
}

TEST(ParameterLookup, UnknownNameErrorListsTheParametersThereAre) {
    const std::vector<std::string> names = {"Gain", "Output Trim"};
    try {
        findParameterIndex(names, "PreGian");
        FAIL() << "found a parameter that does not exist";
    } catch (const CommandError& error) {
        std::string message = error.what();
        EXPECT_NE(message.find("'PreGian'"), std::string::npos) << message;
        EXPECT_NE(message.find("'Output Trim'"), std::string::npos) << message;
    }
    EXPECT_THROW(findParameterIndex({}, "Gain"), CommandError);
    EXPECT_THROW(findParameterIndex(names, ""), CommandError);
}

TEST(ParameterLookup, ReadsTheNamesOfALoadedPlugin) {
    PluginHost host(RENDER_PROBE_PLUGIN);
    EXPECT_EQ(parameterNames(host), (std::vector<std::string>{"Gain", "Output Trim"}));
    applyParameterSettings(host, {{"gain", 0.25f}, {"Output Trim", 0.75f}, {"Gain", 0.125f}});
    EXPECT_EQ(host.parameterValue(0), 0.125f); // the later setting wins
    EXPECT_EQ(host.parameterValue(1), 0.75f);
    EXPECT_THROW(applyParameterSettings(host, {{"Volume", 0.5f}}), CommandError);
}

TEST(PluginHostSetup, AnnouncesTheChosenRateAndBlockSizeOrTheDefaults) {
    PluginHost chosen(RENDER_PROBE_PLUGIN, 22050.0f, 64);
    EXPECT_EQ(chosen.sampleRate(), 22050.0f);
    EXPECT_EQ(chosen.blockSize(), 64);
    EXPECT_EQ(chosen.dispatchText(OpGetParameterText, 0), "22050/64");
    PluginHost defaults(RENDER_PROBE_PLUGIN);
    EXPECT_EQ(defaults.dispatchText(OpGetParameterText, 0), "44100/1024");
}

TEST(ProgramSelection, SelectsExistingProgramsOnly) {
    PluginHost host(RENDER_PROBE_PLUGIN);
    selectProgram(host, 3);
    EXPECT_EQ(host.dispatch(OpGetProgram), 3);
    EXPECT_THROW(selectProgram(host, 4), CommandError);
    EXPECT_THROW(selectProgram(host, -1), CommandError);
    EXPECT_EQ(host.dispatch(OpGetProgram), 3);
}

TEST(RenderArguments, DefaultsRenderTheDemoThroughTheBuiltPlugin) {
    RenderOptions options = parseRenderArguments({});
    EXPECT_TRUE(options.inputPath.empty());
    EXPECT_TRUE(options.outputPath.empty());
    EXPECT_TRUE(options.pluginPath.empty());
    EXPECT_EQ(options.settings.blockSize, DefaultRenderBlockSize);
    EXPECT_FALSE(options.settings.adding);
    EXPECT_FALSE(options.settings.program.has_value());
}

TEST(RenderArguments, ReadsEveryOptionInAnyOrder) {
    RenderOptions options = parseRenderArguments({"--set", "PreGain=0.9", "in.wav", "--block", "7",
                                                  "-o", "out.wav", "--plugin", "p.so", "--program",
                                                  "3", "--adding", "--set", "PostFilter=0.3"});
    EXPECT_EQ(options.inputPath, "in.wav");
    EXPECT_EQ(options.outputPath, "out.wav");
    EXPECT_EQ(options.pluginPath, "p.so");
    EXPECT_EQ(options.settings.blockSize, 7);
    EXPECT_EQ(options.settings.program, 3);
    EXPECT_TRUE(options.settings.adding);
    ASSERT_EQ(options.settings.parameters.size(), 2u);
    EXPECT_EQ(options.settings.parameters[1].name, "PostFilter");
}

TEST(RenderArguments, RejectsWhatCannotBeUsed) {
    const std::vector<Arguments> bad = {
        {"-o"},
        {"--plugin"},
        {"--set"},
        {"--block"},
        {"--program"},
        {"a.wav", "b.wav"},
        {"--frobnicate"},
        {"-x"},
        {"-o", ""},
        {"--plugin", ""},
        {"--block", "0"},
        {"--block", "-3"},
        {"--block", "x"},
        {"--set", "Gain"},
        {"--set", "Gain=2"},
        {"--program", "-1"},
        {"--set", "--adding"},
    };
    for (const Arguments& arguments : bad) {
        std::string joined;
        for (const std::string& argument : arguments)
            joined += "[" + argument + "]";
        EXPECT_THROW(parseRenderArguments(arguments), UsageError) << joined;
    }
}

TEST(RenderPaths, DefaultOutputSitsBesideTheInputWithASuffix) {
    EXPECT_EQ(defaultOutputPath("take.wav"), "take-varnex.wav");
    EXPECT_EQ(defaultOutputPath("music/take.flac"), "music/take-varnex.wav");
    EXPECT_EQ(defaultOutputPath("/tmp/a.b.aiff"), "/tmp/a.b-varnex.wav");
    EXPECT_FALSE(sameFile("take.wav", defaultOutputPath("take.wav")));
}

TEST(RenderPaths, SameFileSeesThroughSpellingsAndLinks) {
    ScratchFolder folder;
    std::ofstream(folder.file("in.wav")) << "x";
    std::filesystem::create_symlink(folder.file("in.wav"), folder.file("link.wav"));
    EXPECT_TRUE(sameFile(folder.file("in.wav"), folder.path() + "/./in.wav"));
    EXPECT_TRUE(sameFile(folder.file("in.wav"), folder.file("link.wav")));
    EXPECT_FALSE(sameFile(folder.file("in.wav"), folder.file("other.wav")));
    // Neither exists yet.
    EXPECT_TRUE(sameFile(folder.file("new.wav"), folder.path() + "/sub/../new.wav"));
}

TEST(BenchArguments, DefaultsAndOptions) {
    BenchOptions defaults = parseBenchArguments({});
    EXPECT_TRUE(defaults.pluginPaths.empty());
    EXPECT_EQ(defaults.plan.blockSizes, (std::vector<std::int32_t>{32, 512, 4096}));

    BenchOptions options =
        parseBenchArguments({"a.so", "--block", "64", "b.so", "--seconds", "0.25", "--block", "7"});
    EXPECT_EQ(options.pluginPaths, (std::vector<std::string>{"a.so", "b.so"}));
    EXPECT_EQ(options.plan.blockSizes, (std::vector<std::int32_t>{64, 7}));
    EXPECT_DOUBLE_EQ(options.plan.secondsPerMeasurement, 0.25);
}

TEST(BenchArguments, RejectsBadValuesAndUnknownOptions) {
    const std::vector<Arguments> bad = {
        {"--block"},
        {"--seconds"},
        {"--block", "0"},
        {"--block", "100000"},
        {"--seconds", "0"},
        {"--seconds", "-1"},
        {"--seconds", "x"},
        {"--seconds", "1000"},
        {"--seconds", "nan"},
        {"--json"},
        {""},
    };
    for (const Arguments& arguments : bad)
        EXPECT_THROW(parseBenchArguments(arguments), UsageError) << arguments.front();
}

} // namespace
