#include "cli/validate/Isolation.h"

#include <cstdio>
#include <string>

IsolatedOutcome runIsolated(const IsolatedWork& work, double seconds) {
    return runIsolated(std::vector<IsolatedWork>{work}, seconds, 1).front();
}

std::string endingText(const IsolatedOutcome& outcome, double seconds) {
    char text[64];
    switch (outcome.ending) {
    case IsolatedOutcome::Ending::Crashed:
        return "crashed with " + signalName(outcome.signal);
    case IsolatedOutcome::Ending::TimedOut:
        std::snprintf(text, sizeof text, "did not end within %.0f s (hung, or far too slow)",
                      seconds);
        return text;
    case IsolatedOutcome::Ending::Exited:
        return "ended the process with exit status " + std::to_string(outcome.status);
    case IsolatedOutcome::Ending::Finished:
        break;
    }
    return "finished";
}
