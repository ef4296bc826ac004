#pragma once
// Runs a piece of work apart from the validator, so that a plug-in that
// crashes or hangs ends that piece of work and not the validator. On Linux
// each piece runs in a forked child with a time limit; where there is no
// fork (Windows) it runs in this process and neither is caught.

#include <functional>
#include <string>
#include <vector>

struct IsolatedOutcome {
    enum class Ending { Finished, Crashed, TimedOut, Exited };
    Ending ending = Ending::Finished;
    int signal = 0;     // the signal that ended a crashed child
    int status = 0;     // the exit status of a child that left without a result
    std::string output; // what the work returned, when it finished
    long progress = -1; // the last step it marked with markProgress
};

using IsolatedWork = std::function<std::string()>;

// Runs each piece of work, at most `jobs` at once, each within `seconds`;
// the outcomes are in the order of the work.
std::vector<IsolatedOutcome> runIsolated(const std::vector<IsolatedWork>& work, double seconds,
                                         int jobs);
IsolatedOutcome runIsolated(const IsolatedWork& work, double seconds);

// Notes, from inside the work, which step it has reached, so that a crash
// can be placed.
void markProgress(long step);
// Whether crashes and hangs are caught in this build.
bool crashesCaught();
// "SIGSEGV" and the like.
std::string signalName(int signal);
// How a piece of work that did not finish ended: "crashed with SIGSEGV".
std::string endingText(const IsolatedOutcome& outcome, double seconds);
