#include "cli/validate/Checks.h"

#include "cli/validate/RealtimeProbe.h"
#include "host/EffectBase.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr std::array<float, 7> SampleRates = {22050.0f, 44100.0f,  48000.0f, 88200.0f,
                                              96000.0f, 176400.0f, 192000.0f};
constexpr std::array<std::int32_t, 12> BlockSizes = {0,   1,   7,    32,   64,   128,
                                                     256, 512, 1024, 2048, 4096, 8192};
// Dispatcher calls made by the fuzzing check at each level.
constexpr std::array<long, 10> FuzzCalls = {1000,   3000,   10000,  30000,  60000,
                                            100000, 200000, 400000, 700000, 1000000};

using Random = std::minstd_rand;

int pick(Random& random, int count) {
    return count > 0 ? static_cast<int>(random() % static_cast<unsigned>(count)) : 0;
}

float unit(Random& random) {
    return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
}

// Processing through the overwriting entry when there is one, else adding.
bool addingFor(const PluginFacts& facts, int turn) {
    return !facts.overwriting || turn % 2 == 0;
}

void restartAt(CallList& calls, float rate, std::int32_t block) {
    calls.push_back(Call::dispatch(OpSuspendResume, 0, 0));
    calls.push_back(Call::dispatch(OpSetSampleRate, 0, 0, rate));
    calls.push_back(Call::dispatch(OpSetBlockSize, 0, block));
    calls.push_back(Call::dispatch(OpSuspendResume, 0, 1));
}

SequenceCheck programChanges(const ValidationPlan& plan, Random& random) {
    SequenceCheck check{"program-changes", {}, {}, "", ""};
    const int programs = plan.facts.programs;
    if (programs == 0) {
        check.skipText = "the plug-in has no programs";
        return check;
    }
    const int changes = 100 * plan.level;
    for (int i = 0; i < programs + changes; ++i) {
        Call call;
        call.kind = CallKind::SelectProgram;
        call.index = i < programs ? i : pick(random, programs);
        check.calls.push_back(call);
    }
    check.passText = std::to_string(changes) + " random changes over " + std::to_string(programs) +
                     " programs: names and values restored";
    return check;
}

SequenceCheck parameterValues(const ValidationPlan& plan, Random& random) {
    SequenceCheck check{"parameter-values", {}, {}, "", ""};
    const int parameters = plan.facts.parameters;
    if (parameters == 0) {
        check.skipText = "the plug-in has no parameters";
        return check;
    }
    constexpr float Odd[] = {
        -1.0f, 2.0f, 1e30f, -1e30f, INFINITY, -INFINITY, std::numeric_limits<float>::quiet_NaN()};
    const int rounds = 200 * plan.level;
    for (int i = 0; i < rounds; ++i) {
        const auto index = static_cast<std::int32_t>(pick(random, parameters));
        const bool odd = pick(random, 4) == 0;
        check.calls.push_back(Call::setParameter(index, odd ? Odd[pick(random, 7)] : unit(random)));
        Call get;
        get.kind = CallKind::GetParameter;
        get.index = index;
        check.calls.push_back(get);
        if (i % 4 == 3)
            check.calls.push_back(Call::process(addingFor(plan.facts, i), 64, Input::Noise, i + 1));
    }
    check.passText = std::to_string(rounds) + " values set and read back (a quarter out of "
                                              "range or NaN) between blocks of audio";
    return check;
}

SequenceCheck ratesAndBlocks(const ValidationPlan& plan, Random&) {
    SequenceCheck check{"audio-rates-and-blocks", {}, {}, "", ""};
    int turn = 0;
    for (float rate : SampleRates) {
        restartAt(check.calls, rate, Session::MaxFrames);
        for (std::int32_t block : BlockSizes)
            for (int entry = 0; entry < 2; ++entry, ++turn)
                check.calls.push_back(
                    Call::process(addingFor(plan.facts, turn), block, Input::Noise, turn + 1));
        // Silence long enough for the settling rule to look at the last blocks.
        for (float done = 0; done < 2.5f * rate; done += 4096)
            check.calls.push_back(
                Call::process(addingFor(plan.facts, ++turn), 4096, Input::Silence));
    }
    check.passText = "noise and silence at 22050 to 192000 Hz in blocks of 0 to 8192 "
                     "frames: finite output that settles";
    return check;
}

SequenceCheck changesWithoutSuspend(const ValidationPlan& plan, Random& random) {
    SequenceCheck check{"audio-changes-without-suspend", {}, {}, "", ""};
    const int changes = 50 * plan.level;
    for (int i = 0; i < changes; ++i) {
        std::int32_t block = BlockSizes[static_cast<std::size_t>(pick(random, BlockSizes.size()))];
        if (pick(random, 2) == 0)
            check.calls.push_back(Call::dispatch(
                OpSetSampleRate, 0, 0,
                SampleRates[static_cast<std::size_t>(pick(random, SampleRates.size()))]));
        else
            check.calls.push_back(Call::dispatch(OpSetBlockSize, 0, block));
        check.calls.push_back(
            Call::process(addingFor(plan.facts, i), pick(random, block + 1), Input::Noise, i + 1));
    }
    check.passText =
        std::to_string(changes) + " sample-rate and block-size changes while processing";
    return check;
}

SequenceCheck extremeInput(const ValidationPlan& plan, Random&) {
    SequenceCheck check{"audio-extreme-input", {}, {}, "", ""};
    int turn = 0;
    for (Input odd : {Input::NotANumber, Input::Infinity, Input::Huge}) {
        for (int entry = 0; entry < 2; ++entry) {
            check.calls.push_back(Call::process(addingFor(plan.facts, ++turn), 512, odd));
            for (int i = 0; i < 4; ++i)
                check.calls.push_back(
                    Call::process(addingFor(plan.facts, turn), 512, Input::Noise, turn));
        }
    }
    check.passText = "finite output for finite input after NaN, infinite and 1e30 input";
    return check;
}

SequenceCheck realtimeSafety(const ValidationPlan& plan, Random& random) {
    SequenceCheck check{"realtime-safety", {}, {}, "", ""};
    check.rules.countRealtimeCalls = true;
    if (!realtimeCallsCounted()) {
        check.skipText = "allocations and locks are not counted in this build";
        return check;
    }
    const int rounds = 20 * plan.level;
    for (int i = 0; i < rounds; ++i) {
        check.calls.push_back(Call::process(addingFor(plan.facts, i), 256, Input::Noise, i + 1));
        if (plan.facts.parameters > 0)
            check.calls.push_back(Call::setParameter(
                static_cast<std::int32_t>(pick(random, plan.facts.parameters)), unit(random)));
    }
    check.passText = "no allocation or mutex lock in " + std::to_string(rounds) +
                     " blocks and parameter changes";
    return check;
}

SequenceCheck stateFuzz(const ValidationPlan& plan, Random& random) {
    SequenceCheck check{"state-fuzz", {}, {}, "", ""};
    if ((plan.facts.flags & ChunkPrograms) == 0) {
        check.skipText = "the plug-in keeps no chunks";
        return check;
    }
    const int loads = 30 * plan.level;
    for (int i = 0; i < loads; ++i) {
        Call call;
        call.kind = CallKind::DamagedChunk;
        call.index = pick(random, 2);
        call.damage = static_cast<Damage>(pick(random, 3));
        call.value = call.damage == Damage::HugeSize ? (1 << 20) + pick(random, 15 << 20)
                                                     : pick(random, 4096);
        call.mask = static_cast<std::uint8_t>(1 + pick(random, 255));
        check.calls.push_back(call);
    }
    check.passText =
        std::to_string(loads) + " damaged chunks loaded; each refused one left the state as it was";
    return check;
}

Call fuzzedDispatch(const ValidationPlan& plan, Random& random) {
    // Every opcode of the interface but those that end the instance or need
    // a window, and a few it does not know.
    static constexpr std::array<std::int32_t, 4> Excluded = {OpOpen, OpClose, OpEditorOpen, 41};
    std::int32_t opcode;
    do {
        opcode = -3 + pick(random, 62 + 3);
    } while (std::find(Excluded.begin(), Excluded.end(), opcode) != Excluded.end() ||
             (opcode >= OpEditorRect && opcode <= OpEditorIdle));
    const int items = std::max(plan.facts.parameters, plan.facts.programs);
    const std::int32_t index =
        pick(random, 10) == 0 ? pick(random, items + 6) - 3 : pick(random, std::max(items, 1));
    IntPtr value = pick(random, 3) == 0 ? pick(random, 2) : pick(random, 100000) - 1000;
    float opt = unit(random);
    if (opcode == OpSetSampleRate || opcode == 43)
        opt = SampleRates[static_cast<std::size_t>(pick(random, SampleRates.size()))];
    if (opcode == OpSetBlockSize || opcode == 43)
        value = BlockSizes[static_cast<std::size_t>(pick(random, BlockSizes.size()))];
    if (opcode == OpSetProgram && pick(random, 2) == 0)
        value = pick(random, std::max(plan.facts.programs, 1));
    return Call::dispatch(opcode, index, value, opt);
}

SequenceCheck dispatcherFuzz(const ValidationPlan& plan, Random& random) {
    SequenceCheck check{"dispatcher-fuzz", {}, {}, "", ""};
    const long count = FuzzCalls[static_cast<std::size_t>(plan.level - 1)];
    check.calls.reserve(static_cast<std::size_t>(count + count / 10));
    for (long i = 0; i < count; ++i) {
        check.calls.push_back(fuzzedDispatch(plan, random));
        if (i % 64 == 63) {
            if (plan.facts.parameters > 0)
                check.calls.push_back(Call::setParameter(
                    static_cast<std::int32_t>(pick(random, plan.facts.parameters)), unit(random)));
            check.calls.push_back(
                Call::process(addingFor(plan.facts, static_cast<int>(i)), 32, Input::Noise, i));
        }
    }
    check.passText = std::to_string(count) +
                     " random dispatcher calls with valid buffers, audio between them finite";
    return check;
}

SequenceCheck editor(const ValidationPlan& plan, Random&) {
    SequenceCheck check{"editor", {}, {}, "", ""};
    if ((plan.facts.flags & HasEditor) == 0) {
        check.skipText = "the plug-in has no editor";
        return check;
    }
    check.rules.audioOnAnotherThread = true;
    const int idles = 3 * plan.level;
    for (int round = 0; round < 2; ++round) {
        // The rectangle sizes the host's window before opening; asked again
        // once open, it must be there.
        check.calls.push_back(Call::editor(OpEditorRect));
        check.calls.push_back(Call::editor(OpEditorOpen, plan.noWindow.empty()));
        check.calls.push_back(Call::editor(OpEditorRect));
        for (int i = 0; i < idles; ++i)
            check.calls.push_back(Call::editor(OpEditorIdle));
        check.calls.push_back(Call::editor(OpEditorClose));
    }
    check.passText =
        "rectangle, open, " + std::to_string(idles) + " idle calls and close, twice, " +
        (plan.noWindow.empty() ? "in a host window" : "with no parent (" + plan.noWindow + ")") +
        ", while audio ran on another thread";
    return check;
}

} // namespace

std::vector<SequenceCheck> sequenceChecks(const ValidationPlan& plan) {
    using Maker = SequenceCheck (*)(const ValidationPlan&, Random&);
    static constexpr Maker Makers[] = {
        programChanges, parameterValues, ratesAndBlocks, changesWithoutSuspend,
        extremeInput,   realtimeSafety,  stateFuzz,      dispatcherFuzz,
        editor};
    std::vector<SequenceCheck> checks;
    std::uint32_t stream = 0;
    for (Maker make : Makers) {
        // Each check has its own stream, so adding one leaves the others as they were.
        Random random(plan.seed * 7919u + ++stream);
        checks.push_back(make(plan, random));
    }
    return checks;
}
