// varnex gallery [-o gallery.png]

#include "cli/CommandError.h"
#include "cli/Commands.h"
#include "cli/ControlGallery.h"
#include "cli/PngFile.h"
#include "cli/StateOptions.h"

#include <cstdio>

namespace {

std::string parseGalleryArguments(const Arguments& arguments) {
    std::string outputPath = "gallery.png";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-o" || argument == "--output") {
            outputPath = optionValue(arguments, i, "gallery");
            if (outputPath.empty())
                throw UsageError("gallery: the output name after -o is empty");
        } else {
            throw UsageError("gallery: unknown argument '" + argument + "'");
        }
    }
    return outputPath;
}

} // namespace

int runGalleryCommand(const Arguments& arguments) {
    const std::string outputPath = parseGalleryArguments(arguments);
    const ControlGallery gallery = drawControlGallery();
    savePng(outputPath, gallery.picture);
    std::printf("gallery: %d controls in %d x %d to %s\n", gallery.controlCount,
                gallery.picture.width, gallery.picture.height, outputPath.c_str());
    return ExitSuccess;
}
