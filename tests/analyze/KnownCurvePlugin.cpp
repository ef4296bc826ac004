// A plug-in with a known transfer curve, for measuring the measurements:
// built as a hard clip at 0.5 behind a delay of ClipDelay samples (which
// it declares), or with KNOWN_CURVE_CUBIC as y = x - x^3 / 3 with no delay.
// Both channels alike; written on the record alone, without the project's
// effect classes.

#include "tests/analyze/KnownCurves.h"
#include "tests/cli/fixtures/ExportMain.h"

#include <array>

namespace {

#if defined(KNOWN_CURVE_CUBIC)
constexpr int Delay = 0;
float curve(float x) {
    return cubicCurve(x);
}
#else
constexpr int Delay = ClipDelay;
float curve(float x) {
    return clipCurve(x);
}
#endif

// Per channel: the last Delay inputs, oldest at `position`.
std::array<std::array<float, Delay + 1>, 2> history{};
int position = 0;

IntPtr VARNEX_CALL dispatch(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr, void*,
                            float) {
    if (opcode == 12) // resume or suspend: start from silence
        history = {};
    return 0;
}

template <bool Adding>
void VARNEX_CALL process(EffectRecord*, float** in, float** out, std::int32_t frames) {
    for (std::int32_t i = 0; i < frames; ++i) {
        for (int c = 0; c < 2; ++c) {
            auto& line = history[static_cast<std::size_t>(c)];
            line[static_cast<std::size_t>(position)] = in[c][i];
            const float delayed = line[static_cast<std::size_t>((position + 1) % (Delay + 1))];
            const float y = curve(delayed);
            out[c][i] = Adding ? out[c][i] + y : y;
        }
        position = (position + 1) % (Delay + 1);
    }
}

EffectRecord record = [] {
    EffectRecord made{};
    made.magic = EffectMagic;
    made.dispatch = dispatch;
    made.processAdding = process<true>;
    made.processOverwriting = process<false>;
    made.inputCount = 2;
    made.outputCount = 2;
    made.flags = CanOverwrite;
    made.initialDelay = Delay;
    made.uniqueId = fourCharCode('K', 'n', 'C', 'v');
    return made;
}();

} // namespace

DECLARE_FIXTURE_MAIN(knownCurveMain);
extern "C" EffectRecord* knownCurveMain(HostCallback) {
    return &record;
}
