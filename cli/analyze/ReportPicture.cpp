#include "cli/analyze/ReportPicture.h"

#include "cli/PngFile.h"
#include "cli/analyze/Measurements.h"
#include "cli/analyze/ReportText.h"
#include "gui/OffscreenContext.h"
#include "gui/View.h"
#include "platform/Drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr FontId titleFont = 1;   // 18 pixels
constexpr FontId headingFont = 0; // bold, 12 pixels
constexpr FontId labelFont = 4;   // 11 pixels
constexpr FontId figureFont = 3;  // 12 pixels

// The editor's panel colours, and one colour per thing plotted.
constexpr Color background{38, 41, 46, 0};
constexpr Color plotFill{25, 27, 31, 0};
constexpr Color gridLine{58, 62, 69, 0};
constexpr Color headingInk{208, 212, 218, 0};
constexpr Color labelInk{138, 145, 155, 0};
constexpr Color identityInk{110, 116, 126, 0};
constexpr Color curveInk{255, 160, 60, 0};
constexpr Color phaseInk{120, 200, 255, 0};
constexpr std::array<Color, 3> levelInks = {{{90, 160, 255, 0}, {120, 210, 120, 0}, curveInk}};

// The spectrogram's colour scale, from this level (dB below the loudest
// cell) up to 0.
constexpr double SpectrogramFloorDb = -120.0;

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// A panel: an outlined box with its heading, and a plotting area inside
// with room for axis labels to its left and below.
struct Panel {
    Rect box;
    Rect plot;
};

Panel panelAt(DrawContext& context, const Rect& box, const std::string& heading) {
    context.setPaintColor(plotFill);
    context.setPenColor(gridLine);
    context.paintRect(box);
    context.strokeRect(box);
    context.selectFont(headingFont);
    context.setInkColor(headingInk);
    context.drawText(heading.c_str(), {box.left + 10, box.top + 4, box.right - 10, box.top + 24}, 0,
                     AlignLeft);
    return {box, {box.left + 52, box.top + 34, box.right - 16, box.bottom - 30}};
}

// Maps values to the pixels of a plotting area; x may be logarithmic.
struct Axes {
    Rect area;
    double xMin, xMax, yMin, yMax;
    bool logX = false;

    std::int32_t h(double x) const {
        const double t =
            logX ? std::log(x / xMin) / std::log(xMax / xMin) : (x - xMin) / (xMax - xMin);
        return area.left + static_cast<std::int32_t>(std::lround(t * area.width()));
    }
    std::int32_t v(double y) const {
        // What is not a number sits on the bottom edge.
        const double t =
            std::isfinite(y) ? (std::clamp(y, yMin, yMax) - yMin) / (yMax - yMin) : 0.0;
        return area.bottom - static_cast<std::int32_t>(std::lround(t * area.height()));
    }
    Point at(double x, double y) const { return {h(x), v(y)}; }
};

void label(DrawContext& context, const std::string& text, const Rect& where, TextAlign align) {
    context.selectFont(labelFont);
    context.setInkColor(labelInk);
    context.drawText(text.c_str(), where, 0, align);
}

// A grid line and its label at x.
void xTick(DrawContext& context, const Axes& axes, double x, const std::string& text) {
    const std::int32_t h = axes.h(x);
    context.setPenColor(gridLine);
    context.penTo({h, axes.area.top});
    context.strokeTo({h, axes.area.bottom});
    label(context, text, {h - 30, axes.area.bottom + 4, h + 30, axes.area.bottom + 18},
          AlignCenter);
}

void yTick(DrawContext& context, const Axes& axes, double y, const std::string& text,
           bool right = false) {
    const std::int32_t v = axes.v(y);
    context.setPenColor(gridLine);
    context.penTo({axes.area.left, v});
    context.strokeTo({axes.area.right, v});
    if (right)
        label(context, text, {axes.area.right + 4, v - 7, axes.area.right + 50, v + 7}, AlignLeft);
    else
        label(context, text, {axes.area.left - 50, v - 7, axes.area.left - 5, v + 7}, AlignRight);
}

void frame(DrawContext& context, const Rect& area) {
    context.setPenColor(identityInk);
    context.strokeRect(area);
}

void polyline(DrawContext& context, const std::vector<Point>& points, Color ink, int width = 1) {
    context.setPenColor(ink);
    context.setPenWidth(width);
    context.strokePolyline(points.data(), static_cast<std::int32_t>(points.size()));
    context.setPenWidth(1);
}

void drawTransfer(DrawContext& context, const Rect& box, const TransferCurve& curve) {
    Panel panel = panelAt(context, box, "Transfer curve: output against input, identity dotted");
    // Square, as x and y share their scale.
    const std::int32_t side = std::min(panel.plot.width(), panel.plot.height());
    const Rect area{panel.plot.left, panel.plot.top, panel.plot.left + side, panel.plot.top + side};
    const Axes axes{area, -1.5, 1.5, -1.5, 1.5};
    for (double tick = -1.5; tick <= 1.5; tick += 0.5) {
        xTick(context, axes, tick, format("%.1f", tick));
        yTick(context, axes, tick, format("%.1f", tick));
    }
    frame(context, area);
    context.setPenStyle(1);
    polyline(context, {axes.at(-1.5, -1.5), axes.at(1.5, 1.5)}, identityInk);
    context.setPenStyle(0);
    std::vector<Point> points;
    for (std::size_t i = 0; i < curve.input.size(); ++i)
        points.push_back(axes.at(curve.input[i], curve.output[i]));
    polyline(context, points, curveInk, 2);
    label(context, "input", {area.left, area.bottom + 16, area.right, area.bottom + 30},
          AlignCenter);
}

void drawHarmonics(DrawContext& context, const Rect& box,
                   const std::vector<HarmonicLevels>& harmonics) {
    Panel panel =
        panelAt(context, box, "Harmonics of a 1 kHz sine, dB relative to the fundamental");
    const Axes axes{panel.plot, 1.5, 20.5, -140.0, 0.0};
    for (double db = -140.0; db <= 0.0; db += 20.0)
        yTick(context, axes, db, format("%.0f", db));
    for (int k = 2; k <= HarmonicLevels::Count; ++k) {
        const std::int32_t h = axes.h(k);
        label(context, std::to_string(k),
              {h - 12, panel.plot.bottom + 4, h + 12, panel.plot.bottom + 18}, AlignCenter);
    }
    frame(context, panel.plot);
    const std::int32_t slot = panel.plot.width() / (HarmonicLevels::Count - 1);
    const std::int32_t barWidth = std::max(2, (slot - 4) / 3);
    for (std::size_t level = 0; level < harmonics.size() && level < levelInks.size(); ++level) {
        context.setPaintColor(levelInks[level]);
        for (int k = 2; k <= HarmonicLevels::Count; ++k) {
            const double db = harmonics[level].relativeDb[static_cast<std::size_t>(k - 1)];
            const std::int32_t left =
                axes.h(k) - 3 * barWidth / 2 + static_cast<std::int32_t>(level) * barWidth;
            if (db > axes.yMin)
                context.paintRect(
                    {left - 1, axes.v(db) - 1, left + barWidth - 1, panel.plot.bottom});
        }
        const std::int32_t legendTop = panel.plot.top + 6 + static_cast<std::int32_t>(level) * 16;
        context.paintRect(
            {panel.plot.right - 170, legendTop, panel.plot.right - 158, legendTop + 11});
        label(context,
              format("%.0f dBFS", harmonics[level].inputDbfs) + ", THD " +
                  format("%.1f dB", harmonics[level].thdDb),
              {panel.plot.right - 154, legendTop - 1, panel.plot.right, legendTop + 12}, AlignLeft);
    }
    label(context, "harmonic",
          {panel.plot.left, panel.plot.bottom + 16, panel.plot.right, panel.plot.bottom + 30},
          AlignCenter);
}

void drawFigures(DrawContext& context, const Rect& box, const AnalysisReport& report) {
    panelAt(context, box, "Figures");
    context.selectFont(figureFont);
    context.setInkColor(headingInk);
    std::int32_t top = box.top + 32;
    for (const std::string& line : summaryLines(report)) {
        context.drawText(line.c_str(), {box.left + 12, top, box.right - 8, top + 16}, 0, AlignLeft);
        top += 17;
    }
}

void drawFrequencyTicks(DrawContext& context, const Axes& axes) {
    static constexpr std::pair<double, const char*> ticks[] = {
        {20, "20"},   {50, "50"},   {100, "100"}, {200, "200"},   {500, "500"},
        {1000, "1k"}, {2000, "2k"}, {5000, "5k"}, {10000, "10k"}, {20000, "20k"}};
    for (const auto& [hertz, text] : ticks)
        xTick(context, axes, hertz, text);
}

void drawResponse(DrawContext& context, const Rect& box, const FrequencyResponse& response) {
    Panel panel = panelAt(context, box,
                          "Response at -40 dBFS: magnitude in dB (left), phase in "
                          "degrees less the latency (right)");
    panel.plot.right -= 36;
    auto [low, high] =
        std::minmax_element(response.magnitudeDb.begin(), response.magnitudeDb.end());
    double bottom = std::floor((std::max(*low, -200.0) - 3.0) / 6.0) * 6.0;
    double top = std::ceil((std::min(*high, 200.0) + 3.0) / 6.0) * 6.0;
    if (top - bottom < 24.0) {
        const double middle = std::round((top + bottom) / 12.0) * 6.0;
        bottom = middle - 12.0;
        top = middle + 12.0;
    }
    const Axes magnitude{panel.plot, 20.0, 20000.0, bottom, top, true};
    const Axes phase{panel.plot, 20.0, 20000.0, -180.0, 180.0, true};
    drawFrequencyTicks(context, magnitude);
    const double step = std::max(6.0, std::ceil((top - bottom) / 8.0 / 6.0) * 6.0);
    for (double db = bottom; db <= top + 1e-9; db += step)
        yTick(context, magnitude, db, format("%.0f", db));
    for (double degrees = -180.0; degrees <= 180.0; degrees += 90.0)
        label(context, format("%.0f", degrees),
              {panel.plot.right + 4, phase.v(degrees) - 7, panel.plot.right + 40,
               phase.v(degrees) + 7},
              AlignLeft);
    frame(context, panel.plot);
    std::vector<Point> magnitudePoints;
    std::vector<Point> phasePoints;
    for (std::size_t i = 0; i < response.frequencies.size(); ++i) {
        magnitudePoints.push_back(magnitude.at(response.frequencies[i], response.magnitudeDb[i]));
        phasePoints.push_back(phase.at(response.frequencies[i], response.phaseDegrees[i]));
    }
    polyline(context, phasePoints, phaseInk);
    polyline(context, magnitudePoints, curveInk, 2);
    label(context, "frequency (Hz)",
          {panel.plot.left, panel.plot.bottom + 16, panel.plot.right, panel.plot.bottom + 30},
          AlignCenter);
}

// Dark blue through red and yellow to white.
Color heat(double level) {
    const double t = std::clamp(1.0 - level / SpectrogramFloorDb, 0.0, 1.0);
    auto channel = [t](double from, double to) {
        return static_cast<std::uint8_t>(
            std::lround(255.0 * std::clamp((t - from) / (to - from), 0.0, 1.0)));
    };
    return {channel(0.35, 0.7), channel(0.7, 1.0),
            static_cast<std::uint8_t>(
                std::max<int>(channel(0.0, 0.35) - channel(0.45, 0.7), channel(0.85, 1.0))),
            0};
}

void drawSpectrogram(DrawContext& context, const Rect& box, const AliasingSweep& sweep) {
    Panel panel = panelAt(context, box,
                          "Sweep 1 kHz to 20 kHz at 0 dBFS: spectrogram, aliasing " +
                              format("%.1f dB", sweep.offSeriesDb));
    const Rect& area = panel.plot;
    if (sweep.frames > 0 && sweep.bins > 0) {
        // Each pixel shows the loudest cell that falls on it.
        for (std::int32_t v = area.top + 1; v < area.bottom; ++v) {
            const std::int32_t fromBin = (area.bottom - v - 1) * sweep.bins / (area.height() - 1);
            const std::int32_t toBin =
                std::max(fromBin + 1, (area.bottom - v) * sweep.bins / (area.height() - 1));
            for (std::int32_t h = area.left + 1; h < area.right; ++h) {
                const std::int32_t frame = (h - area.left - 1) * sweep.frames / (area.width() - 1);
                float level = -300.0f;
                for (std::int32_t bin = fromBin; bin < toBin && bin < sweep.bins; ++bin)
                    level = std::max(
                        level, sweep.levelDb[static_cast<std::size_t>(frame * sweep.bins + bin)]);
                context.setPixelColor({h, v}, heat(level));
            }
        }
    }
    const Axes axes{area, 0.0, 1.0, 0.0, AnalysisSampleRate / 2.0};
    for (double hertz = 0.0; hertz <= 24000.0; hertz += 4000.0)
        label(context, format("%.0fk", hertz / 1000.0),
              {area.left - 50, axes.v(hertz) - 7, area.left - 5, axes.v(hertz) + 7}, AlignRight);
    for (int i = 0; i <= 4; ++i) {
        const std::size_t frame =
            std::min(sweep.sweepFrequency.size() - 1, i * sweep.sweepFrequency.size() / 4);
        if (sweep.sweepFrequency.empty())
            break;
        const std::int32_t h = axes.h(i / 4.0);
        label(context, format("%.1fk", sweep.sweepFrequency[frame] / 1000.0),
              {h - 30, area.bottom + 4, h + 30, area.bottom + 18}, AlignCenter);
    }
    frame(context, area);
    label(context, "sine frequency (Hz); output frequency upwards, colours 0 to -120 dB",
          {area.left, area.bottom + 16, area.right, area.bottom + 30}, AlignCenter);
}

// The whole report as one view.
class ReportView : public View {
  public:
    ReportView(const Rect& size, const AnalysisReport& report) : View(size), report(report) {}

    void draw(DrawContext& context) override {
        context.setPaintColor(background);
        context.paintRect({size.left - 1, size.top - 1, size.right, size.bottom});
        context.selectFont(titleFont);
        context.setInkColor(headingInk);
        context.drawText(("varnex analyze: " + report.pluginName).c_str(),
                         {16, 8, ReportWidth - 16, 34}, 0, AlignLeft);
        label(context, "48 kHz, first output; every input gets the same signal",
              {16, 8, ReportWidth - 16, 34}, AlignRight);
        drawTransfer(context, {16, 44, 416, 424}, report.transfer);
        drawHarmonics(context, {428, 44, 868, 424}, report.harmonics);
        drawFigures(context, {880, 44, ReportWidth - 16, 424}, report);
        drawResponse(context, {16, 436, 640, ReportHeight - 16}, report.response);
        drawSpectrogram(context, {652, 436, ReportWidth - 16, ReportHeight - 16}, report.aliasing);
    }

  private:
    const AnalysisReport& report;
};

} // namespace

platform::ScreenPicture drawReportPicture(const AnalysisReport& report) {
    OffscreenContext context(nullptr, ReportWidth, ReportHeight, background);
    ReportView view({0, 0, ReportWidth, ReportHeight}, report);
    view.draw(context);
    platform::ScreenPicture picture;
    picture.pixels.resize(static_cast<std::size_t>(ReportWidth) * ReportHeight);
    if (!platform::readPixelMap(context.pixelMap(), picture.pixels.data(), picture.pixels.size()))
        return {};
    picture.width = ReportWidth;
    picture.height = ReportHeight;
    return picture;
}

PictureNote writeReportPicture(const AnalysisReport& report, const std::string& path) {
    const platform::ScreenPicture picture = drawReportPicture(report);
    savePng(path, picture);
    return {path, picture.width, picture.height};
}
