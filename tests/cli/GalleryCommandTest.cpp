// `varnex gallery` as a user runs it: the picture it writes is the one in
// docs/ (drawing is deterministic, so any change to a control's drawing or
// to the strips shows here), and bad arguments or an unwritable file end
// with one `varnex:` line.

#include "tests/support/PngFile.h"
#include "tests/support/RunCommand.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

CommandResult runGallery(const ScratchFolder& folder, const std::vector<std::string>& arguments) {
    std::string command =
        "cd " + shellQuoted(folder.path()) + " && " + shellQuoted(VARNEX_BINARY) + " gallery";
    for (const std::string& argument : arguments)
        command += " " + shellQuoted(argument);
    return runCommand(command);
}

TEST(GalleryCommand, WritesThePictureInTheDocsAndSaysHowBig) {
    ScratchFolder folder;
    const CommandResult run = runGallery(folder, {"-o", "g.png"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // "gallery: N controls in W x H to g.png"
    unsigned controls = 0, width = 0, height = 0;
    char file[16] = {};
    ASSERT_EQ(std::sscanf(run.out.c_str(), "gallery: %u controls in %u x %u to %15s", &controls,
                          &width, &height, file),
              4)
        << run.out;
    EXPECT_STREQ(file, "g.png");
    EXPECT_GE(controls, 18u * 2) << "every class in at least two states";

    const RgbImage written = readRgbPng(folder.file("g.png"));
    EXPECT_EQ(written.width, width);
    EXPECT_EQ(written.height, height);
    const RgbImage inDocs = readRgbPng(VARNEX_GALLERY_IN_DOCS);
    ASSERT_FALSE(inDocs.rgb.empty()) << VARNEX_GALLERY_IN_DOCS;
    EXPECT_TRUE(written == inDocs)
        << "the gallery differs from " << VARNEX_GALLERY_IN_DOCS
        << "; if the change is intended, refresh it with: varnex gallery -o docs/gallery.png";
}

TEST(GalleryCommand, RefusesBadArgumentsAndUnwritableFilesWithOneLine) {
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"--bogus"}, 2, "varnex: gallery: unknown argument '--bogus'"},
        {{"-o"}, 2, "varnex: gallery: option -o needs a value"},
        {{"-o", ""}, 2, "varnex: gallery: the output name after -o is empty"},
        {{"-o", "missing/g.png"}, 1, "varnex: cannot write missing/g.png"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const CommandResult run = runGallery(folder, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message;
        const std::vector<std::string> lines = splitLines(run.err);
        ASSERT_EQ(lines.size(), 1u) << run.err;
        EXPECT_EQ(lines[0].rfind(c.message, 0), 0u) << lines[0];
        EXPECT_TRUE(std::filesystem::is_empty(folder.path())) << c.message;
    }
}

} // namespace
