#pragma once
// The checks of `varnex validate`. Plain checks run whole in a child
// process and return their result; sequence checks are call lists that a
// child replays under the session's rules, so that a failing one can be
// cut down to the calls that reproduce it.

#include "cli/validate/Calls.h"
#include "cli/validate/CheckResult.h"
#include "cli/validate/Session.h"

#include <cstdint>
#include <string>
#include <vector>

// What the identity check learnt, for planning the others.
struct PluginFacts {
    std::int32_t parameters = 0;
    std::int32_t programs = 0;
    std::int32_t outputs = 0;
    std::int32_t flags = 0;
    bool overwriting = false;
};

struct ValidationPlan {
    std::string path;
    int level = 5;
    std::uint32_t seed = 1;
    PluginFacts facts;
    // Why the editor cannot be shown in a window of the validator's own
    // here, or empty when it can.
    std::string noWindow;
};

struct PlainCheck {
    const char* name;
    CheckResult (*run)(const ValidationPlan& plan);
};

struct SequenceCheck {
    std::string name;
    SessionRules rules;
    CallList calls;
    std::string passText; // what a pass found
    std::string skipText; // when set, the check does not apply
};

// Loads the plug-in and reads what it says about itself. Its figures hold
// the facts; a plug-in that cannot be loaded throws CommandError.
CheckResult identityCheck(const std::string& path);
PluginFacts factsOf(const CheckResult& identity);

const std::vector<PlainCheck>& plainChecks();
std::vector<SequenceCheck> sequenceChecks(const ValidationPlan& plan);
