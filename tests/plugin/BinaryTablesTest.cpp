// The built binaries' dynamic tables, as the system tools read them: each
// plug-in exports exactly one function, `main`, and needs nothing beyond the
// C library and the operating system's own libraries.

#include "tests/support/RunCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> found;
    for (std::string word; in >> word;)
        found.push_back(word);
    return found;
}

std::string toolOutput(const std::string& commandLine) {
    CommandResult result = runCommand(commandLine);
    EXPECT_EQ(result.exitCode, 0) << commandLine << "\n" << result.err;
    return result.out;
}

// The word after `label` on every line whose words start with it.
std::vector<std::string> labelled(const std::string& text, const std::vector<std::string>& label) {
    std::vector<std::string> found;
    for (const std::string& line : splitLines(text)) {
        std::vector<std::string> lineWords = words(line);
        if (lineWords.size() > label.size() &&
            std::equal(label.begin(), label.end(), lineWords.begin()))
            found.push_back(lineWords[label.size()]);
    }
    return found;
}

// objdump's export listing: one "[ n] +base[ m] rva Export RVA" line per
// exported address, then the names under "[Ordinal/Name Pointer] Table".
struct ExportTable {
    std::size_t addressCount = 0;
    std::vector<std::string> names;
};

ExportTable exportTable(const std::string& headers) {
    ExportTable table;
    bool inNames = false;
    for (const std::string& line : splitLines(headers)) {
        if (line.find("+base[") != std::string::npos)
            ++table.addressCount;
        if (line.find("[Ordinal/Name Pointer] Table") != std::string::npos) {
            inNames = true;
            continue;
        }
        std::size_t close = line.find(']');
        if (inNames && line.find('[') != std::string::npos && close != std::string::npos)
            table.names.push_back(words(line.substr(close + 1)).at(0));
        else if (inNames)
            inNames = false;
    }
    return table;
}

TEST(LinuxPlugin, ExportsExactlyTheFunctionMain) {
    std::string symbols = toolOutput("nm -D --defined-only " + shellQuoted(VARNEX_PLUGIN_FILE));
    std::vector<std::string> lines = splitLines(symbols);
    ASSERT_EQ(lines.size(), 1u) << symbols;
    std::vector<std::string> symbol = words(lines[0]);
    ASSERT_EQ(symbol.size(), 3u) << lines[0];
    EXPECT_EQ(symbol[1], "T") << "a function in the text section";
    EXPECT_EQ(symbol[2], "main");
}

TEST(LinuxPlugin, NeedsOnlyTheCLibraryTheLoaderAndXlib) {
#if defined(VARNEX_SANITIZED)
    GTEST_SKIP() << "sanitizer builds link the sanitizer runtimes dynamically";
#endif
    // The editor's window talks to the host's X server through Xlib and its
    // shared-memory extension.
    const std::set<std::string> allowed = {
        "libc.so.6",   "libm.so.6",   "libdl.so.2", "libpthread.so.0", "ld-linux-x86-64.so.2",
        "libX11.so.6", "libXext.so.6"};
    std::string headers = toolOutput("objdump -p " + shellQuoted(VARNEX_PLUGIN_FILE));
    std::vector<std::string> needed = labelled(headers, {"NEEDED"});
    EXPECT_FALSE(needed.empty()) << headers;
    for (const std::string& library : needed)
        EXPECT_TRUE(allowed.count(library)) << "unexpected dependency " << library;
}

// The Windows binaries come from the cross builds; their paths arrive in
// VARNEX_WINDOWS_BUILD_I686 and VARNEX_WINDOWS_BUILD_X86_64 (the folders that
// hold Varnex.dll and varnex.exe), set by the test script.
struct WindowsBuild {
    const char* variable;
    const char* fileFormat;
};

void PrintTo(const WindowsBuild& build, std::ostream* out) {
    *out << build.fileFormat;
}

class WindowsBinaries : public ::testing::TestWithParam<WindowsBuild> {
  protected:
    void SetUp() override {
        const char* folder = std::getenv(GetParam().variable);
        if (!folder || !*folder)
            GTEST_SKIP() << GetParam().variable << " is not set: no cross build to check";
        buildFolder = folder;
    }

    std::string headersOf(const std::string& file) {
        std::string headers = toolOutput("objdump -p " + shellQuoted(buildFolder + "/" + file));
        EXPECT_NE(headers.find(std::string("file format ") + GetParam().fileFormat),
                  std::string::npos)
            << file << " is not a " << GetParam().fileFormat << " binary";
        return headers;
    }

    // Imported libraries must be the system's own: no C++ or threading
    // runtime DLLs that a user's machine would lack. The editor's windows
    // are real ones, so the window system's libraries must be there too.
    void expectSystemImportsOnly(const std::string& headers) {
        const std::set<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                               "msvcrt.dll"};
        std::set<std::string> imports;
        for (const std::string& library : labelled(headers, {"DLL", "Name:"}))
            imports.insert(lowercase(library));
        for (const std::string& library : imports)
            EXPECT_TRUE(allowed.count(library)) << "unexpected import " << library;
        EXPECT_TRUE(imports.count("user32.dll") && imports.count("gdi32.dll"))
            << "no window system imported:\n"
            << headers;
    }

    std::string buildFolder;
};

TEST_P(WindowsBinaries, PluginExportsOnlyUndecoratedMain) {
    ExportTable exports = exportTable(headersOf("Varnex.dll"));
    EXPECT_EQ(exports.addressCount, 1u);
    EXPECT_EQ(exports.names, std::vector<std::string>{"main"});
}

TEST_P(WindowsBinaries, PluginImportsOnlySystemLibraries) {
    expectSystemImportsOnly(headersOf("Varnex.dll"));
}

TEST_P(WindowsBinaries, CommandLineHostImportsOnlySystemLibraries) {
    expectSystemImportsOnly(headersOf("varnex.exe"));
}

INSTANTIATE_TEST_SUITE_P(CrossBuilds, WindowsBinaries,
                         ::testing::Values(WindowsBuild{"VARNEX_WINDOWS_BUILD_I686", "pei-i386"},
                                           WindowsBuild{"VARNEX_WINDOWS_BUILD_X86_64",
                                                        "pei-x86-64"}),
                         [](const auto& info) {
                             return std::string(info.param.fileFormat) == "pei-i386" ? "i686"
                                                                                     : "x86_64";
                         });

} // namespace
