#include "cli/validate/Isolation.h"

#include <exception>

// Without fork every piece of work runs here, one after the other: a crash
// ends the validator and a hang holds it.
std::vector<IsolatedOutcome> runIsolated(const std::vector<IsolatedWork>& work, double, int) {
    std::vector<IsolatedOutcome> outcomes(work.size());
    for (std::size_t i = 0; i < work.size(); ++i) {
        try {
            outcomes[i].output = work[i]();
        } catch (const std::exception& error) {
            outcomes[i].output = std::string("error ") + error.what();
        }
    }
    return outcomes;
}

void markProgress(long) {}

bool crashesCaught() {
    return false;
}

std::string signalName(int signal) {
    return "signal " + std::to_string(signal);
}
