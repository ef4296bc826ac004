#include "cli/validate/BackgroundAudio.h"

#include "cli/PluginHost.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

namespace {

constexpr std::int32_t Frames = 256;
// A pause between blocks, so that the thread leaves the other threads of a
// busy machine their share, as a device's period would.
constexpr auto Pause = std::chrono::milliseconds(2);
constexpr auto FirstBlockTimeout = std::chrono::seconds(5);

} // namespace

BackgroundAudio::BackgroundAudio(PluginHost& host) : host(host) {
    const EffectRecord& record = host.record();
    overwriting = (record.flags & CanOverwrite) != 0 && record.processOverwriting;
    const auto channels = static_cast<std::size_t>(
        std::clamp(std::max(record.inputCount, record.outputCount), 2, 64));
    checkedOutputs = static_cast<std::size_t>(std::clamp(record.outputCount, 0, 64));
    inputs.assign(channels, std::vector<float>(Frames));
    outputs.assign(channels, std::vector<float>(Frames));
    for (std::size_t c = 0; c < channels; ++c) {
        in.push_back(inputs[c].data());
        out.push_back(outputs[c].data());
    }
    worker = std::thread([this] { run(); });
    const auto deadline = std::chrono::steady_clock::now() + FirstBlockTimeout;
    while (blockCount.load() == 0 && !broken.load() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

BackgroundAudio::~BackgroundAudio() {
    running.store(false);
    worker.join();
}

std::string BackgroundAudio::failure() const {
    return broken.load(std::memory_order_acquire) ? brokenRule : std::string();
}

void BackgroundAudio::run() {
    for (std::uint32_t number = 1; running.load() && processBlock(number); ++number) {
        blockCount.fetch_add(1);
        std::this_thread::sleep_for(Pause);
    }
}

bool BackgroundAudio::processBlock(std::uint32_t number) {
    std::minstd_rand noise(number);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    for (auto& channel : inputs)
        for (float& x : channel)
            x = sample(noise);
    for (auto& channel : outputs)
        std::fill(channel.begin(), channel.end(), 0.0f);
    if (overwriting)
        host.processOverwriting(in.data(), out.data(), Frames);
    else
        host.processAdding(in.data(), out.data(), Frames);
    for (std::size_t c = 0; c < checkedOutputs; ++c)
        for (std::int32_t i = 0; i < Frames; ++i)
            if (!std::isfinite(outputs[c][static_cast<std::size_t>(i)])) {
                brokenRule = "non-finite output: at frame " + std::to_string(i) + " of output " +
                             std::to_string(c) + " of block " + std::to_string(number) +
                             " on the audio thread, for noise";
                broken.store(true, std::memory_order_release);
                return false;
            }
    return true;
}
