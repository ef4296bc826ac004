#pragma once
// Audio played through an instance on a thread of its own while the
// validator's thread does something else with it (the editor, say), as a
// host plays music while the user works. Noise goes in, block after block,
// and every output sample must be finite.

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

class PluginHost;

class BackgroundAudio {
  public:
    // Starts the thread and waits (bounded) until it has played its first
    // block; the instance must already be resumed.
    explicit BackgroundAudio(PluginHost& host);
    // Stops the thread and waits for it.
    ~BackgroundAudio();
    BackgroundAudio(const BackgroundAudio&) = delete;
    BackgroundAudio& operator=(const BackgroundAudio&) = delete;

    // The broken rule, as "rule: details", once a block broke one; the
    // thread stops at the first.
    std::string failure() const;
    long blocks() const { return blockCount.load(); }

  private:
    void run();
    bool processBlock(std::uint32_t number);

    PluginHost& host;
    bool overwriting;
    std::vector<std::vector<float>> inputs;
    std::vector<std::vector<float>> outputs;
    std::vector<float*> in;
    std::vector<float*> out;
    std::size_t checkedOutputs;
    std::atomic<bool> running{true};
    std::atomic<bool> broken{false};
    std::atomic<long> blockCount{0};
    std::string brokenRule; // written before `broken` is set
    std::thread worker;
};
