#include "cli/PendingFile.h"

#include "cli/CommandError.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

PendingFile::~PendingFile() {
    if (!committed) {
        std::error_code ignored;
        fs::remove(temporaryPath(), ignored);
    }
}

void PendingFile::commit() {
    std::error_code failure;
    fs::rename(temporaryPath(), finalPath, failure);
    if (failure)
        throw CommandError("cannot write " + finalPath + ": " + failure.message());
    committed = true;
}

void checkOutputFolder(const std::string& outputPath) {
    fs::path folder = fs::path(outputPath).parent_path();
    std::error_code failure;
    if (!folder.empty() && !fs::is_directory(folder, failure))
        throw CommandError("cannot write " + outputPath + ": no folder " + folder.string());
    if (fs::is_directory(outputPath, failure))
        throw CommandError("cannot write " + outputPath + ": it is a folder");
}
