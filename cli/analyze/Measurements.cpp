#include "cli/analyze/Measurements.h"

#include "cli/analyze/PluginProbe.h"
#include "cli/analyze/RealSpectrum.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <numeric>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Nyquist = AnalysisSampleRate / 2.0;

// -40 dBFS.
constexpr double ImpulseAmplitude = 0.01;
// Linear at low level: half the impulse gives half the response, to within
// this much (0.1 % of the response).
constexpr double LinearWithinDb = -60.0;
// Points of the plotted frequency response, 20 Hz to 20 kHz.
constexpr int ResponsePoints = 241;

constexpr int RampLength = 48000; // one second from -1.5 to 1.5
constexpr double RampStart = -1.5;
constexpr double RampEnd = 1.5;
constexpr int RampPointEvery = 100; // samples between two points of the curve
constexpr int RampApproach = 4800;  // from silence to the start
constexpr int RampHold = 4800;      // at either end

// 1 kHz has a period of exactly 48 samples at 48 kHz.
constexpr int SinePeriod = 48;
constexpr int SettleLength = 4800;
constexpr int HarmonicsLength = 48000; // 1 Hz per bin: harmonic k in bin 1000 k
constexpr int FundamentalBin = 1000;

constexpr double SweepStart = 1000.0;
constexpr double SweepEnd = 20000.0;
constexpr int SweepLength = 4 * 48000;
constexpr int SpectrogramWindow = 1024;
constexpr int SpectrogramHop = 512;
// Bins around a harmonic's track that still count as the harmonic: the
// main lobe of the window is four bins to either side.
constexpr int LobeBins = 5;

double decibels(double powerRatio) {
    return powerRatio > 0.0 ? std::max(LevelFloorDb, 10.0 * std::log10(powerRatio)) : LevelFloorDb;
}

std::vector<double> impulseResponse(PluginProbe& probe, double amplitude,
                                    const std::vector<double>& silence) {
    std::vector<double> impulse(ResponseLength, 0.0);
    impulse[0] = amplitude;
    std::vector<double> response = probe.play(impulse);
    // Against the impulse as sent, a float.
    const double sent = static_cast<float>(amplitude);
    for (std::size_t i = 0; i < response.size(); ++i)
        response[i] = (response[i] - silence[i]) / sent;
    return response;
}

// The four-term Blackman-Harris window: sidelobes below -92 dB.
std::vector<double> blackmanHarris(int length) {
    std::vector<double> window(static_cast<std::size_t>(length));
    for (int n = 0; n < length; ++n) {
        const double t = 2.0 * Pi * n / length;
        window[static_cast<std::size_t>(n)] =
            0.35875 - 0.48829 * std::cos(t) + 0.14128 * std::cos(2 * t) - 0.01168 * std::cos(3 * t);
    }
    return window;
}

double sweepFrequencyAt(double seconds) {
    const double duration = SweepLength / AnalysisSampleRate;
    return SweepStart * std::exp(seconds / duration * std::log(SweepEnd / SweepStart));
}

double sweepPhaseAt(double seconds) {
    const double duration = SweepLength / AnalysisSampleRate;
    const double rate = std::log(SweepEnd / SweepStart) / duration;
    return 2.0 * Pi * SweepStart / rate * (std::exp(seconds * rate) - 1.0);
}

} // namespace

double amplitudeDb(double ratio) {
    return ratio > 0.0 ? std::max(LevelFloorDb, 20.0 * std::log10(ratio)) : LevelFloorDb;
}

FrequencyResponse measureResponse(PluginProbe& probe, const std::vector<double>& silence) {
    FrequencyResponse result;
    const std::vector<double> full = impulseResponse(probe, ImpulseAmplitude, silence);
    const std::vector<double> half = impulseResponse(probe, ImpulseAmplitude / 2.0, silence);

    double energy = 0.0;
    double difference = 0.0;
    for (std::size_t i = 0; i < full.size(); ++i) {
        energy += full[i] * full[i];
        difference += (full[i] - half[i]) * (full[i] - half[i]);
    }
    result.nonlinearityDb = energy > 0.0 ? decibels(difference / energy) : 0.0;
    result.linear = energy > 0.0 && result.nonlinearityDb <= LinearWithinDb;
    const auto peak = std::max_element(
        full.begin(), full.end(), [](double a, double b) { return std::fabs(a) < std::fabs(b); });
    result.latency = static_cast<std::int32_t>(peak - full.begin());

    RealSpectrum spectrum(ResponseLength);
    const auto& bins = spectrum.transform(full.data(), full.size());
    const double binsPerHertz = ResponseLength / AnalysisSampleRate;
    for (int i = 0; i < ResponsePoints; ++i) {
        const double frequency = 20.0 * std::pow(1000.0, i / double(ResponsePoints - 1));
        const auto bin = static_cast<std::size_t>(std::lround(frequency * binsPerHertz));
        // The latency's linear phase taken out, so that a pure delay is flat.
        const std::complex<double> value =
            bins[bin] * std::polar(1.0, 2.0 * Pi * double(bin) * result.latency / ResponseLength);
        result.frequencies.push_back(frequency);
        result.magnitudeDb.push_back(amplitudeDb(std::abs(value)));
        result.phaseDegrees.push_back(std::arg(value) * 180.0 / Pi);
    }
    return result;
}

TransferCurve measureTransferCurve(PluginProbe& probe, std::int32_t latency) {
    // A smooth approach to the ramp's start and a hold at either end, so
    // that a plug-in with filters sees no step.
    std::vector<double> signal;
    for (int n = 0; n < RampApproach; ++n)
        signal.push_back(RampStart * 0.5 * (1.0 - std::cos(Pi * n / RampApproach)));
    signal.insert(signal.end(), RampHold, RampStart);
    const std::size_t rampBegin = signal.size();
    for (int n = 0; n <= RampLength; ++n)
        signal.push_back(static_cast<float>(RampStart + (RampEnd - RampStart) * n / RampLength));
    signal.insert(signal.end(), static_cast<std::size_t>(latency) + RampHold, RampEnd);
    const std::vector<double> output = probe.play(signal);
    TransferCurve curve;
    for (std::size_t n = rampBegin; n <= rampBegin + RampLength; n += RampPointEvery) {
        curve.input.push_back(static_cast<float>(signal[n]));
        curve.output.push_back(static_cast<float>(output[n + static_cast<std::size_t>(latency)]));
    }
    return curve;
}

HarmonicLevels measureHarmonics(PluginProbe& probe, double levelDbfs, std::int32_t latency) {
    const double amplitude = std::pow(10.0, levelDbfs / 20.0);
    const std::size_t settle = SettleLength + static_cast<std::size_t>(latency);
    std::vector<double> sine(settle + HarmonicsLength);
    for (std::size_t n = 0; n < sine.size(); ++n)
        sine[n] = amplitude * std::sin(2.0 * Pi * double(n % SinePeriod) / SinePeriod);
    const std::vector<double> output = probe.play(sine);

    RealSpectrum spectrum(HarmonicsLength);
    const auto& bins = spectrum.transform(output.data() + settle, HarmonicsLength);
    // Amplitude of the sinusoid in bin k (0 < k < N/2), and its power.
    const double n = HarmonicsLength;
    auto amplitudeAt = [&](std::size_t k) { return 2.0 * std::abs(bins[k]) / n; };
    auto powerAt = [&](std::size_t k) {
        const double a = std::abs(bins[k]) / n;
        return k == bins.size() - 1 ? a * a : 2.0 * a * a;
    };

    HarmonicLevels levels;
    levels.inputDbfs = levelDbfs;
    levels.dcOffset = bins[0].real() / n;
    const double fundamental = amplitudeAt(FundamentalBin);
    levels.fundamentalDbfs = amplitudeDb(fundamental);
    double harmonicPower = 0.0;
    for (int k = 1; k <= HarmonicLevels::Count; ++k) {
        const double a = amplitudeAt(static_cast<std::size_t>(k * FundamentalBin));
        levels.relativeDb[static_cast<std::size_t>(k - 1)] =
            fundamental > 0.0 ? amplitudeDb(a / fundamental) : LevelFloorDb;
        if (k > 1)
            harmonicPower += a * a / 2.0;
    }
    double restPower = 0.0;
    for (std::size_t k = 1; k < bins.size(); ++k)
        if (k != FundamentalBin)
            restPower += powerAt(k);
    const double fundamentalPower = fundamental * fundamental / 2.0;
    levels.thdDb = fundamentalPower > 0.0 ? decibels(harmonicPower / fundamentalPower) : 0.0;
    levels.thdPlusNDb = fundamentalPower > 0.0 ? decibels(restPower / fundamentalPower) : 0.0;
    return levels;
}

AliasingSweep measureAliasing(PluginProbe& probe, std::int32_t latency) {
    std::vector<double> sweep(SweepLength);
    for (int n = 0; n < SweepLength; ++n)
        sweep[static_cast<std::size_t>(n)] = std::sin(sweepPhaseAt(n / AnalysisSampleRate));
    const std::vector<double> output = probe.play(sweep, latency);
    const double* aligned = output.data() + latency;

    AliasingSweep result;
    result.frames = (SweepLength - SpectrogramWindow) / SpectrogramHop + 1;
    result.bins = SpectrogramWindow / 2 + 1;
    result.levelDb.reserve(static_cast<std::size_t>(result.frames * result.bins));
    const std::vector<double> window = blackmanHarris(SpectrogramWindow);
    RealSpectrum spectrum(SpectrogramWindow);
    std::vector<double> segment(SpectrogramWindow);
    std::vector<bool> inSeries(static_cast<std::size_t>(result.bins));
    const double hertzPerBin = AnalysisSampleRate / SpectrogramWindow;
    double total = 0.0;
    double offSeries = 0.0;
    double loudest = 0.0;
    for (int frame = 0; frame < result.frames; ++frame) {
        const int start = frame * SpectrogramHop;
        for (int i = 0; i < SpectrogramWindow; ++i)
            segment[static_cast<std::size_t>(i)] =
                aligned[start + i] * window[static_cast<std::size_t>(i)];
        const auto& bins = spectrum.transform(segment.data(), segment.size());

        // The harmonics below Nyquist, each along the track the sweep takes
        // during the window.
        const double low = sweepFrequencyAt(start / AnalysisSampleRate);
        const double high = sweepFrequencyAt((start + SpectrogramWindow) / AnalysisSampleRate);
        std::fill(inSeries.begin(), inSeries.end(), false);
        for (int k = 1; k * low < Nyquist; ++k) {
            const int from = std::max(0, int(std::floor(k * low / hertzPerBin)) - LobeBins);
            const int to =
                std::min(result.bins - 1, int(std::ceil(k * high / hertzPerBin)) + LobeBins);
            for (int b = from; b <= to; ++b)
                inSeries[static_cast<std::size_t>(b)] = true;
        }
        for (int b = 0; b < result.bins; ++b) {
            const double power = std::norm(bins[static_cast<std::size_t>(b)]);
            result.levelDb.push_back(static_cast<float>(decibels(power)));
            loudest = std::max(loudest, power);
            // The DC bins are neither harmonic nor alias.
            if (b <= LobeBins)
                continue;
            total += power;
            if (!inSeries[static_cast<std::size_t>(b)])
                offSeries += power;
        }
        result.sweepFrequency.push_back(
            sweepFrequencyAt((start + SpectrogramWindow / 2) / AnalysisSampleRate));
    }
    const auto reference = static_cast<float>(decibels(loudest));
    for (float& level : result.levelDb)
        level = std::max(level - reference, static_cast<float>(LevelFloorDb));
    result.offSeriesDb = total > 0.0 ? decibels(offSeries / total) : LevelFloorDb;
    return result;
}

AnalysisReport analyzePlugin(PluginProbe& probe) {
    AnalysisReport report;
    const std::vector<double> silence = probe.play(std::vector<double>(ResponseLength, 0.0));
    report.silenceDcOffset =
        std::accumulate(silence.begin(), silence.end(), 0.0) / double(silence.size());
    report.response = measureResponse(probe, silence);
    const std::int32_t latency = report.response.latency;
    report.transfer = measureTransferCurve(probe, latency);
    for (double level : HarmonicTestLevels)
        report.harmonics.push_back(measureHarmonics(probe, level, latency));
    report.aliasing = measureAliasing(probe, latency);
    return report;
}
