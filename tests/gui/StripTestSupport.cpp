#include "StripTestSupport.h"

#include "platform/EmbeddedResources.h"
#include "resources/ResourceTable.h"

#include <vector>

namespace {

struct StripShape {
    TestStrip id;
    std::int32_t pictures;
    std::int32_t width;
    std::int32_t height;
};

constexpr StripShape shapes[] = {
    {FourPictures, 4, 20, 10}, {TwoPictures, 2, 20, 10}, {Digits, 10, 6, 8},
    {MeterOn, 1, 40, 40},      {MeterOff, 1, 40, 40},
};

// red: the picture; green: the column; blue: the strip and the row.
constexpr std::int32_t rowsPerStrip = 50;
platform::ColorWord encode(std::int32_t strip, std::int32_t picture, std::int32_t column,
                           std::int32_t row) {
    return platform::colorWord(static_cast<std::uint8_t>(10 + 20 * picture),
                               static_cast<std::uint8_t>(column),
                               static_cast<std::uint8_t>(strip * rowsPerStrip + row));
}

void put16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>(v >> 8 & 0xFF));
}
void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A 24-bit bottom-up BMP file of the strip.
std::vector<unsigned char> makeBmp(std::int32_t strip, const StripShape& shape) {
    const auto width = static_cast<std::uint32_t>(shape.width);
    const auto height = static_cast<std::uint32_t>(shape.height * shape.pictures);
    const std::uint32_t stride = (width * 3 + 3) & ~3u;
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + stride * height);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, width);
    put32(out, height);
    put16(out, 1);
    put16(out, 24);
    for (int i = 0; i < 6; ++i)
        put32(out, 0);
    for (std::int32_t y = static_cast<std::int32_t>(height) - 1; y >= 0; --y) {
        for (std::int32_t x = 0; x < shape.width; ++x) {
            const platform::ColorWord c = encode(strip, y / shape.height, x, y % shape.height);
            out.push_back(platform::blueOf(c));
            out.push_back(platform::greenOf(c));
            out.push_back(platform::redOf(c));
        }
        for (std::uint32_t pad = width * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

// The editor's pictures and the test strips; built once, kept for good.
const std::vector<platform::EmbeddedResource>& testTable() {
    static std::vector<std::vector<unsigned char>> files;
    static std::vector<platform::EmbeddedResource> table;
    if (table.empty()) {
        std::size_t count = 0;
        const platform::EmbeddedResource* editor = resources::bitmapTable(count);
        table.assign(editor, editor + count);
        for (std::int32_t i = 0; i < static_cast<std::int32_t>(std::size(shapes)); ++i)
            files.push_back(makeBmp(i, shapes[i]));
        for (std::size_t i = 0; i < files.size(); ++i)
            table.push_back({shapes[i].id, files[i].data(), files[i].size()});
    }
    return table;
}

} // namespace

StripPixel decodeStripPixel(platform::ColorWord color) {
    const std::int32_t red = platform::redOf(color);
    const std::int32_t blue = platform::blueOf(color);
    const std::int32_t strip = blue / rowsPerStrip;
    if ((red - 10) % 20 != 0 || strip >= static_cast<std::int32_t>(std::size(shapes)))
        return {};
    return {strip, (red - 10) / 20, platform::greenOf(color), blue % rowsPerStrip};
}

std::vector<platform::ColorWord> regionPixels(platform::Window* window, const Rect& r) {
    std::int32_t width = 0, height = 0;
    const auto all = platform::headless::windowPixels(window, width, height);
    std::vector<platform::ColorWord> out;
    for (std::int32_t y = r.top; y <= r.bottom; ++y)
        for (std::int32_t x = r.left; x <= r.right; ++x)
            out.push_back(x >= 0 && y >= 0 && x < width && y < height
                              ? all[static_cast<std::size_t>(y * width + x)]
                              : 0xFFFFFFFF);
    return out;
}

void StripControlTest::SetUp() {
    const auto& table = testTable();
    platform::useResourceTable(table.data(), table.size());
    ControlTest::SetUp();
}

void StripControlTest::TearDown() {
    ControlTest::TearDown();
    resources::useEmbeddedBitmaps();
}
