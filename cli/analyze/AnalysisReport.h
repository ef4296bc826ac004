#pragma once
// What `varnex analyze` measures on a plug-in, as figures the text, the
// JSON and the report picture all read. Levels are in dB: dBFS for the
// absolute ones (full scale is a sample value of 1), dB relative to the
// fundamental (dBc) for the harmonics.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The sample rate every measurement runs at.
constexpr double AnalysisSampleRate = 48000.0;

// Output against input for a slow ramp from -1.5 to 1.5.
struct TransferCurve {
    std::vector<float> input;
    std::vector<float> output;
};

// A 1 kHz sine at one level and what came out at each harmonic.
struct HarmonicLevels {
    static constexpr int Count = 20; // the fundamental and 19 harmonics
    double inputDbfs = 0.0;
    double fundamentalDbfs = 0.0;
    // Harmonic k (1-based) at index k - 1, in dB relative to the fundamental;
    // index 0 is therefore 0 dB.
    std::array<double, Count> relativeDb{};
    double thdDb = 0.0;      // harmonics 2..20 against the fundamental
    double thdPlusNDb = 0.0; // everything but the fundamental and DC
    double dcOffset = 0.0;   // mean output, as a sample value
};

// The small-signal (-40 dBFS) response from an impulse, and what the
// impulse shows about delay and linearity.
struct FrequencyResponse {
    std::vector<double> frequencies; // Hz, logarithmically spaced
    std::vector<double> magnitudeDb;
    std::vector<double> phaseDegrees; // with the measured latency taken out
    std::int32_t latency = 0;         // samples to the response's peak
    // How far the response to half the impulse differs from half the
    // response, in dB against the response; low means linear.
    double nonlinearityDb = 0.0;
    bool linear = false;
};

// A 0 dBFS sine sweep from 1 kHz to 20 kHz as a spectrogram.
struct AliasingSweep {
    std::int32_t frames = 0;            // columns, in time order
    std::int32_t bins = 0;              // rows, from 0 Hz to the Nyquist frequency
    std::vector<float> levelDb;         // frames x bins, relative to the loudest cell
    std::vector<double> sweepFrequency; // the sine's frequency per frame
    // Energy away from the harmonics of the sweep that lie below the
    // Nyquist frequency (aliases and noise), against the whole output.
    double offSeriesDb = 0.0;
};

struct AnalysisReport {
    std::string pluginName;
    std::int32_t declaredLatency = 0; // the record's initial delay
    double silenceDcOffset = 0.0;     // mean output for silent input
    TransferCurve transfer;
    std::vector<HarmonicLevels> harmonics; // at -18, -6 and 0 dBFS
    FrequencyResponse response;
    AliasingSweep aliasing;
};

// The lowest level reported: nothing measurable.
constexpr double LevelFloorDb = -300.0;

// 20 log10 of an amplitude ratio, at least LevelFloorDb.
double amplitudeDb(double ratio);
