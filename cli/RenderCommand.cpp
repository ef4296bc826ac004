// varnex render [IN] [-o OUT] [--plugin PATH] [--preset FILE] [--set NAME=VALUE ...]
//               [--program N] [--block FRAMES] [--adding]
//               [--curve X,Y;X,Y;... [--curve-normalized]] [--save-preset FILE.fxp|.fxb]

#include "cli/RenderOptions.h"

#include "cli/AudioFile.h"
#include "cli/CommandError.h"
#include "cli/DemoSong.h"
#include "cli/EditorSession.h"
#include "cli/LinkedPlugin.h"
#include "cli/PendingFile.h"
#include "cli/PluginHost.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

namespace fs = std::filesystem;

namespace {

// Audio longer than this gets a progress line while it renders.
constexpr double ProgressAfterSeconds = 30.0;

class ProgressLine {
  public:
    ProgressLine(std::string label, std::int64_t total, double sampleRate)
        : label(std::move(label)),
          shown(total > 0 && static_cast<double>(total) > ProgressAfterSeconds * sampleRate) {}
    ~ProgressLine() {
        if (shown && lastPercent >= 0)
            std::fputc('\n', stderr);
    }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void update(std::int64_t done, std::int64_t total) {
        if (!shown || total <= 0)
            return;
        int percent = static_cast<int>(std::min<std::int64_t>(100, done * 100 / total));
        if (percent == lastPercent)
            return;
        lastPercent = percent;
        std::fprintf(stderr, "\rvarnex: rendering %s: %3d%%", label.c_str(), percent);
        std::fflush(stderr);
    }

  private:
    std::string label;
    bool shown;
    int lastPercent = -1;
};

std::string describe(const RenderOptions& options, const PluginSource& plugin) {
    const std::string name =
        plugin.entry ? plugin.label : fs::path(plugin.path).filename().string();
    return "plug-in " + name + (options.state.curve ? " with a drawn curve" : "") + ", block " +
           std::to_string(options.settings.blockSize) + ", " +
           (options.settings.adding ? "adding" : "overwriting");
}

// Renders `source` into a new WAV file at `outputPath`; returns the frames.
std::int64_t renderToFile(FrameSource& source, const std::string& label,
                          const std::string& outputPath, const PluginSource& plugin,
                          const RenderSettings& settings) {
    checkOutputFolder(outputPath);
    PendingFile output(outputPath);
    std::int64_t frames = 0;
    {
        WavFileWriter writer(output.temporaryPath(), source.sampleRate(), settings.blockSize);
        ProgressLine progress(label, source.frameCount(), source.sampleRate());
        frames = renderThroughPlugin(
            plugin, source, writer, settings,
            [&progress](std::int64_t done, std::int64_t total) { progress.update(done, total); });
        writer.finish();
    }
    output.commit();
    return frames;
}

void reportWritten(const std::string& path, std::int64_t frames, double sampleRate,
                   const std::string& how) {
    std::printf("wrote %s: %.2f s at %.0f Hz, stereo 32-bit float (%s)\n", path.c_str(),
                static_cast<double>(frames) / sampleRate, sampleRate, how.c_str());
}

int renderFile(const RenderOptions& options, const PluginSource& plugin) {
    std::string outputPath =
        options.outputPath.empty() ? defaultOutputPath(options.inputPath) : options.outputPath;
    if (sameFile(options.inputPath, outputPath))
        throw UsageError("render: the output " + outputPath +
                         " is the input file; choose another with -o");
    AudioFileReader reader(options.inputPath, options.settings.blockSize);
    std::int64_t frames =
        renderToFile(reader, options.inputPath, outputPath, plugin, options.settings);
    reportWritten(outputPath, frames, reader.sampleRate(), describe(options, plugin));
    return ExitSuccess;
}

int renderDemo(const RenderOptions& options, const PluginSource& plugin) {
    fs::path folder =
        options.outputPath.empty() ? fs::path(".") : fs::path(options.outputPath).parent_path();
    std::string inputPath = (folder / DemoInputFileName).lexically_normal().string();
    std::string outputPath = options.outputPath.empty()
                                 ? (folder / DemoOutputFileName).lexically_normal().string()
                                 : options.outputPath;
    if (sameFile(inputPath, outputPath))
        throw UsageError("render: the output " + outputPath +
                         " would overwrite the demo input; choose another name with -o");

    StereoBuffer song = synthesizeDemoSong();
    BufferSource source(song);
    // The output first: if the plug-in fails, neither file is written.
    std::int64_t frames = renderToFile(source, "the demo", outputPath, plugin, options.settings);
    {
        PendingFile input(inputPath);
        writeWavFile(input.temporaryPath(), song);
        input.commit();
    }
    std::printf("demo input: %s\n", inputPath.c_str());
    reportWritten(outputPath, frames, song.sampleRate, describe(options, plugin));
    return ExitSuccess;
}

} // namespace

int runRenderCommand(const Arguments& arguments) {
    RenderOptions options = parseRenderArguments(arguments);
    PluginSource plugin =
        PluginSource::file(options.pluginPath.empty() ? defaultPluginPath() : options.pluginPath);
    if (options.state.curve) {
        // The curve is drawn in the editor, which runs in this process.
        const std::vector<CurvePoint> curve = options.state.curvePoints();
        plugin = linkedVarnexPlugin();
        options.settings.prepare = [curve](PluginHost& host) {
            EditorSession editor(host);
            editor.drawCurve(curve);
        };
    }
    // The state is taken before the instance closes and saved once the
    // audio is written.
    std::optional<Preset> finalState;
    if (options.state.savePresetPath)
        options.settings.finish = [&options, &finalState](PluginHost& host) {
            finalState = options.state.captureState(host);
        };
    const int status =
        options.inputPath.empty() ? renderDemo(options, plugin) : renderFile(options, plugin);
    if (finalState)
        options.state.writeSavedState(*finalState);
    return status;
}
