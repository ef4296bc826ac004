#include "cli/PngFile.h"

#include "cli/CommandError.h"
#include "cli/PendingFile.h"
#include "platform/Snapshot.h"

void requirePngFiles(const std::string&) {}

void savePng(const std::string& path, const platform::ScreenPicture& picture) {
    PendingFile file(path);
    if (!platform::writePng(file.temporaryPath(), picture.pixels, picture.width, picture.height))
        throw CommandError("cannot write " + path);
    file.commit();
}
