// `varnex validate` on plug-ins that this project did not write: one from
// each of three Debian packages. Whatever they pass or fail, the validator
// itself must finish each run with its report and tally.

#include "tests/support/Json.h"
#include "tests/support/RunCommand.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>

namespace {

class PeerIsValidated : public testing::TestWithParam<const char*> {};

TEST_P(PeerIsValidated, TheValidatorReportsEveryCheck) {
#if defined(VARNEX_SANITIZED)
    GTEST_SKIP() << "foreign plug-ins are validated in the plain build";
#endif
    const std::string plugin = GetParam();
    if (!std::filesystem::exists(plugin))
        GTEST_SKIP() << plugin << " is not installed";
    const CommandResult result =
        runCommand(shellQuoted(VARNEX_CLI_FILE) + " validate " + shellQuoted(plugin) +
                   " --level 3 --jobs 2 --time-limit 30 --json");
    ASSERT_TRUE(result.exitCode == 0 || result.exitCode == 1) << result.out << result.err;
    const Json report = parseJson(result.out);
    const Json::Array& checks = report["plugins"][0]["checks"].array();
    EXPECT_GE(checks.size(), 15u) << result.out;
    for (const Json& check : checks) {
        const std::string outcome = check["result"].text();
        EXPECT_TRUE(outcome == "PASS" || outcome == "FAIL" || outcome == "SKIP")
            << check["name"].text() << ": " << outcome;
    }
}

INSTANTIATE_TEST_SUITE_P(DebianPlugins, PeerIsValidated,
                         testing::Values("/usr/lib/vst/3BandEQ-vst.so",
                                         "/usr/lib/vst/ZamComp-vst.so",
                                         "/usr/lib/vst/lsp-plugins/compressor-stereo.so"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             const std::string name =
                                 std::filesystem::path(info.param).stem().string();
                             std::string id;
                             for (const char c : name)
                                 if (std::isalnum(static_cast<unsigned char>(c)))
                                     id += c;
                             return id;
                         });

} // namespace
