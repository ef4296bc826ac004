#pragma once
// Plays test signals through a loaded plug-in, a block at a time as a
// host's audio thread does, and records what comes out. The same mono
// signal goes to every input; the first output is recorded.

#include <cstdint>
#include <vector>

class PluginHost;

class PluginProbe {
  public:
    static constexpr std::int32_t BlockSize = 1024;
    // Silence played before every signal, so that what the previous one
    // left in the plug-in has died away.
    static constexpr std::int32_t LeadIn = 4800;

    // Silence played once before the first signal, so that whatever the
    // plug-in eases towards after being set up (a gliding cutoff) is reached.
    static constexpr std::int32_t WarmUp = 48000;

    // A CommandError when the plug-in has no inputs or no outputs; resumes
    // the plug-in and plays the warm-up.
    explicit PluginProbe(PluginHost& host);
    // Suspends it again.
    ~PluginProbe();
    PluginProbe(const PluginProbe&) = delete;
    PluginProbe& operator=(const PluginProbe&) = delete;

    // The output for `signal` followed by `tail` samples of silence, after
    // the lead-in (which is not returned).
    std::vector<double> play(const std::vector<double>& signal, std::int32_t tail = 0);

  private:
    void processBlock(std::int32_t frames);

    PluginHost& host;
    std::vector<std::vector<float>> inputs;
    std::vector<std::vector<float>> outputs;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
};
