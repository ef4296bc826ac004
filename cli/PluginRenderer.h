#pragma once
// Runs audio through a loaded plug-in the way a host's audio thread does:
// resume, then one call of an audio entry per block, then suspend. All
// buffers are made before the first block, so the block loop allocates
// nothing.

#include "cli/ParameterSettings.h"
#include "cli/PresetFile.h"
#include "cli/StereoAudio.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class PluginHost;
struct PluginSource;

constexpr std::int32_t DefaultRenderBlockSize = 1024;

struct RenderSettings {
    std::int32_t blockSize = DefaultRenderBlockSize;
    // processAdding into zeroed outputs instead of processOverwriting.
    bool adding = false;
    // Loaded first, before the program and the parameters.
    std::optional<Preset> preset;
    std::optional<std::int32_t> program;
    std::vector<ParameterSetting> parameters;
    // Runs on the loaded instance after the program and the parameters,
    // before the first block (render --curve draws the curve here).
    std::function<void(PluginHost&)> prepare;
    // Runs on the instance once the last block is rendered and processing
    // is suspended, before the instance closes (render --save-preset).
    std::function<void(PluginHost&)> finish;
};

// Told after every block how many frames are done, and the total (-1 when
// the source does not know it).
using RenderProgress = std::function<void(std::int64_t done, std::int64_t total)>;

class PluginRenderer {
  public:
    // Checks the plug-in's channel counts and makes the buffers for blocks
    // of up to `blockSize` frames.
    PluginRenderer(PluginHost& host, std::int32_t blockSize, bool adding);

    // Resumes the plug-in, renders the source to its end and suspends it.
    // A stereo plug-in gets the source's channels as they are; one with a
    // single input gets their average, and extra inputs get silence. The
    // sink gets the first two outputs (a single output on both channels).
    // Returns the number of frames rendered.
    std::int64_t render(FrameSource& source, FrameSink& sink, const RenderProgress& progress = {});

  private:
    void processBlock(std::int32_t frames);

    PluginHost& host;
    std::int32_t blockSize;
    bool adding;
    std::vector<std::vector<float>> inputChannels;
    std::vector<std::vector<float>> outputChannels;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
    std::vector<float> sourceLeft;
    std::vector<float> sourceRight;
};

// Loads the plug-in at the source's sample rate with the settings' block
// size, loads the preset, selects the program and sets the parameters (in
// that order, so each overrides the one before), then renders the source
// into the sink.
std::int64_t renderThroughPlugin(const std::string& pluginPath, FrameSource& source,
                                 FrameSink& sink, const RenderSettings& settings,
                                 const RenderProgress& progress = {});
std::int64_t renderThroughPlugin(const PluginSource& plugin, FrameSource& source, FrameSink& sink,
                                 const RenderSettings& settings,
                                 const RenderProgress& progress = {});
