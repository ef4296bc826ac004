// audio_fingerprint [PLUGIN] [--samples]
//
// Runs a fixed set of cases through a plug-in's record and prints, per case,
// a hash of every output sample's bits. Built in every build, the Windows
// cross builds included, so that the Windows DLLs under wine can be held to
// the Linux plug-in's audio bit for bit (scripts/wine-compare.sh). With
// --samples it prints each output frame instead, to find where two builds
// part. PLUGIN defaults to the Varnex plug-in beside the program.
//
// The input signals come from integer arithmetic and exact float steps
// only, so every build feeds the plug-in the same samples.

#include "cli/CommandError.h"
#include "cli/PluginHost.h"
#include "host/EffectBase.h"

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t Frames = 24000;

struct Change {
    std::int32_t frame; // the change is made before the block holding this frame
    std::int32_t index; // parameter index, or -1 for a suspend and resume
    float value;
};

struct Case {
    const char* name;
    float sampleRate;
    std::int32_t blockSize;
    bool adding;
    bool edgeValues; // NaN, infinities, the largest floats and subnormals in the input
    std::vector<Change> changes;
};

constexpr std::int32_t Suspend = -1;

// Defaults first (the first cutoff ramp, then the plain loop), then the
// other entry, both filter modes, other rates, odd block sizes, automation
// during ramps, a suspend, and inputs at the edges of float32.
std::vector<Case> cases() {
    return {
        {"defaults", 44100.0f, 512, false, false, {}},
        {"driven-adding",
         44100.0f,
         333,
         true,
         false,
         {{0, 1, 1.0f}, {0, 2, 0.8f}, {0, 3, 0.8f}, {0, 4, 0.3f}, {0, 7, 0.2f}}},
        {"high-pass-96k",
         96000.0f,
         64,
         false,
         false,
         {{0, 5, 1.0f}, {0, 6, 1.0f}, {0, 2, 0.15f}, {0, 4, 0.9f}, {0, 3, 1.0f}}},
        {"automation-48k",
         48000.0f,
         100,
         false,
         false,
         {{1000, 0, 0.0f}, // parameter 0: the table rebuilt from the plug-in's curve
          {3000, 2, 0.05f},
          {6000, 4, 1.0f},
          {8000, 5, 1.0f},
          {9000, 1, 0.9f},
          {11000, 2, 0.7f},
          {12000, Suspend, 0.0f},
          {15000, 6, 1.0f},
          {17000, 7, 0.6f},
          {19000, 4, 0.0f},
          {21000, 5, 0.0f}}},
        {"edges", 22050.0f, 1, false, true, {{0, 1, 0.75f}, {0, 6, 1.0f}, {0, 4, 0.6f}}},
    };
}

// Uniform in [-level, level): an integer generator, turned into floats by
// exact conversions and one rounded product.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state(seed) {}
    float next(float level) {
        state = state * 1664525u + 1013904223u;
        const auto centred = static_cast<std::int32_t>(state >> 8) - (1 << 23);
        return static_cast<float>(centred) * (level / 8388608.0f);
    }

  private:
    std::uint32_t state;
};

struct Signal {
    std::vector<float> left;
    std::vector<float> right;
};

// Left: a triangle wave of period 200 frames plus light noise, peaking
// above 1. Right: louder noise. Edge values replace some samples.
Signal makeInput(bool edgeValues) {
    Signal signal{std::vector<float>(Frames), std::vector<float>(Frames)};
    Noise noise(12345u);
    for (std::int32_t i = 0; i < Frames; ++i) {
        const std::int32_t phase = i % 200;
        const std::int32_t triangle = phase < 100 ? phase - 50 : 150 - phase; // -50 .. 50
        signal.left[static_cast<std::size_t>(i)] =
            static_cast<float>(triangle) * 0.03125f + noise.next(0.2f);
        signal.right[static_cast<std::size_t>(i)] = noise.next(1.4f);
    }
    if (edgeValues) {
        constexpr float Max = std::numeric_limits<float>::max();
        const float edges[] = {std::numeric_limits<float>::quiet_NaN(),
                               std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<float>::infinity(),
                               Max,
                               -Max,
                               std::numeric_limits<float>::denorm_min(),
                               -1.0e-40f,
                               1.0e30f};
        std::size_t next = 0;
        for (std::size_t i = 500; i + 1 < static_cast<std::size_t>(Frames); i += 777) {
            signal.left[i] = edges[next % std::size(edges)];
            signal.right[i + 1] = edges[(next + 3) % std::size(edges)];
            ++next;
        }
        // A stretch of subnormals: the tail a filter rings into.
        for (std::size_t i = 20000; i < 21000; ++i) {
            signal.left[i] = 1.0e-39f;
            signal.right[i] = -3.0e-41f;
        }
    }
    return signal;
}

Signal run(const std::string& plugin, const Case& c) {
    const Signal input = makeInput(c.edgeValues);
    Signal output{std::vector<float>(Frames), std::vector<float>(Frames)};
    if (c.adding) {
        Noise noise(777u);
        for (std::int32_t i = 0; i < Frames; ++i) {
            output.left[static_cast<std::size_t>(i)] = noise.next(0.5f);
            output.right[static_cast<std::size_t>(i)] = noise.next(0.5f);
        }
    }
    PluginHost host(plugin, c.sampleRate, c.blockSize);
    host.resume();
    std::vector<float> inLeft(static_cast<std::size_t>(c.blockSize));
    std::vector<float> inRight(static_cast<std::size_t>(c.blockSize));
    std::size_t nextChange = 0;
    for (std::int32_t start = 0; start < Frames; start += c.blockSize) {
        const std::int32_t frames = std::min(c.blockSize, Frames - start);
        while (nextChange < c.changes.size() && c.changes[nextChange].frame < start + frames) {
            const Change& change = c.changes[nextChange++];
            if (change.index == Suspend) {
                host.suspend();
                host.resume();
            } else {
                host.setParameterValue(change.index, change.value);
            }
        }
        // The plug-in may write its inputs: it gets copies.
        const auto at = static_cast<std::size_t>(start);
        std::memcpy(inLeft.data(), input.left.data() + at, sizeof(float) * frames);
        std::memcpy(inRight.data(), input.right.data() + at, sizeof(float) * frames);
        float* inputs[2] = {inLeft.data(), inRight.data()};
        float* outputs[2] = {output.left.data() + at, output.right.data() + at};
        if (c.adding) {
            host.processAdding(inputs, outputs, frames);
        } else {
            host.processOverwriting(inputs, outputs, frames);
        }
    }
    host.suspend();
    return output;
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// FNV-1a over the bits of left and right, frame by frame.
std::uint64_t hashOf(const Signal& output) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::size_t i = 0; i < output.left.size(); ++i) {
        for (const float sample : {output.left[i], output.right[i]}) {
            const std::uint32_t bits = bitsOf(sample);
            for (int byte = 0; byte < 4; ++byte) {
                hash ^= (bits >> (8 * byte)) & 0xFFu;
                hash *= 1099511628211ull;
            }
        }
    }
    return hash;
}

} // namespace

int main(int argc, char** argv) {
    std::string plugin;
    bool samples = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--samples") {
            samples = true;
        } else if (plugin.empty() && !argument.empty() && argument[0] != '-') {
            plugin = argument;
        } else {
            std::fprintf(stderr, "usage: audio_fingerprint [PLUGIN] [--samples]\n");
            return 2;
        }
    }
    try {
        if (plugin.empty()) {
            plugin = defaultPluginPath();
        }
        for (const Case& c : cases()) {
            const Signal output = run(plugin, c);
            if (samples) {
                for (std::size_t i = 0; i < output.left.size(); ++i) {
                    std::printf("%s %u %08" PRIx32 " %08" PRIx32 " %.9g %.9g\n", c.name,
                                static_cast<unsigned>(i), bitsOf(output.left[i]),
                                bitsOf(output.right[i]), static_cast<double>(output.left[i]),
                                static_cast<double>(output.right[i]));
                }
            } else {
                std::printf("%-16s %6d frames  %016" PRIx64 "\n", c.name, Frames, hashOf(output));
            }
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "audio_fingerprint: %s\n", failure.what());
        return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
