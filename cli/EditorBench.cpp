// varnex bench --editor [PLUGIN] [--cycles N]
//
// Opens and closes a plug-in's editor in a real window while audio runs
// through the plug-in on a thread of its own, the way a host plays music
// while the user opens and closes the editor; then leaves the editor open
// and untouched. Times how soon each opening shows on screen, what one idle
// call costs, and how much CPU the whole takes.

#include "cli/EditorBench.h"

#include "cli/BenchCommand.h"
#include "cli/CommandError.h"
#include "cli/LiveEditor.h"
#include "cli/PluginBenchmark.h"
#include "cli/PluginHost.h"
#include "host/EffectBase.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <system_error>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int32_t MaxCycles = 10000;
// The longest an opening may take to show before the run fails.
constexpr auto PaintTimeout = std::chrono::seconds(2);
// How long the editor stays open and untouched, and how often it gets idle.
constexpr auto UntouchedTime = std::chrono::seconds(2);
constexpr auto IdlePeriod = std::chrono::milliseconds(33);
// The audio thread plays blocks of this many frames at the real rate.
constexpr std::int32_t AudioBlock = 128;
constexpr std::int32_t MaxChannels = 64;

const std::string& optionValue(const Arguments& arguments, std::size_t& index) {
    if (index + 1 >= arguments.size())
        throw UsageError("bench: option " + arguments[index] + " needs a value");
    return arguments[++index];
}

std::int32_t parseCycles(const std::string& text) {
    long long cycles = 0;
    const char* last = text.data() + text.size();
    auto [end, failure] = std::from_chars(text.data(), last, cycles);
    if (failure != std::errc() || end != last || text.empty())
        throw UsageError("bench: cycle count '" + text + "' is not a whole number");
    if (cycles < 1 || cycles > MaxCycles)
        throw UsageError("bench: cycle count " + text + " is outside 1 to " +
                         std::to_string(MaxCycles));
    return static_cast<std::int32_t>(cycles);
}

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Plays a signal through the plug-in's overwriting entry (its adding entry
// on zeroed outputs when it has none) in real time, round and round, until
// stopped. The thread keeps its own CPU time where the other can read it.
class AudioThread {
  public:
    AudioThread(PluginHost& host, const StereoBuffer& music) : host(host), signal(music) {
        const EffectRecord& record = host.record();
        if (record.inputCount < 0 || record.inputCount > MaxChannels || record.outputCount < 0 ||
            record.outputCount > MaxChannels)
            throw CommandError("the plug-in " + host.path() +
                               " reports channel counts no host can serve");
        overwriting = (record.flags & CanOverwrite) != 0 && record.processOverwriting;
        if (!overwriting && !record.processAdding)
            throw CommandError("the plug-in " + host.path() + " has no audio entry");
        const auto block = static_cast<std::size_t>(AudioBlock);
        inputChannels.assign(static_cast<std::size_t>(record.inputCount),
                             std::vector<float>(block, 0.0f));
        outputChannels.assign(static_cast<std::size_t>(record.outputCount),
                              std::vector<float>(block, 0.0f));
        for (auto& channel : inputChannels)
            inputs.push_back(channel.data());
        for (auto& channel : outputChannels)
            outputs.push_back(channel.data());
        host.resume();
        worker = std::thread([this] { run(); });
    }

    ~AudioThread() {
        running.store(false);
        worker.join();
        host.suspend();
    }

    // The audio thread's CPU time, read by that thread at its next block
    // (asking another thread's time is not portable, and reading its own
    // on every block costs more than the block under some systems).
    double cpuSeconds() {
        const std::int64_t asked = cpuRequests.fetch_add(1) + 1;
        const auto deadline = Clock::now() + std::chrono::seconds(1);
        while (cpuAnswers.load() < asked && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        return cpuTime.load();
    }

  private:
    void run() {
        const auto period = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(AudioBlock / signal.sampleRate));
        auto due = Clock::now();
        std::size_t position = 0;
        while (running.load()) {
            fill(position);
            if (overwriting) {
                host.processOverwriting(inputs.data(), outputs.data(), AudioBlock);
            } else {
                for (auto& channel : outputChannels)
                    std::fill(channel.begin(), channel.end(), 0.0f);
                host.processAdding(inputs.data(), outputs.data(), AudioBlock);
            }
            const std::int64_t asked = cpuRequests.load();
            if (asked != cpuAnswers.load()) {
                cpuTime.store(platform::threadCpuSeconds());
                cpuAnswers.store(asked);
            }
            due += period;
            const auto now = Clock::now();
            if (due < now - period)
                due = now; // fell behind: carry on from now, as a device would
            std::this_thread::sleep_until(due);
        }
    }

    // The next block of the signal into the inputs (left, right, then silence).
    void fill(std::size_t& position) {
        const std::size_t length = signal.left.size();
        for (std::size_t i = 0; i < static_cast<std::size_t>(AudioBlock); ++i) {
            for (std::size_t c = 0; c < inputChannels.size(); ++c)
                inputChannels[c][i] = c == 0   ? signal.left[position]
                                      : c == 1 ? signal.right[position]
                                               : 0.0f;
            position = (position + 1) % length;
        }
    }

    PluginHost& host;
    const StereoBuffer& signal;
    bool overwriting = false;
    std::vector<std::vector<float>> inputChannels;
    std::vector<std::vector<float>> outputChannels;
    std::vector<float*> inputs;
    std::vector<float*> outputs;
    std::atomic<bool> running{true};
    std::atomic<double> cpuTime{0.0};
    std::atomic<std::int64_t> cpuRequests{0};
    std::atomic<std::int64_t> cpuAnswers{0};
    std::thread worker;
};

} // namespace

EditorBenchOptions parseEditorBenchArguments(const Arguments& arguments) {
    EditorBenchOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--editor") {
            continue;
        } else if (argument == "--cycles") {
            options.cycles = parseCycles(optionValue(arguments, i));
        } else if (argument == "--block" || argument == "--seconds") {
            throw UsageError("bench: " + argument +
                             " times audio entries; it does not go with "
                             "--editor");
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("bench: unknown option '" + argument + "'");
        } else if (argument.empty()) {
            throw UsageError("bench: empty plug-in path");
        } else if (!options.pluginPath.empty()) {
            throw UsageError("bench: --editor times one plug-in ('" + options.pluginPath + "', '" +
                             argument + "')");
        } else {
            options.pluginPath = argument;
        }
    }
    return options;
}

int runEditorBench(const EditorBenchOptions& options) {
    PluginHost host(options.pluginPath.empty() ? defaultPluginPath() : options.pluginPath);
    const std::string name = pluginDisplayName(host);
    LiveEditor editor(host, name + " (varnex bench --editor)");
    const StereoBuffer music = benchSignal(host.sampleRate());
    AudioThread audio(host, music);

    std::vector<double> openTimes;
    for (std::int32_t cycle = 1; cycle <= options.cycles; ++cycle) {
        const std::string which =
            " (cycle " + std::to_string(cycle) + " of " + std::to_string(options.cycles) + ")";
        if (!editor.waitForFill(PaintTimeout))
            throw CommandError("the window does not show its own fill before the editor opens" +
                               which);
        const auto start = Clock::now();
        editor.open();
        if (!editor.waitForPaint(PaintTimeout))
            throw CommandError("the editor of " + name + " showed no paint within 2 s of opening" +
                               which);
        openTimes.push_back(milliseconds(Clock::now() - start));
        editor.close();
    }

    // Open once more and leave it alone, with idle as a host gives it.
    editor.waitForFill(PaintTimeout);
    editor.open();
    if (!editor.waitForPaint(PaintTimeout))
        throw CommandError("the editor of " + name + " showed no paint within 2 s of opening");
    std::vector<double> idleTimes;
    const double cpuBefore = platform::processCpuSeconds();
    const double audioBefore = audio.cpuSeconds();
    const auto start = Clock::now();
    auto next = start;
    while (Clock::now() - start < UntouchedTime) {
        const auto before = Clock::now();
        editor.idle();
        idleTimes.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - before).count());
        next += IdlePeriod;
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now());
        editor.pump(static_cast<std::int32_t>(std::max<std::int64_t>(wait.count(), 0)));
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = platform::processCpuSeconds() - cpuBefore;
    const double audioCpu = audio.cpuSeconds() - audioBefore;
    editor.close();

    const double openMedian = median(openTimes);
    const double openMax = *std::max_element(openTimes.begin(), openTimes.end());
    std::printf("editor of %s (%d x %d): %d open/close cycles while audio runs (%d-frame blocks "
                "at %.0f Hz, in real time)\n",
                name.c_str(), editor.width(), editor.height(), options.cycles, AudioBlock,
                static_cast<double>(host.sampleRate()));
    std::printf("open to first paint: median %.2f ms, max %.2f ms (target <= 30 ms)\n", openMedian,
                openMax);
    std::printf("idle call, editor untouched: median %.2f us over %zu calls (target <= 20 us)\n",
                median(idleTimes), idleTimes.size());
    std::printf("CPU, editor open and untouched for %.1f s: %.2f %% of one core besides the audio "
                "thread's %.2f %% (target <= 1 %%)\n",
                wall, 100.0 * (cpu - audioCpu) / wall, 100.0 * audioCpu / wall);
    return std::fflush(stdout) == 0 ? ExitSuccess : ExitFailure;
}
