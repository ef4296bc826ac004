#pragma once
// Files that commands write: under a temporary name, renamed over the real
// name only when complete, so a failed command never leaves a truncated
// file behind nor destroys an earlier one.

#include <string>
#include <utility>

class PendingFile {
  public:
    explicit PendingFile(std::string path) : finalPath(std::move(path)) {}
    // Removes the temporary file unless it was committed.
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    std::string temporaryPath() const { return finalPath + ".varnex-partial"; }
    // Renames the temporary file to the real name; a CommandError when it
    // cannot.
    void commit();

  private:
    std::string finalPath;
    bool committed = false;
};

// A CommandError when `outputPath` cannot be written because its folder is
// missing or it is a folder itself.
void checkOutputFolder(const std::string& outputPath);
