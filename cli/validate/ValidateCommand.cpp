// varnex validate [PLUGIN ...] [--level 1..10] [--seed N] [--json] [--jobs N]
// [--time-limit S]:
// graded checks that a plug-in survives what hosts do to it. Every check
// runs apart from the validator, so a crash or a hang is a failed check;
// a failing call sequence is cut down to the calls that reproduce it.

#include "cli/CommandError.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/PluginHost.h"
#include "cli/validate/Checks.h"
#include "cli/validate/EditorDriver.h"
#include "cli/validate/Isolation.h"
#include "cli/validate/Shrink.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

constexpr double LoadSeconds = 30.0;
constexpr std::size_t MostCallsShown = 30;

struct ValidateOptions {
    std::vector<std::string> plugins;
    int level = 5;
    std::uint32_t seed = 1;
    bool json = false;
    double seconds = 120.0; // time limit of each check
    int jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
};

[[noreturn]] void badOption(const std::string& message) {
    throw UsageError("validate: " + message + " (try 'varnex validate --help')");
}

long numberOption(const Arguments& arguments, std::size_t& i, long low, long high) {
    const std::string& option = arguments[i];
    if (i + 1 >= arguments.size())
        badOption("option " + option + " needs a value");
    const std::string& text = arguments[++i];
    char* end = nullptr;
    long number = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || number < low || number > high)
        badOption("the value of " + option + " must be a whole number from " + std::to_string(low) +
                  " to " + std::to_string(high) + ", not '" + text + "'");
    return number;
}

ValidateOptions parseOptions(const Arguments& arguments) {
    ValidateOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--level")
            options.level = static_cast<int>(numberOption(arguments, i, 1, 10));
        else if (argument == "--seed")
            options.seed = static_cast<std::uint32_t>(numberOption(arguments, i, 0, 4294967295L));
        else if (argument == "--jobs")
            options.jobs = static_cast<int>(numberOption(arguments, i, 1, 256));
        else if (argument == "--time-limit")
            options.seconds = static_cast<double>(numberOption(arguments, i, 1, 3600));
        else if (argument == "--json")
            options.json = true;
        else if (argument.size() > 1 && argument[0] == '-')
            badOption("unknown option '" + argument + "'");
        else
            options.plugins.push_back(argument);
    }
    if (options.plugins.empty())
        options.plugins.push_back(defaultPluginPath());
    return options;
}

CheckResult loadIdentity(const std::string& path) {
    IsolatedOutcome outcome =
        runIsolated([path] { return serializeResult(identityCheck(path)); }, LoadSeconds);
    if (outcome.ending != IsolatedOutcome::Ending::Finished)
        throw CommandError("cannot load " + path + ": the plug-in " +
                           endingText(outcome, LoadSeconds) + " while loading");
    if (outcome.output.rfind("error ", 0) == 0)
        throw CommandError(outcome.output.substr(6));
    return parseResult("identity", outcome.output);
}

// Whether the editor check can have a host window, asked apart from the
// validator so that its own process keeps no window-system connection.
std::string windowCheck() {
    IsolatedOutcome outcome = runIsolated(
        [] {
            std::string reason = hostWindowUnavailable();
            return reason.empty() ? std::string("window") : reason;
        },
        LoadSeconds);
    if (outcome.ending != IsolatedOutcome::Ending::Finished)
        return "opening a window " + endingText(outcome, LoadSeconds);
    return outcome.output == "window" ? "" : outcome.output;
}

CheckResult judgePlain(const char* name, const IsolatedOutcome& outcome, double seconds) {
    if (outcome.ending != IsolatedOutcome::Ending::Finished)
        return CheckResult::fail(name, endingText(outcome, seconds));
    if (outcome.output.rfind("error ", 0) == 0)
        return CheckResult::fail(name, outcome.output.substr(6));
    return parseResult(name, outcome.output);
}

CheckResult judgeSequence(const std::string& path, const ValidateOptions& options,
                          const SequenceCheck& check, const IsolatedOutcome& outcome) {
    long at = -1;
    std::string details;
    std::optional<std::string> kind = failureKind(outcome, options.seconds, at, details);
    if (!kind) {
        const std::string& output = outcome.output;
        const std::string summary = output.size() > 5 ? output.substr(5) : "";
        return CheckResult::pass(check.name,
                                 check.passText + (summary.empty() ? "" : ": " + summary))
            .figure("calls", static_cast<double>(check.calls.size()));
    }
    CallList calls = check.calls;
    if (at >= 0 && static_cast<std::size_t>(at) < calls.size())
        calls.resize(static_cast<std::size_t>(at) + 1);
    calls =
        shrinkCalls(path, check.rules, std::move(calls), at, *kind, {options.seconds, 400, 60.0});
    CheckResult result = CheckResult::fail(
        check.name, details + " (call " + std::to_string(at + 1) + " of " +
                        std::to_string(check.calls.size()) + "; reproduced by " +
                        std::to_string(calls.size()) + (calls.size() == 1 ? " call)" : " calls)"));
    result.figure("calls", static_cast<double>(check.calls.size()))
        .figure("failing call", static_cast<double>(at + 1))
        .figure("reproduction calls", static_cast<double>(calls.size()));
    char start[96];
    std::snprintf(start, sizeof start, "load, open, sample rate %g, block size %d, resume",
                  static_cast<double>(check.rules.sampleRate), check.rules.blockSize);
    std::string setUp = start;
    if (check.rules.audioOnAnotherThread)
        setUp += ", audio running on another thread";
    result.reproduction.push_back(setUp);
    // A list that could not be cut down is shown by its end, where it failed.
    const std::size_t shown = std::min(calls.size(), MostCallsShown);
    if (shown < calls.size())
        result.reproduction.push_back("... " + std::to_string(calls.size() - shown) +
                                      " calls of the check (level " +
                                      std::to_string(options.level) + ", seed " +
                                      std::to_string(options.seed) + ") not shown");
    for (std::size_t i = calls.size() - shown; i < calls.size(); ++i)
        result.reproduction.push_back(describeCall(calls[i]));
    return result;
}

std::vector<CheckResult> validate(const std::string& path, const ValidateOptions& options) {
    CheckResult identity = loadIdentity(path);
    ValidationPlan plan{path, options.level, options.seed, factsOf(identity), ""};
    if (plan.facts.flags & HasEditor)
        plan.noWindow = windowCheck();
    std::vector<CheckResult> results{identity};
    if (identity.verdict == Verdict::Fail)
        return results;

    const std::vector<PlainCheck>& plain = plainChecks();
    std::vector<SequenceCheck> sequences = sequenceChecks(plan);
    std::vector<IsolatedWork> work;
    for (const PlainCheck& check : plain)
        work.push_back([&plan, check] { return serializeResult(check.run(plan)); });
    for (const SequenceCheck& check : sequences)
        if (check.skipText.empty())
            work.push_back(replayWork(path, check.rules, check.calls));
    std::vector<IsolatedOutcome> outcomes = runIsolated(work, options.seconds, options.jobs);

    std::size_t next = 0;
    for (const PlainCheck& check : plain)
        results.push_back(judgePlain(check.name, outcomes[next++], options.seconds));
    for (const SequenceCheck& check : sequences)
        results.push_back(check.skipText.empty()
                              ? judgeSequence(path, options, check, outcomes[next++])
                              : CheckResult::skip(check.name, check.skipText));
    return results;
}

struct Tally {
    int passed = 0;
    int failed = 0;
    int skipped = 0;
    void count(const CheckResult& result) {
        (result.verdict == Verdict::Pass   ? passed
         : result.verdict == Verdict::Fail ? failed
                                           : skipped)++;
    }
};

void printText(const std::string& path, const ValidateOptions& options,
               const std::vector<CheckResult>& results) {
    std::printf("%s (level %d, seed %u%s)\n", path.c_str(), options.level, options.seed,
                crashesCaught() ? "" : "; the checks run in this process, a crash ends the run");
    for (const CheckResult& result : results) {
        std::printf("%s %s: %s\n", verdictWord(result.verdict), result.name.c_str(),
                    result.found.c_str());
        for (std::size_t i = 0; i < result.reproduction.size(); ++i)
            std::printf("    %zu. %s\n", i, result.reproduction[i].c_str());
    }
}

void writeJson(JsonWriter& json, const std::string& path, const ValidateOptions& options,
               const std::vector<CheckResult>& results) {
    json.beginObject();
    json.key("path");
    json.value(path);
    json.key("level");
    json.value(static_cast<std::int32_t>(options.level));
    json.key("seed");
    json.value(static_cast<std::int64_t>(options.seed));
    json.key("checks");
    json.beginArray();
    for (const CheckResult& result : results) {
        json.beginObject();
        json.key("name");
        json.value(result.name);
        json.key("result");
        json.value(verdictWord(result.verdict));
        json.key("found");
        json.value(result.found);
        json.key("figures");
        json.beginObject();
        for (const auto& [label, number] : result.figures) {
            json.key(label);
            json.value(static_cast<float>(number));
        }
        json.endObject();
        json.key("reproduction");
        json.beginArray();
        for (const std::string& line : result.reproduction)
            json.value(line);
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

} // namespace

int runValidateCommand(const Arguments& arguments) {
    ValidateOptions options = parseOptions(arguments);
    Tally tally;
    JsonWriter json;
    if (options.json) {
        json.beginObject();
        json.key("plugins");
        json.beginArray();
    }
    for (const std::string& path : options.plugins) {
        std::vector<CheckResult> results = validate(path, options);
        for (const CheckResult& result : results)
            tally.count(result);
        if (options.json)
            writeJson(json, path, options, results);
        else
            printText(path, options, results);
        std::fflush(stdout);
    }
    if (options.json) {
        json.endArray();
        json.key("passed");
        json.value(static_cast<std::int32_t>(tally.passed));
        json.key("failed");
        json.value(static_cast<std::int32_t>(tally.failed));
        json.key("skipped");
        json.value(static_cast<std::int32_t>(tally.skipped));
        json.endObject();
        std::printf("%s\n", json.text().c_str());
    } else if (tally.skipped > 0) {
        std::printf("%d passed, %d failed, %d skipped\n", tally.passed, tally.failed,
                    tally.skipped);
    } else {
        std::printf("%d passed, %d failed\n", tally.passed, tally.failed);
    }
    if (std::fflush(stdout) != 0)
        return ExitFailure;
    return tally.failed > 0 ? ExitFailure : ExitSuccess;
}
