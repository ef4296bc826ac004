#pragma once
// Runs a shell command line for a test and collects what it printed and its
// exit status.

#include <string>
#include <vector>

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `commandLine` with /bin/sh; `environment` entries ("NAME=value") are
// set for that command only.
CommandResult runCommand(const std::string& commandLine,
                         const std::vector<std::string>& environment = {});

// The text as one single-quoted shell word.
std::string shellQuoted(const std::string& text);

// The lines of a text, without their line breaks.
std::vector<std::string> splitLines(const std::string& text);

// A fresh, empty folder for one test, removed with the object.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return folder; }
    std::string file(const std::string& name) const { return folder + "/" + name; }

  private:
    std::string folder;
};

std::string readFile(const std::string& path);
