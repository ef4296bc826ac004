#pragma once
// The bench measurements of `varnex analyze`, each a test signal played
// through the plug-in and the figures read from what comes out. All run at
// AnalysisSampleRate.

#include "cli/analyze/AnalysisReport.h"

class PluginProbe;

// The levels of the harmonics test, in dBFS.
constexpr std::array<double, 3> HarmonicTestLevels = {-18.0, -6.0, 0.0};

// Samples of the impulse response, and of the silence it is measured
// against.
constexpr std::size_t ResponseLength = 65536;

// An impulse at -40 dBFS (and one at half that) less `silence`, the output
// for ResponseLength samples of silence. Also gives the latency the other
// measurements compensate for.
FrequencyResponse measureResponse(PluginProbe& probe, const std::vector<double>& silence);
// A ramp from -1.5 to 1.5 over one second, read `latency` samples later.
TransferCurve measureTransferCurve(PluginProbe& probe, std::int32_t latency);
// A 1 kHz sine at `levelDbfs`, after 0.1 s to settle, over exactly one
// second, so that the fundamental and every harmonic fall on a bin of a
// rectangular window and nothing leaks.
HarmonicLevels measureHarmonics(PluginProbe& probe, double levelDbfs, std::int32_t latency);
// A logarithmic sweep from 1 kHz to 20 kHz at 0 dBFS over four seconds.
AliasingSweep measureAliasing(PluginProbe& probe, std::int32_t latency);

// Everything, in the order the figures depend on each other.
AnalysisReport analyzePlugin(PluginProbe& probe);
