#include "tests/support/RunCommand.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    // Tests run in parallel processes: the name mixes the clock with random
    // bits, and a name that already exists is never reused.
    static std::atomic<int> counter{0};
    std::random_device entropy;
    fs::path base;
    do {
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        base = fs::temp_directory_path() /
               ("varnex-test-" + std::to_string(stamp) + "-" + std::to_string(entropy()) + "-" +
                std::to_string(counter++));
    } while (!fs::create_directory(base));
    folder = base.string();
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

CommandResult runCommand(const std::string& commandLine,
                         const std::vector<std::string>& environment) {
    ScratchFolder scratch;
    std::string prefix;
    for (const std::string& assignment : environment)
        prefix += "export " + shellQuoted(assignment) + "; ";
    // The status goes through a file: std::system's own result is encoded
    // differently on every platform.
    std::string script = prefix + "( " + commandLine + " ) >" + shellQuoted(scratch.file("out")) +
                         " 2>" + shellQuoted(scratch.file("err")) + " </dev/null; echo $? >" +
                         shellQuoted(scratch.file("status"));
    CommandResult result;
    if (std::system(("/bin/sh -c " + shellQuoted(script)).c_str()) == -1)
        return result;
    result.out = readFile(scratch.file("out"));
    result.err = readFile(scratch.file("err"));
    std::string status = readFile(scratch.file("status"));
    if (!status.empty())
        result.exitCode = std::atoi(status.c_str());
    return result;
}
