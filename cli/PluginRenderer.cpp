#include "cli/PluginRenderer.h"

#include "cli/CommandError.h"
#include "cli/PluginHost.h"
#include "cli/PluginPresets.h"

#include <algorithm>

namespace {

// More channels than any real plug-in has: a larger count is a broken record.
constexpr std::int32_t MaxChannels = 64;

std::int32_t checkedChannelCount(std::int32_t count, const char* what, const std::string& path) {
    if (count < 0 || count > MaxChannels)
        throw CommandError("the plug-in " + path + " reports " + std::to_string(count) + " " +
                           what + ", which no host can serve");
    return count;
}

} // namespace

PluginRenderer::PluginRenderer(PluginHost& host, std::int32_t blockSize, bool adding)
    : host(host), blockSize(blockSize), adding(adding) {
    std::int32_t inputs = checkedChannelCount(host.record().inputCount, "inputs", host.path());
    std::int32_t outputs = checkedChannelCount(host.record().outputCount, "outputs", host.path());
    if (outputs == 0)
        throw CommandError("the plug-in " + host.path() + " has no audio outputs");
    if (!adding && !host.record().processOverwriting)
        throw CommandError("the plug-in " + host.path() +
                           " has no overwriting process entry; try --adding");
    auto frames = static_cast<std::size_t>(blockSize);
    inputChannels.assign(static_cast<std::size_t>(inputs), std::vector<float>(frames, 0.0f));
    outputChannels.assign(static_cast<std::size_t>(outputs), std::vector<float>(frames, 0.0f));
    for (auto& channel : inputChannels)
        inputPointers.push_back(channel.data());
    for (auto& channel : outputChannels)
        outputPointers.push_back(channel.data());
    sourceLeft.assign(frames, 0.0f);
    sourceRight.assign(frames, 0.0f);
}

void PluginRenderer::processBlock(std::int32_t frames) {
    auto count = static_cast<std::size_t>(frames);
    if (inputChannels.size() == 1) {
        for (std::size_t i = 0; i < count; ++i)
            inputChannels[0][i] = 0.5f * (sourceLeft[i] + sourceRight[i]);
    } else if (inputChannels.size() >= 2) {
        std::copy_n(sourceLeft.begin(), count, inputChannels[0].begin());
        std::copy_n(sourceRight.begin(), count, inputChannels[1].begin());
    }
    if (adding) {
        for (auto& channel : outputChannels)
            std::fill_n(channel.begin(), count, 0.0f);
        host.processAdding(inputPointers.data(), outputPointers.data(), frames);
    } else {
        host.processOverwriting(inputPointers.data(), outputPointers.data(), frames);
    }
}

std::int64_t PluginRenderer::render(FrameSource& source, FrameSink& sink,
                                    const RenderProgress& progress) {
    const float* left = outputChannels[0].data();
    const float* right = outputChannels.size() > 1 ? outputChannels[1].data() : left;
    std::int64_t total = source.frameCount();
    std::int64_t done = 0;
    host.resume();
    // Suspended again however the loop ends, as a host stops its audio.
    struct SuspendOnExit {
        PluginHost& host;
        ~SuspendOnExit() { host.suspend(); }
    } suspendOnExit{host};
    for (;;) {
        std::int64_t frames = source.read(sourceLeft.data(), sourceRight.data(), blockSize);
        if (frames <= 0)
            break;
        processBlock(static_cast<std::int32_t>(frames));
        sink.write(left, right, frames);
        done += frames;
        if (progress)
            progress(done, total);
    }
    return done;
}

std::int64_t renderThroughPlugin(const std::string& pluginPath, FrameSource& source,
                                 FrameSink& sink, const RenderSettings& settings,
                                 const RenderProgress& progress) {
    return renderThroughPlugin(PluginSource::file(pluginPath), source, sink, settings, progress);
}

std::int64_t renderThroughPlugin(const PluginSource& plugin, FrameSource& source, FrameSink& sink,
                                 const RenderSettings& settings, const RenderProgress& progress) {
    PluginHost host(plugin, static_cast<float>(source.sampleRate()), settings.blockSize);
    if (settings.preset)
        loadPreset(host, *settings.preset);
    if (settings.program)
        selectProgram(host, *settings.program);
    applyParameterSettings(host, settings.parameters);
    if (settings.prepare)
        settings.prepare(host);
    PluginRenderer renderer(host, settings.blockSize, settings.adding);
    const std::int64_t frames = renderer.render(source, sink, progress);
    if (settings.finish)
        settings.finish(host);
    return frames;
}
