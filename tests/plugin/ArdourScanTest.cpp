// A real host that no one here wrote: Ardour's plug-in scanner loads the
// built plug-in, instantiates it and reports what it learned as a
// <VST2Info ...> line. The scanner exits 0 even when loading fails, so its
// report is what is checked.

#include "tests/plugin/ExpectedPlugin.h"
#include "tests/support/RunCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace {

constexpr const char* ArdourLibraryFolder = "/usr/lib/ardour7";
constexpr const char* Scanner = "/usr/lib/ardour7/ardour-vst-scanner";

// The attributes of the first <VST2Info ...> element in the scanner's output.
std::map<std::string, std::string> scannedAttributes(const std::string& output) {
    std::map<std::string, std::string> attributes;
    std::size_t start = output.find("<VST2Info ");
    if (start == std::string::npos)
        return attributes;
    std::string element = output.substr(start, output.find('>', start) - start);
    for (std::size_t equals = element.find("=\""); equals != std::string::npos;
         equals = element.find("=\"", equals + 1)) {
        std::size_t nameStart = element.rfind(' ', equals) + 1;
        std::size_t valueEnd = element.find('"', equals + 2);
        if (valueEnd == std::string::npos)
            break;
        attributes[element.substr(nameStart, equals - nameStart)] =
            element.substr(equals + 2, valueEnd - equals - 2);
        equals = valueEnd;
    }
    return attributes;
}

TEST(ArdourScanner, ReportsTheIdentityOfTheBuiltPlugin) {
#if defined(VARNEX_SANITIZED)
    GTEST_SKIP() << "the scanner cannot load a plug-in built against the sanitizer runtimes";
#endif
    if (!std::filesystem::exists(Scanner))
        GTEST_SKIP() << "Ardour 7 is not installed (" << Scanner << ")";

    // The scanner keeps a cache under $HOME; give it a home of its own.
    ScratchFolder home;
    CommandResult result =
        runCommand(std::string(Scanner) + " -f -v " + shellQuoted(VARNEX_PLUGIN_FILE),
                   {"HOME=" + home.path(), "LD_LIBRARY_PATH=" + std::string(ArdourLibraryFolder)});
    std::string output = result.out + result.err;
    std::map<std::string, std::string> scanned = scannedAttributes(output);
    ASSERT_FALSE(scanned.empty()) << "the scanner did not report the plug-in:\n" << output;

    EXPECT_EQ(scanned["id"], std::to_string(expected::UniqueId));
    EXPECT_EQ(scanned["n_inputs"], std::to_string(expected::InputCount));
    EXPECT_EQ(scanned["n_outputs"], std::to_string(expected::OutputCount));
    EXPECT_EQ(scanned["can_process_replace"], (expected::Flags & CanOverwrite) ? "1" : "0");
    EXPECT_EQ(scanned["has_editor"], (expected::Flags & HasEditor) ? "1" : "0");
    EXPECT_EQ(scanned["is_instrument"], (expected::Flags & IsInstrument) ? "1" : "0");
}

} // namespace
