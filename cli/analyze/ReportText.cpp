#include "cli/analyze/ReportText.h"

#include "cli/JsonWriter.h"

#include <cmath>
#include <cstdio>

namespace {

std::string format(const char* pattern, double a, double b = 0.0, double c = 0.0) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

// A level in dB with one decimal; "-inf" for the floor, which stands for
// nothing measurable.
std::string level(double db) {
    return db <= LevelFloorDb ? "-inf" : format("%.1f", db);
}

// A power or amplitude ratio in dB as a percentage of amplitude.
double percentOf(double db) {
    return 100.0 * std::pow(10.0, db / 20.0);
}

double outputAt(const TransferCurve& curve, float input) {
    for (std::size_t i = 0; i < curve.input.size(); ++i)
        if (std::fabs(curve.input[i] - input) < 1e-4f)
            return curve.output[i];
    return NAN;
}

const HarmonicLevels* loudest(const AnalysisReport& report) {
    return report.harmonics.empty() ? nullptr : &report.harmonics.back();
}

double responseAt1k(const FrequencyResponse& response) {
    for (std::size_t i = 0; i < response.frequencies.size(); ++i)
        if (response.frequencies[i] >= 999.0)
            return response.magnitudeDb[i];
    return NAN;
}

void floats(JsonWriter& json, const char* name, const std::vector<double>& values) {
    json.key(name);
    json.beginArray();
    for (double value : values)
        json.value(static_cast<float>(value));
    json.endArray();
}

void floats(JsonWriter& json, const char* name, const std::vector<float>& values) {
    json.key(name);
    json.beginArray();
    for (float value : values)
        json.value(value);
    json.endArray();
}

void number(JsonWriter& json, const char* name, double value) {
    json.key(name);
    json.value(static_cast<float>(value));
}

} // namespace

std::vector<std::string> summaryLines(const AnalysisReport& report) {
    std::vector<std::string> lines;
    lines.push_back(format("latency: %.0f samples (declared %.0f)", report.response.latency,
                           report.declaredLatency));
    lines.push_back(format("DC offset: %.2g at silence", report.silenceDcOffset));
    lines.push_back(std::string("linear at -40 dBFS: ") + (report.response.linear ? "yes" : "no") +
                    format(" (deviation %.1f dB)", report.response.nonlinearityDb));
    lines.push_back(format("gain at 1 kHz, -40 dBFS: %.2f dB", responseAt1k(report.response)));
    lines.push_back(format("output at input 0.5: %.4f, at 1: %.4f", outputAt(report.transfer, 0.5f),
                           outputAt(report.transfer, 1.0f)));
    lines.push_back("1 kHz sine (THD, THD+N: dB / %):");
    for (const HarmonicLevels& levels : report.harmonics) {
        lines.push_back(format("  %.0f dBFS in: fundamental %.2f dBFS out", levels.inputDbfs,
                               levels.fundamentalDbfs));
        lines.push_back(
            format("    THD %.1f dB (%.3g %%), ", levels.thdDb, percentOf(levels.thdDb)) +
            format("THD+N %.1f dB (%.3g %%)", levels.thdPlusNDb, percentOf(levels.thdPlusNDb)));
        lines.push_back("    H2 " + level(levels.relativeDb[1]) + ", H3 " +
                        level(levels.relativeDb[2]) + ", H5 " + level(levels.relativeDb[4]) +
                        " dBc");
    }
    if (const HarmonicLevels* full = loudest(report))
        lines.push_back(format("DC offset with the 0 dBFS sine: %.2g", full->dcOffset));
    lines.push_back(
        format("aliasing (sweep 1-20 kHz, 0 dBFS): %.1f dB", report.aliasing.offSeriesDb));
    lines.push_back("  energy off the harmonics below Nyquist,");
    lines.push_back("  against the whole output");
    return lines;
}

std::string formatAnalysisText(const AnalysisReport& report, const PictureNote& picture) {
    std::string text = "analyze: " + report.pluginName + " at 48000 Hz\n";
    text += format("latency: %.0f samples measured (impulse peak), %.0f declared\n",
                   report.response.latency, report.declaredLatency);
    text += format("DC offset: %.3g at silence", report.silenceDcOffset);
    if (const HarmonicLevels* full = loudest(report))
        text += format(", %.3g with a 0 dBFS sine", full->dcOffset);
    text += "\n";
    text += std::string("linear at low level: ") + (report.response.linear ? "yes" : "no") +
            format(" (half the -40 dBFS impulse gives half the response to within %.1f dB)\n",
                   report.response.nonlinearityDb);
    text += "transfer curve (input: output):";
    for (float input : {-1.5f, -1.0f, -0.5f, -0.25f, 0.0f, 0.25f, 0.5f, 1.0f, 1.5f})
        text += format(" %g: %.4f", input, outputAt(report.transfer, input));
    text += "\n";
    text += "harmonics of a 1 kHz sine (levels in dB relative to the fundamental, H2..H20):\n";
    for (const HarmonicLevels& levels : report.harmonics) {
        text += format("  %.0f dBFS: fundamental %.2f dBFS, ", levels.inputDbfs,
                       levels.fundamentalDbfs);
        text += format("THD %.2f dB (%.4g %%), ", levels.thdDb, percentOf(levels.thdDb));
        text +=
            format("THD+N %.2f dB (%.4g %%)\n   ", levels.thdPlusNDb, percentOf(levels.thdPlusNDb));
        for (int k = 2; k <= HarmonicLevels::Count; ++k)
            text += " " + level(levels.relativeDb[static_cast<std::size_t>(k - 1)]);
        text += "\n";
    }
    const FrequencyResponse& response = report.response;
    if (!response.magnitudeDb.empty()) {
        double low = response.magnitudeDb.front();
        double high = low;
        for (double db : response.magnitudeDb) {
            low = std::min(low, db);
            high = std::max(high, db);
        }
        text += format("frequency response at -40 dBFS: %.2f dB at 1 kHz, %.2f to %.2f dB "
                       "from 20 Hz to 20 kHz\n",
                       responseAt1k(response), low, high);
    }
    text += format("aliasing (sweep 1 kHz to 20 kHz at 0 dBFS): %.1f dB of the output lies off "
                   "the harmonics below Nyquist\n",
                   report.aliasing.offSeriesDb);
    text += "wrote " + picture.path +
            format(": the report, %.0f x %.0f pixels\n", picture.width, picture.height);
    return text;
}

std::string formatAnalysisJson(const AnalysisReport& report, const PictureNote& picture) {
    JsonWriter json;
    json.beginObject();
    json.key("plugin");
    json.value(report.pluginName);
    number(json, "levelFloorDb", LevelFloorDb);
    json.key("sampleRate");
    json.value(static_cast<std::int64_t>(AnalysisSampleRate));
    json.key("latency");
    json.beginObject();
    json.key("measured");
    json.value(report.response.latency);
    json.key("declared");
    json.value(report.declaredLatency);
    json.endObject();
    number(json, "dcOffsetAtSilence", report.silenceDcOffset);
    json.key("linearAtLowLevel");
    json.value(report.response.linear);
    number(json, "lowLevelDeviationDb", report.response.nonlinearityDb);

    json.key("transferCurve");
    json.beginObject();
    floats(json, "input", report.transfer.input);
    floats(json, "output", report.transfer.output);
    json.endObject();

    json.key("harmonics");
    json.beginArray();
    for (const HarmonicLevels& levels : report.harmonics) {
        json.beginObject();
        number(json, "inputDbfs", levels.inputDbfs);
        number(json, "fundamentalDbfs", levels.fundamentalDbfs);
        json.key("levelsDbRelativeToFundamental");
        json.beginArray();
        for (double db : levels.relativeDb)
            json.value(static_cast<float>(db));
        json.endArray();
        number(json, "thdDb", levels.thdDb);
        number(json, "thdPercent", percentOf(levels.thdDb));
        number(json, "thdPlusNoiseDb", levels.thdPlusNDb);
        number(json, "thdPlusNoisePercent", percentOf(levels.thdPlusNDb));
        number(json, "dcOffset", levels.dcOffset);
        json.endObject();
    }
    json.endArray();

    json.key("frequencyResponse");
    json.beginObject();
    number(json, "levelDbfs", -40.0);
    floats(json, "frequencies", report.response.frequencies);
    floats(json, "magnitudeDb", report.response.magnitudeDb);
    floats(json, "phaseDegrees", report.response.phaseDegrees);
    json.endObject();

    json.key("aliasing");
    json.beginObject();
    number(json, "sweepFromHz", 1000.0);
    number(json, "sweepToHz", 20000.0);
    number(json, "offHarmonicSeriesDb", report.aliasing.offSeriesDb);
    json.endObject();

    json.key("picture");
    json.beginObject();
    json.key("path");
    json.value(picture.path);
    json.key("width");
    json.value(picture.width);
    json.key("height");
    json.value(picture.height);
    json.endObject();
    json.endObject();
    return json.text() + "\n";
}
