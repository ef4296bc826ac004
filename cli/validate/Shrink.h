#pragma once
// Cuts a failing call list down to a short one that fails the same way:
// first to the call that failed, then by delta debugging (dropping ever
// smaller parts while the rest still fails), each try replayed on a fresh
// instance in a fresh process.

#include "cli/validate/Calls.h"
#include "cli/validate/Isolation.h"
#include "cli/validate/Session.h"

#include <optional>
#include <string>

// The work that replays `calls` and reports "pass" (with the session's
// summary on a line of its own, when it has one) or "fail AT\nTEXT".
IsolatedWork replayWork(const std::string& path, const SessionRules& rules, CallList calls);

// What a replay that ran out of time failed with.
inline constexpr const char* HangKind = "hang";
// The time limit of each try while a hang is cut down.
inline constexpr double HangTrySeconds = 1.0;

// How a replay ended, in words that stay the same for the same fault:
// "crashed with SIGSEGV", HangKind, the broken rule's name, or none when it
// passed. `at` receives the number of the call that failed, when known.
std::optional<std::string> failureKind(const IsolatedOutcome& outcome, double seconds, long& at,
                                       std::string& details);

struct ShrinkLimits {
    double seconds = 60.0;      // time limit of each replay
    int replays = 400;          // most replays tried
    double totalSeconds = 60.0; // no new try starts after this long
};
// `failedAt` is the number of the call that failed; calls.size() when the
// instance failed only as it was closed after the last call, and only then
// does a shorter list that fails that late count as failing the same way.
CallList shrinkCalls(const std::string& path, const SessionRules& rules, CallList calls,
                     long failedAt, const std::string& kind, const ShrinkLimits& limits);
