#include "tests/support/VirtualDisplay.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

bool programOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = folders.find(':', start);
        const std::string folder =
            folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0)
            return true;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return false;
}

VirtualDisplay::VirtualDisplay(const std::vector<std::string>& serverOptions) {
    if (!programOnPath("Xvfb")) {
        reason = "Xvfb is not installed (Debian package xvfb)";
        return;
    }
    int channel[2];
    if (pipe(channel) != 0) {
        reason = "no pipe for Xvfb's display number";
        return;
    }
    // Made before the fork: the child only calls what is safe there.
    std::vector<const char*> arguments = {"Xvfb",        "-displayfd", "3",         "-screen", "0",
                                          "1024x768x24", "-noreset",   "-nolisten", "tcp"};
    for (const std::string& option : serverOptions)
        arguments.push_back(option.c_str());
    arguments.push_back(nullptr);
    server = fork();
    if (server == 0) {
        // A test program that dies takes its server with it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        // Xvfb writes the display number it chose to this descriptor once
        // it accepts connections.
        dup2(channel[1], 3);
        if (channel[0] != 3)
            close(channel[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        dup2(quiet, 2);
        execvp("Xvfb", const_cast<char* const*>(arguments.data()));
        _exit(127);
    }
    close(channel[1]);
    if (server < 0) {
        close(channel[0]);
        reason = "cannot start Xvfb";
        return;
    }
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    pollfd ready{channel[0], POLLIN, 0};
    while (number.find('\n') == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        if (poll(&ready, 1, 100) <= 0)
            continue;
        char buffer[32];
        const ssize_t got = read(channel[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        number.append(buffer, static_cast<std::size_t>(got));
    }
    close(channel[0]);
    while (!number.empty() && (number.back() == '\n' || number.back() == '\r'))
        number.pop_back();
    if (number.empty()) {
        reason = "Xvfb did not report a display within 10 s";
        return;
    }
    name = ":" + number;
}

VirtualDisplay::~VirtualDisplay() {
    if (server > 0) {
        kill(server, SIGTERM);
        int status = 0;
        waitpid(server, &status, 0);
    }
}

VirtualDisplay& VirtualDisplay::shared() {
    static VirtualDisplay display;
    if (display.available())
        setenv("DISPLAY", display.displayName().c_str(), 1);
    return display;
}
