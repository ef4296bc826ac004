#include "cli/validate/Checks.h"

#include "host/EffectBase.h"
#include "host/ExtendedEffect.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <thread>

namespace {

// Text lengths this host allows, without the terminating zero.
constexpr std::size_t ParameterTextLimit = 8;
// Parameter names, units and display texts longer than the limit above are
// noted, not failed: hosts give larger buffers and show them whole (Varnex's
// own "PreFilter" and "-special-" have 9). Past this many they overrun the
// buffers hosts do give for short texts, and fail.
constexpr std::size_t HardTextLimit = ProgramNameSize - 1;
constexpr std::size_t ProgramNameLimit = ProgramNameSize - 1;
constexpr std::size_t EffectNameLimit = 31;
constexpr std::size_t VendorTextLimit = 63;
constexpr std::int32_t Block = 512;

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

// Runs `blocks` blocks of noise through a fresh instance; the first output
// of the last block, or the broken rule.
std::string runNoise(Session& session, int blocks, bool adding, std::vector<float>& last) {
    for (int b = 0; b < blocks; ++b)
        if (auto failure = session.perform(Call::process(adding, Block, Input::Noise, b + 1)))
            return *failure;
    last.assign(session.firstOutput().begin(), session.firstOutput().begin() + Block);
    return "";
}

float largestDifference(const std::vector<float>& a, const std::vector<float>& b) {
    float largest = 0.0f;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        largest = std::max(largest, std::fabs(a[i] - b[i]));
    return largest;
}

std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

CheckResult openCloseTwice(const ValidationPlan& plan) {
    const char* name = "open-close-twice";
    for (int round = 0; round < 2; ++round) {
        Session session(plan.path, {});
        std::vector<float> last;
        std::string failure = runNoise(session, 2, true, last);
        if (!failure.empty())
            return CheckResult::fail(name, failure);
    }
    return CheckResult::pass(name, "opened, processed and closed twice");
}

CheckResult twoInstances(const ValidationPlan& plan) {
    const char* name = "two-instances";
    std::vector<float> outputs[2];
    std::string failures[2];
    auto run = [&](int which) {
        try {
            Session session(plan.path, {});
            failures[which] = runNoise(session, 20, true, outputs[which]);
        } catch (const std::exception& error) {
            failures[which] = error.what();
        }
    };
    std::thread first(run, 0);
    std::thread second(run, 1);
    first.join();
    second.join();
    for (const std::string& failure : failures)
        if (!failure.empty())
            return CheckResult::fail(name, failure);
    float difference = largestDifference(outputs[0], outputs[1]);
    if (difference != 0.0f)
        return CheckResult::fail(name, "two instances made on two threads give different "
                                       "audio for the same input (largest difference " +
                                           numberText(difference) + ")")
            .figure("difference", difference);
    return CheckResult::pass(name, "two instances made and run on two threads at once agree");
}

CheckResult programNames(const ValidationPlan& plan) {
    const char* name = "program-names";
    PluginHost host(plan.path);
    const std::int32_t count = host.record().programCount;
    for (std::int32_t p = 0; p < count; ++p) {
        host.dispatch(OpSetProgram, 0, p);
        std::string text = host.dispatchText(OpGetProgramName);
        if (text.size() > ProgramNameLimit)
            return CheckResult::fail(name, "program " + std::to_string(p) + "'s name " +
                                               quoted(text) + " has " +
                                               std::to_string(text.size()) +
                                               " characters, more "
                                               "than " +
                                               std::to_string(ProgramNameLimit));
    }
    return CheckResult::pass(name, std::to_string(count) + " program names within " +
                                       std::to_string(ProgramNameLimit) + " characters")
        .figure("programs", count);
}

CheckResult parameterTexts(const ValidationPlan& plan) {
    const char* name = "parameter-texts";
    PluginHost host(plan.path);
    const std::int32_t count = host.record().parameterCount;
    int texts = 0;
    int longCount = 0;
    std::string firstLong;
    std::optional<CheckResult> failure;
    auto look = [&](std::int32_t index, const std::string& what, const std::string& text) {
        ++texts;
        if (text.size() > HardTextLimit && !failure)
            failure = CheckResult::fail(
                name, "parameter " + std::to_string(index) + "'s " + what + " " + quoted(text) +
                          " has " + std::to_string(text.size()) + " characters, more than " +
                          std::to_string(HardTextLimit));
        if (text.size() > ParameterTextLimit && longCount++ == 0)
            firstLong = "parameter " + std::to_string(index) + "'s " + what + " " + quoted(text);
    };
    for (std::int32_t i = 0; i < count && !failure; ++i) {
        look(i, "name", host.dispatchText(OpGetParameterName, i));
        look(i, "unit", host.dispatchText(OpGetParameterUnit, i));
        const float original = host.hasParameterValue() ? host.parameterValue(i) : 0.0f;
        for (float value : {0.0f, 0.3f, 0.7f, 1.0f}) {
            host.setParameterValue(i, value);
            look(i, "text at " + numberText(value), host.dispatchText(OpGetParameterText, i));
        }
        host.setParameterValue(i, original);
    }
    if (failure)
        return *failure;
    std::string found = std::to_string(texts) + " names, units and display texts of " +
                        std::to_string(count) + " parameters within " +
                        std::to_string(HardTextLimit) + " characters";
    if (longCount > 0)
        found += "; " + std::to_string(longCount) + " longer than " +
                 std::to_string(ParameterTextLimit) + ", such as " + firstLong;
    return CheckResult::pass(name, found).figure("texts longer than 8", longCount);
}

CheckResult parametersFromAnotherThread(const ValidationPlan& plan) {
    const char* name = "parameters-from-another-thread";
    Session session(plan.path, {});
    const std::int32_t count = session.host().record().parameterCount;
    std::atomic<bool> stop{false};
    std::atomic<long> changes{0};
    std::thread changer([&] {
        std::minstd_rand random(plan.seed);
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        while (!stop.load() && count > 0) {
            session.host().setParameterValue(static_cast<std::int32_t>(random() % count),
                                             value(random));
            changes.fetch_add(1);
        }
    });
    std::string failure;
    const int blocks = 100 * plan.level;
    for (int b = 0; b < blocks && failure.empty(); ++b)
        if (auto broken = session.perform(
                Call::process(b % 2 == 0 || !plan.facts.overwriting, 256, Input::Noise, b + 1)))
            failure = *broken;
    stop.store(true);
    changer.join();
    if (!failure.empty())
        return CheckResult::fail(name, failure + " while another thread set parameters");
    return CheckResult::pass(name, std::to_string(changes.load()) +
                                       " parameter changes from another thread during " +
                                       std::to_string(blocks) + " blocks of audio")
        .figure("changes", static_cast<double>(changes.load()));
}

// Two fresh instances fed the same noise, one through `first`, the other
// through `second`; the largest difference of their first outputs.
CheckResult compareRuns(const ValidationPlan& plan, const char* name, Call first, Call second,
                        const std::string& what) {
    if (!plan.facts.overwriting)
        return CheckResult::skip(name, "the plug-in has no overwriting entry");
    Session a(plan.path, {});
    Session b(plan.path, {});
    float largest = 0.0f;
    for (int block = 0; block < 40; ++block) {
        first.value = second.value = block + 1;
        if (auto failure = a.perform(first))
            return CheckResult::fail(name, *failure);
        if (auto failure = b.perform(second))
            return CheckResult::fail(name, *failure);
        largest = std::max(largest, largestDifference(a.firstOutput(), b.firstOutput()));
    }
    if (largest > 1e-6f)
        return CheckResult::fail(name, what + " differ by up to " + numberText(largest))
            .figure("difference", largest);
    return CheckResult::pass(name, what + " agree").figure("difference", largest);
}

CheckResult inPlace(const ValidationPlan& plan) {
    return compareRuns(plan, "audio-in-place", Call::process(false, Block, Input::Noise),
                       Call::process(false, Block, Input::Noise, 1, true),
                       "in-place and separate buffers");
}

CheckResult addingVsOverwriting(const ValidationPlan& plan) {
    return compareRuns(plan, "adding-vs-overwriting", Call::process(true, Block, Input::Noise),
                       Call::process(false, Block, Input::Noise),
                       "the adding and the overwriting entry");
}

std::vector<std::uint8_t> chunkOf(PluginHost& host, bool program) {
    void* data = nullptr;
    IntPtr size = host.dispatch(OpGetChunk, program ? 1 : 0, 0, &data);
    if (size <= 0 || !data)
        return {};
    auto* bytes = static_cast<const std::uint8_t*>(data);
    return {bytes, bytes + size};
}

CheckResult stateRoundTrip(const ValidationPlan& plan) {
    const char* name = "state-round-trip";
    if ((plan.facts.flags & ChunkPrograms) == 0)
        return CheckResult::skip(name, "the plug-in keeps no chunks");
    std::string found;
    for (bool program : {false, true}) {
        const char* kind = program ? "program" : "bank";
        Session a(plan.path, {});
        std::minstd_rand random(plan.seed);
        for (std::int32_t i = 0; i < plan.facts.parameters; ++i)
            a.host().setParameterValue(i, std::uniform_real_distribution<float>(0, 1)(random));
        std::vector<std::uint8_t> saved = chunkOf(a.host(), program);
        if (saved.empty())
            return CheckResult::fail(name, std::string("the ") + kind + " chunk is empty");
        Session b(plan.path, {});
        b.host().dispatch(OpSetChunk, program ? 1 : 0, static_cast<IntPtr>(saved.size()),
                          saved.data());
        if (chunkOf(b.host(), program) != saved)
            return CheckResult::fail(name, std::string("the ") + kind +
                                               " chunk read back after loading it differs");
        std::vector<float> outA, outB;
        std::string failure = runNoise(a, 40, true, outA);
        if (failure.empty())
            failure = runNoise(b, 40, true, outB);
        if (!failure.empty())
            return CheckResult::fail(name, failure);
        float difference = largestDifference(outA, outB);
        if (difference > 1e-5f)
            return CheckResult::fail(name, std::string("audio after the ") + kind +
                                               " chunk round trip differs by " +
                                               numberText(difference));
        found += std::string(found.empty() ? "" : ", ") + kind + " chunk of " +
                 std::to_string(saved.size()) + " bytes";
    }
    return CheckResult::pass(name, found + ": equal chunks and equal audio");
}

} // namespace

CheckResult identityCheck(const std::string& path) {
    const char* name = "identity";
    PluginHost host(path);
    const EffectRecord& record = host.record();
    std::string effectName = host.dispatchText(OpEffectName);
    std::string vendor = host.dispatchText(OpVendorText);
    std::string product = host.dispatchText(OpProductText);
    CheckResult result = CheckResult::pass(name, "");
    result.figure("parameters", record.parameterCount)
        .figure("programs", record.programCount)
        .figure("inputs", record.inputCount)
        .figure("outputs", record.outputCount)
        .figure("flags", record.flags)
        .figure("overwriting", record.processOverwriting ? 1 : 0);
    auto fail = [&](const std::string& found) {
        result.verdict = Verdict::Fail;
        result.found = found;
        return result;
    };
    if (record.parameterCount < 0 || record.parameterCount > 100000 || record.programCount < 0 ||
        record.programCount > 100000)
        return fail("unlikely counts: " + std::to_string(record.parameterCount) + " parameters, " +
                    std::to_string(record.programCount) + " programs");
    if (record.inputCount < 0 || record.inputCount > 64 || record.outputCount < 0 ||
        record.outputCount > 64)
        return fail("unlikely channel counts: " + std::to_string(record.inputCount) + " in, " +
                    std::to_string(record.outputCount) + " out");
    if (!record.processAdding)
        return fail("no adding process entry");
    if (record.parameterCount > 0 && (!record.setParameterValue || !record.parameterValue))
        return fail("parameters but no parameter entries");
    if (effectName.size() > EffectNameLimit || vendor.size() > VendorTextLimit ||
        product.size() > VendorTextLimit)
        return fail("name, vendor or product text too long: " + quoted(effectName) + ", " +
                    quoted(vendor) + ", " + quoted(product));
    char id[5] = {static_cast<char>(record.uniqueId >> 24),
                  static_cast<char>(record.uniqueId >> 16), static_cast<char>(record.uniqueId >> 8),
                  static_cast<char>(record.uniqueId), 0};
    result.found = quoted(effectName) + " by " + quoted(vendor) + ", id " + quoted(id) +
                   " version " + std::to_string(record.version) + ", " +
                   std::to_string(record.inputCount) + " in " + std::to_string(record.outputCount) +
                   " out, " + std::to_string(record.parameterCount) + " parameters, " +
                   std::to_string(record.programCount) + " programs";
    return result;
}

PluginFacts factsOf(const CheckResult& identity) {
    PluginFacts facts;
    for (const auto& [label, number] : identity.figures) {
        const auto value = static_cast<std::int32_t>(number);
        if (label == "parameters")
            facts.parameters = value;
        else if (label == "programs")
            facts.programs = value;
        else if (label == "outputs")
            facts.outputs = value;
        else if (label == "flags")
            facts.flags = value;
        else if (label == "overwriting")
            facts.overwriting = value != 0;
    }
    return facts;
}

const std::vector<PlainCheck>& plainChecks() {
    static const std::vector<PlainCheck> checks = {
        {"open-close-twice", openCloseTwice},
        {"two-instances", twoInstances},
        {"program-names", programNames},
        {"parameter-texts", parameterTexts},
        {"parameters-from-another-thread", parametersFromAnotherThread},
        {"audio-in-place", inPlace},
        {"adding-vs-overwriting", addingVsOverwriting},
        {"state-round-trip", stateRoundTrip},
    };
    return checks;
}
