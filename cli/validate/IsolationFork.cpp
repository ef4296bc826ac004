#include "cli/validate/Isolation.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// The child's progress word, shared with the validator.
volatile long* progressWord = nullptr;

struct Child {
    std::size_t work = 0;
    pid_t pid = -1;
    int pipe = -1;
    volatile long* progress = nullptr;
    Clock::time_point deadline;
    std::string output;
    bool timedOut = false;
};

void writeAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        written += static_cast<std::size_t>(n);
    }
}

[[noreturn]] void runChild(const IsolatedWork& work, int pipe) {
    // What a plug-in prints must not mix with the report, and some print a
    // line for every odd call they get.
    int quiet = ::open("/dev/null", O_WRONLY);
    if (quiet >= 0) {
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
    }
    std::string output;
    try {
        output = work();
    } catch (const std::exception& error) {
        output = std::string("error ") + error.what();
    } catch (...) {
        output = "error an exception of unknown type";
    }
    writeAll(pipe, output);
    // Leaves without this process's (the validator's) exit handlers.
    ::_exit(0);
}

Child start(const IsolatedWork& work, std::size_t index, double seconds) {
    Child child;
    child.work = index;
    void* shared =
        ::mmap(nullptr, sizeof(long), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    child.progress = shared == MAP_FAILED ? nullptr : static_cast<volatile long*>(shared);
    if (child.progress)
        *child.progress = -1;
    int fds[2];
    if (::pipe(fds) != 0)
        throw std::runtime_error("cannot make a pipe for a check");
    std::fflush(nullptr);
    child.pid = ::fork();
    if (child.pid < 0)
        throw std::runtime_error("cannot start a process for a check");
    if (child.pid == 0) {
        ::close(fds[0]);
        progressWord = child.progress;
        runChild(work, fds[1]);
    }
    ::close(fds[1]);
    child.pipe = fds[0];
    child.deadline = Clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000.0));
    return child;
}

IsolatedOutcome finish(Child& child) {
    IsolatedOutcome outcome;
    int status = 0;
    if (child.timedOut)
        ::kill(child.pid, SIGKILL);
    while (::waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
    }
    ::close(child.pipe);
    outcome.output = std::move(child.output);
    if (child.progress) {
        outcome.progress = *child.progress;
        ::munmap(const_cast<long*>(child.progress), sizeof(long));
    }
    if (child.timedOut)
        outcome.ending = IsolatedOutcome::Ending::TimedOut;
    else if (WIFSIGNALED(status)) {
        outcome.ending = IsolatedOutcome::Ending::Crashed;
        outcome.signal = WTERMSIG(status);
    } else if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        // The plug-in (or a sanitizer watching it) ended the process.
        outcome.ending = IsolatedOutcome::Ending::Exited;
        outcome.status = WEXITSTATUS(status);
    }
    return outcome;
}

} // namespace

std::vector<IsolatedOutcome> runIsolated(const std::vector<IsolatedWork>& work, double seconds,
                                         int jobs) {
    std::vector<IsolatedOutcome> outcomes(work.size());
    std::vector<Child> running;
    std::size_t next = 0;
    while (next < work.size() || !running.empty()) {
        while (next < work.size() && static_cast<int>(running.size()) < std::max(jobs, 1)) {
            running.push_back(start(work[next], next, seconds));
            ++next;
        }
        std::vector<pollfd> watched;
        Clock::time_point soonest = running.front().deadline;
        for (const Child& child : running) {
            watched.push_back({child.pipe, POLLIN, 0});
            soonest = std::min(soonest, child.deadline);
        }
        auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(soonest - Clock::now());
        ::poll(watched.data(), watched.size(), static_cast<int>(std::max<long>(wait.count(), 0)));
        for (std::size_t i = running.size(); i-- > 0;) {
            Child& child = running[i];
            bool ended = false;
            if (watched[i].revents & (POLLIN | POLLHUP | POLLERR)) {
                char buffer[4096];
                ssize_t n = ::read(child.pipe, buffer, sizeof buffer);
                if (n > 0)
                    child.output.append(buffer, static_cast<std::size_t>(n));
                else if (n == 0 || errno != EINTR)
                    ended = true;
            }
            if (!ended && Clock::now() >= child.deadline) {
                child.timedOut = true;
                ended = true;
            }
            if (ended) {
                outcomes[child.work] = finish(child);
                running.erase(running.begin() + static_cast<long>(i));
            }
        }
    }
    return outcomes;
}

void markProgress(long step) {
    if (progressWord)
        *progressWord = step;
}

bool crashesCaught() {
    return true;
}

std::string signalName(int signal) {
    const char* name = sigabbrev_np(signal);
    return name ? std::string("SIG") + name : "signal " + std::to_string(signal);
}
