#include "RunningProgram.h"

#include "tests/support/RunCommand.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

RunningProgram::RunningProgram(const std::vector<std::string>& arguments,
                               const std::vector<std::string>& environment) {
    errorFile = (std::filesystem::temp_directory_path() /
                 ("varnex-test-stderr-" + std::to_string(getpid()) + "-" +
                  std::to_string(Clock::now().time_since_epoch().count())))
                    .string();
    int channel[2];
    if (pipe(channel) != 0)
        return;
    child = fork();
    if (child == 0) {
        dup2(channel[1], 1);
        close(channel[0]);
        close(channel[1]);
        const int errors = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(errors, 2);
        const int nothing = open("/dev/null", O_RDONLY);
        dup2(nothing, 0);
        for (const std::string& change : environment) {
            const auto equals = change.find('=');
            if (equals == std::string::npos)
                unsetenv(change.c_str());
            else
                setenv(change.substr(0, equals).c_str(), change.substr(equals + 1).c_str(), 1);
        }
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(channel[1]);
    outputPipe = channel[0];
}

RunningProgram::~RunningProgram() {
    if (child > 0 && !ended) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    if (outputPipe >= 0)
        close(outputPipe);
    std::remove(errorFile.c_str());
}

bool RunningProgram::readSome(int timeoutMilliseconds) {
    if (outputPipe < 0)
        return false;
    pollfd ready{outputPipe, POLLIN, 0};
    if (poll(&ready, 1, timeoutMilliseconds) <= 0)
        return false;
    char buffer[4096];
    const ssize_t got = read(outputPipe, buffer, sizeof buffer);
    if (got <= 0) {
        close(outputPipe);
        outputPipe = -1;
        return false;
    }
    printed.append(buffer, static_cast<std::size_t>(got));
    return true;
}

std::optional<std::string> RunningProgram::waitForLine(const std::string& prefix,
                                                       std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::size_t lineStart = 0;
    for (;;) {
        for (std::size_t end; (end = printed.find('\n', lineStart)) != std::string::npos;
             lineStart = end + 1) {
            if (printed.compare(lineStart, prefix.size(), prefix) == 0)
                return printed.substr(lineStart, end - lineStart);
        }
        if (outputPipe < 0 || Clock::now() >= deadline)
            return std::nullopt;
        readSome(millisecondsUntil(deadline));
    }
}

void RunningProgram::signal(int number) {
    if (child > 0 && !ended)
        kill(child, number);
}

std::optional<int> RunningProgram::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (child > 0 && !ended) {
        if (waitpid(child, &status, WNOHANG) == child) {
            ended = true;
            break;
        }
        if (Clock::now() >= deadline)
            return std::nullopt;
        // Keep the pipe drained so that the program never blocks on output.
        if (!readSome(10))
            usleep(10000);
    }
    while (readSome(0)) {
    }
    if (!ended || !WIFEXITED(status))
        return std::nullopt;
    return WEXITSTATUS(status);
}

std::string RunningProgram::errors() const {
    return readFile(errorFile);
}
