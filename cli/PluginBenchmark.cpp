#include "cli/PluginBenchmark.h"

#include "cli/CommandError.h"
#include "cli/PluginHost.h"
#include "host/EffectRecord.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t ChannelWidth = 7;
constexpr std::size_t EntryWidth = 13;
constexpr std::size_t CellWidth = 10;

constexpr std::int32_t MaxChannels = 64;

// Drives one entry over the signal block by block. Inputs point straight
// into a copy of the signal (a plug-in may write its inputs); outputs are
// buffers made once.
class EntryRunner {
  public:
    EntryRunner(PluginHost& host, const StereoBuffer& source, std::int32_t largestBlock)
        : host(host), signal(source) {
        const EffectRecord& record = host.record();
        if (record.inputCount < 0 || record.inputCount > MaxChannels || record.outputCount < 0 ||
            record.outputCount > MaxChannels)
            throw CommandError("the plug-in " + host.path() +
                               " reports channel counts no host can serve");
        inputs.assign(static_cast<std::size_t>(record.inputCount), nullptr);
        outputChannels.assign(static_cast<std::size_t>(record.outputCount),
                              std::vector<float>(static_cast<std::size_t>(largestBlock), 0.0f));
        for (auto& channel : outputChannels)
            outputs.push_back(channel.data());
        silence.assign(static_cast<std::size_t>(largestBlock), 0.0f);
    }

    // Runs the whole signal through the entry; returns the elapsed time.
    Clock::duration run(ProcessEntry entry, std::int32_t blockSize) {
        const std::int64_t total = signal.frameCount();
        auto start = Clock::now();
        for (std::int64_t offset = 0; offset < total; offset += blockSize) {
            auto frames =
                static_cast<std::int32_t>(std::min<std::int64_t>(blockSize, total - offset));
            pointInputsAt(offset);
            if (entry == ProcessEntry::Overwriting)
                host.processOverwriting(inputs.data(), outputs.data(), frames);
            else
                host.processAdding(inputs.data(), outputs.data(), frames);
        }
        return Clock::now() - start;
    }

  private:
    void pointInputsAt(std::int64_t offset) {
        auto at = static_cast<std::size_t>(offset);
        for (std::size_t c = 0; c < inputs.size(); ++c) {
            std::vector<float>& channel = c == 0 ? signal.left : signal.right;
            inputs[c] = c < 2 ? channel.data() + at : silence.data();
        }
    }

    PluginHost& host;
    StereoBuffer signal;
    std::vector<float*> inputs;
    std::vector<std::vector<float>> outputChannels;
    std::vector<float*> outputs;
    std::vector<float> silence;
};

EntryTiming timeEntry(EntryRunner& runner, ProcessEntry entry, std::int64_t frames,
                      const BenchPlan& plan) {
    EntryTiming timing;
    timing.entry = entry;
    const auto budget = std::chrono::duration<double>(plan.secondsPerMeasurement);
    for (std::int32_t blockSize : plan.blockSizes) {
        runner.run(entry, blockSize); // warm-up: caches, branch predictors, ramps
        std::vector<double> samples;
        Clock::duration spent{};
        while (static_cast<int>(samples.size()) < MinRuns ||
               (spent < budget && static_cast<int>(samples.size()) < MaxRuns)) {
            Clock::duration elapsed = runner.run(entry, blockSize);
            spent += elapsed;
            samples.push_back(std::chrono::duration<double, std::nano>(elapsed).count() /
                              static_cast<double>(frames));
        }
        timing.runs.push_back(static_cast<int>(samples.size()));
        timing.nanosecondsPerFrame.push_back(median(std::move(samples)));
    }
    return timing;
}

std::string formatNumber(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The text filled with spaces to `width`, keeping at least one space on the
// padded side so that neighbouring columns never run together.
std::string padded(const std::string& text, std::size_t width, bool right) {
    std::string padding(std::max<std::size_t>(1, width - std::min(width, text.size())), ' ');
    return right ? padding + text : text + padding;
}

std::string ratioText(double ratio) {
    return formatNumber(ratio < 100.0 ? "%.2fx" : "%.0fx", ratio);
}

std::string rowStart(const PluginTiming& timing, const EntryTiming& entry, std::size_t width) {
    return padded(timing.label, width, false) +
           padded(std::to_string(timing.inputCount) + "/" + std::to_string(timing.outputCount),
                  ChannelWidth, false) +
           padded(entryName(entry.entry), EntryWidth, false);
}

const EntryTiming* findEntry(const PluginTiming& timing, ProcessEntry entry) {
    for (const EntryTiming& candidate : timing.entries)
        if (candidate.entry == entry)
            return &candidate;
    return timing.entries.empty() ? nullptr : &timing.entries.front();
}

} // namespace

double median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

const char* entryName(ProcessEntry entry) {
    return entry == ProcessEntry::Overwriting ? "overwriting" : "adding";
}

PluginTiming benchmarkPlugin(const std::string& path, const StereoBuffer& signal,
                             const BenchPlan& plan,
                             const std::function<void(const PluginTiming&)>& started) {
    std::int32_t largestBlock = *std::max_element(plan.blockSizes.begin(), plan.blockSizes.end());
    PluginHost host(path, static_cast<float>(plan.sampleRate), largestBlock);
    PluginTiming timing;
    timing.path = path;
    timing.label = std::filesystem::path(path).stem().string();
    EntryRunner runner(host, signal, largestBlock);
    const EffectRecord& record = host.record();
    timing.inputCount = record.inputCount;
    timing.outputCount = record.outputCount;
    if (started)
        started(timing);
    host.resume();
    if ((record.flags & CanOverwrite) && record.processOverwriting)
        timing.entries.push_back(
            timeEntry(runner, ProcessEntry::Overwriting, signal.frameCount(), plan));
    if (record.processAdding)
        timing.entries.push_back(
            timeEntry(runner, ProcessEntry::Adding, signal.frameCount(), plan));
    host.suspend();
    if (timing.entries.empty())
        throw CommandError("the plug-in " + path + " offers no audio entry to time");
    return timing;
}

std::string formatBenchTable(const std::vector<PluginTiming>& timings, const BenchPlan& plan) {
    std::size_t labelWidth = 8;
    for (const PluginTiming& timing : timings)
        labelWidth = std::max(labelWidth, timing.label.size() + 2);
    std::string header = padded("plug-in", labelWidth, false) +
                         padded("in/out", ChannelWidth, false) + padded("entry", EntryWidth, false);
    for (std::int32_t blockSize : plan.blockSizes)
        header += padded(std::to_string(blockSize), CellWidth, true);
    header += '\n';

    std::string table = "ns per stereo frame at " + formatNumber("%.0f", plan.sampleRate) +
                        " Hz, median of runs over " +
                        formatNumber("%g", plan.secondsPerMeasurement) +
                        " s per cell; columns are block sizes in frames (a frame of a 1/1 plug-in "
                        "is one sample)\n" +
                        header;
    for (const PluginTiming& timing : timings) {
        for (const EntryTiming& entry : timing.entries) {
            table += rowStart(timing, entry, labelWidth);
            for (double value : entry.nanosecondsPerFrame)
                table += padded(formatNumber("%.2f", value), CellWidth, true);
            table += '\n';
        }
    }
    if (timings.size() < 2)
        return table;

    const PluginTiming& reference = timings.front();
    table += "\ntime relative to " + reference.label +
             " (same entry and block size; above 1 is slower)\n" + header;
    for (std::size_t p = 1; p < timings.size(); ++p) {
        for (const EntryTiming& entry : timings[p].entries) {
            const EntryTiming* base = findEntry(reference, entry.entry);
            table += rowStart(timings[p], entry, labelWidth);
            for (std::size_t b = 0; b < entry.nanosecondsPerFrame.size(); ++b) {
                double denominator = base ? base->nanosecondsPerFrame[b] : 0.0;
                std::string cell = denominator > 0.0
                                       ? ratioText(entry.nanosecondsPerFrame[b] / denominator)
                                       : std::string("-");
                table += padded(cell, CellWidth, true);
            }
            table += '\n';
        }
    }
    return table;
}
