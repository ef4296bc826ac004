#include "cli/validate/Shrink.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

IsolatedWork replayWork(const std::string& path, const SessionRules& rules, CallList calls) {
    return [path, rules, calls = std::move(calls)]() -> std::string {
        std::string summary;
        std::optional<ReplayFailure> failure = replayCalls(path, rules, calls, &summary);
        if (!failure)
            return summary.empty() ? "pass" : "pass\n" + summary;
        return "fail " + std::to_string(failure->at) + "\n" + failure->text;
    };
}

std::optional<std::string> failureKind(const IsolatedOutcome& outcome, double seconds, long& at,
                                       std::string& details) {
    at = outcome.progress;
    if (outcome.ending != IsolatedOutcome::Ending::Finished) {
        details = endingText(outcome, seconds);
        return outcome.ending == IsolatedOutcome::Ending::TimedOut ? std::string(HangKind)
                                                                   : details;
    }
    const std::string& output = outcome.output;
    if (output.rfind("fail ", 0) == 0) {
        std::size_t lineEnd = output.find('\n');
        at = std::atol(output.c_str() + 5);
        details = lineEnd == std::string::npos ? "" : output.substr(lineEnd + 1);
        return details.substr(0, details.find(':'));
    }
    if (output.rfind("error ", 0) == 0) {
        details = output.substr(6);
        return std::string("error");
    }
    if (output != "pass" && output.rfind("pass\n", 0) != 0) {
        details = "the replay ended without a result";
        return details;
    }
    return std::nullopt;
}

namespace {

using Clock = std::chrono::steady_clock;

class Shrinker {
  public:
    Shrinker(const std::string& path, const SessionRules& rules, bool atClose,
             const std::string& kind, const ShrinkLimits& limits)
        : path(path), rules(rules), atClose(atClose), kind(kind), limits(limits),
          deadline(Clock::now() +
                   std::chrono::milliseconds(static_cast<long>(limits.totalSeconds * 1000.0))) {}

    // Whether `calls` still fail the same way; cuts them after the failing call.
    bool stillFails(CallList& calls) {
        if (tries >= limits.replays || Clock::now() >= deadline)
            return false;
        ++tries;
        IsolatedOutcome outcome = runIsolated(replayWork(path, rules, calls), limits.seconds);
        long at = -1;
        std::string details;
        std::optional<std::string> found = failureKind(outcome, limits.seconds, at, details);
        if (!found || *found != kind)
            return false;
        // Closing an editor or an instance that a shorter list left in
        // another state is a different failure.
        if (at >= static_cast<long>(calls.size()) && !atClose)
            return false;
        if (at >= 0 && static_cast<std::size_t>(at) + 1 < calls.size())
            calls.resize(static_cast<std::size_t>(at) + 1);
        return true;
    }

    CallList shrink(CallList calls) {
        std::size_t parts = 2;
        while (calls.size() >= 2 && tries < limits.replays && Clock::now() < deadline) {
            const std::size_t partSize = (calls.size() + parts - 1) / parts;
            bool reduced = false;
            for (std::size_t start = 0; start < calls.size(); start += partSize) {
                CallList rest(calls.begin(), calls.begin() + static_cast<long>(start));
                rest.insert(rest.end(),
                            calls.begin() +
                                static_cast<long>(std::min(start + partSize, calls.size())),
                            calls.end());
                if (!rest.empty() && stillFails(rest)) {
                    calls = std::move(rest);
                    parts = std::max<std::size_t>(parts - 1, 2);
                    reduced = true;
                    break;
                }
            }
            if (!reduced) {
                if (parts >= calls.size())
                    break;
                parts = std::min(parts * 2, calls.size());
            }
        }
        return calls;
    }

  private:
    std::string path;
    SessionRules rules;
    bool atClose;
    std::string kind;
    ShrinkLimits limits;
    Clock::time_point deadline;
    int tries = 0;
};

} // namespace

CallList shrinkCalls(const std::string& path, const SessionRules& rules, CallList calls,
                     long failedAt, const std::string& kind, const ShrinkLimits& limits) {
    const bool atClose = failedAt >= static_cast<long>(calls.size());
    if (kind != HangKind)
        return Shrinker(path, rules, atClose, kind, limits).shrink(std::move(calls));
    // Every try that still hangs costs a whole time limit, so those tries
    // get a shorter one; a call that is merely slow may then count as a
    // hang, which it nearly is.
    ShrinkLimits quick = limits;
    quick.seconds = std::min(limits.seconds, HangTrySeconds);
    return Shrinker(path, rules, atClose, kind, quick).shrink(std::move(calls));
}
