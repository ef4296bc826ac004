#pragma once
// A program started by a test and watched while it runs: its standard
// output is read line by line as it comes, with bounded waits, and it is
// signalled and reaped by its own process id. Whatever still runs when the
// object goes is killed, so a failing test leaves nothing behind.

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

class RunningProgram {
  public:
    // Starts `arguments[0]` with the environment of the test, changed by
    // `environment` ("NAME=value" sets, "NAME" alone unsets).
    explicit RunningProgram(const std::vector<std::string>& arguments,
                            const std::vector<std::string>& environment = {});
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    pid_t pid() const { return child; }
    // The first output line starting with `prefix`, waiting up to `timeout`
    // for it; none when it does not come or the program ends first.
    std::optional<std::string> waitForLine(const std::string& prefix,
                                           std::chrono::milliseconds timeout);
    void signal(int number);
    // The exit status, waiting up to `timeout`; none when the program is
    // still running or ended by a signal.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);

    // Everything the program has printed on standard output so far.
    const std::string& output() const { return printed; }
    // Its standard error, once it has ended.
    std::string errors() const;

  private:
    bool readSome(int timeoutMilliseconds);

    pid_t child = -1;
    int outputPipe = -1;
    std::string errorFile;
    std::string printed;
    bool ended = false;
    int status = 0;
};
