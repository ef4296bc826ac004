#include "cli/CurveOption.h"

#include "cli/CommandError.h"
#include "editor/ShaperLayout.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

double parseNumber(const std::string& text, const std::string& point) {
    const std::string number = trimmed(text);
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (number.empty() || *end != '\0' || !std::isfinite(value))
        throw UsageError("--curve: '" + point + "' is not a pair of numbers X,Y");
    return value;
}

std::string formatted(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

} // namespace

PlotArea editorCurveArea() {
    return PlotArea::forPictures(shaperLayout::CurveBackgroundSize,
                                 shaperLayout::CurveBackgroundSize, shaperLayout::CurveMarkerSize,
                                 shaperLayout::CurveMarkerSize);
}

std::vector<CurvePoint> parseCurvePoints(const std::string& text, bool normalized) {
    const PlotArea area = editorCurveArea();
    const double low = normalized ? 0.0 : area.minX;
    const double high = normalized ? 1.0 : area.maxX;
    const std::string unit = normalized ? "0 to 1" : formatted(low) + " to " + formatted(high);

    std::vector<CurvePoint> points;
    std::stringstream items(text);
    std::string item;
    while (std::getline(items, item, ';')) {
        if (trimmed(item).empty())
            continue;
        const auto comma = item.find(',');
        if (comma == std::string::npos)
            throw UsageError("--curve: '" + trimmed(item) + "' is not a pair of numbers X,Y");
        const double x = parseNumber(item.substr(0, comma), trimmed(item));
        const double y = parseNumber(item.substr(comma + 1), trimmed(item));
        if (x < low || x > high || y < low || y > high)
            throw UsageError("--curve: the point " + trimmed(item) + " lies outside " + unit);
        // To the editor's whole pixels; the output grows upwards.
        const double px = normalized ? area.minX + x * (area.maxX - area.minX) : x;
        const double py = normalized ? area.maxY - y * (area.maxY - area.minY) : y;
        points.push_back(
            {static_cast<float>(std::lround(px)), static_cast<float>(std::lround(py))});
        if (points.size() > static_cast<std::size_t>(CurveModel::MaxPoints))
            throw UsageError("--curve: more than " + std::to_string(CurveModel::MaxPoints) +
                             " points; the curve editor holds at most that many");
    }
    if (points.size() < 2)
        throw UsageError("--curve: give at least two points, the curve's first and last");
    if (points.front().x != area.minX || points.back().x != area.maxX) {
        throw UsageError(normalized ? "--curve: the curve must start at input 0 and end at input 1"
                                    : "--curve: the curve must start at x " + formatted(area.minX) +
                                          " and end at x " + formatted(area.maxX));
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (points[i].x <= points[i - 1].x)
            throw UsageError("--curve: the points must be in ascending x, at least a pixel apart "
                             "(point " +
                             std::to_string(i + 1) + " is not right of point " + std::to_string(i) +
                             ")");
    }
    return points;
}
