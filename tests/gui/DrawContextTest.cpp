#include "TestSupport.h"

#include "gui/DrawContext.h"
#include "platform/Diagnostics.h"
#include "platform/Input.h"

#include <algorithm>

namespace {

constexpr platform::ColorWord background = 0x00808080;

class DrawContextTest : public HostWindowTest {
  protected:
    void SetUp() override {
        HostWindowTest::SetUp();
        deviceContext = platform::windowContext(host);
        platform::Brush* brush = platform::createSolidBrush(background);
        platform::fillRect(deviceContext, {0, 0, 600, 320}, brush);
        platform::deleteBrush(brush);
        context = new DrawContext(nullptr, deviceContext, host);
    }
    void TearDown() override {
        delete context;
        platform::releaseWindowContext(host, deviceContext);
        HostWindowTest::TearDown();
    }
    platform::ColorWord at(int x, int y) { return platform::pixel(deviceContext, x, y); }
    // The pixels of a region that are not the background, as '#' rows.
    std::string rows(int left, int top, int right, int bottom) {
        std::string out;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x)
                out += at(x, y) == background ? '.' : '#';
            out += '\n';
        }
        return out;
    }
    int changed(const Rect& outside) {
        int n = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
                if (!(x >= outside.left && x <= outside.right && y >= outside.top &&
                      y <= outside.bottom))
                    n += at(x, y) != background;
        return n;
    }

    platform::DeviceContext* deviceContext = nullptr;
    DrawContext* context = nullptr;
};

} // namespace

TEST_F(DrawContextTest, StrokeRectDrawsAllFourEdgesOnTheRectangle) {
    context->setPenColor(colors::red);
    context->strokeRect({10, 10, 20, 20});
    for (int i = 10; i <= 20; ++i) {
        EXPECT_EQ(at(i, 10), colors::red.platformColor()) << i;
        EXPECT_EQ(at(i, 20), colors::red.platformColor()) << i;
        EXPECT_EQ(at(10, i), colors::red.platformColor()) << i;
        EXPECT_EQ(at(20, i), colors::red.platformColor()) << i;
    }
    EXPECT_EQ(at(15, 15), background);
    EXPECT_EQ(changed({10, 10, 20, 20}), 0);
}

TEST_F(DrawContextTest, PaintRectFillsInsideFromLeftTopPlusOneToRightBottomExcluded) {
    context->setPaintColor(colors::blue);
    context->paintRect({10, 10, 20, 20});
    for (int y = 9; y <= 21; ++y)
        for (int x = 9; x <= 21; ++x) {
            const bool inside = x >= 11 && x <= 19 && y >= 11 && y <= 19;
            EXPECT_EQ(at(x, y) == colors::blue.platformColor(), inside) << x << "," << y;
        }
}

TEST_F(DrawContextTest, StartsWithWhiteSolidPenBlackPaintAndWhiteInk) {
    EXPECT_EQ(context->penColor(), colors::white);
    EXPECT_EQ(context->paintColor(), colors::black);
    EXPECT_EQ(context->inkColor(), colors::white);
    EXPECT_EQ(context->penWidth(), 1);
    context->penTo({0, 0});
    context->strokeTo({5, 0});
    EXPECT_EQ(at(4, 0), colors::white.platformColor());
    EXPECT_EQ(at(5, 0), background);
    context->paintRect({0, 5, 4, 9});
    EXPECT_EQ(at(2, 7), colors::black.platformColor());
}

TEST_F(DrawContextTest, DestructionGivesTheDeviceContextItsObjectsBack) {
    platform::Pen* pen = platform::currentPen(deviceContext);
    platform::Brush* brush = platform::currentBrush(deviceContext);
    platform::Font* font = platform::currentFont(deviceContext);
    {
        DrawContext inner(nullptr, deviceContext, host);
        inner.selectFont(2);
        inner.setPenWidth(3);
        EXPECT_NE(platform::currentPen(deviceContext), pen);
        EXPECT_NE(platform::currentFont(deviceContext), font);
    }
    EXPECT_EQ(platform::currentBrush(deviceContext), brush);
    EXPECT_EQ(platform::currentPen(deviceContext), pen);
    EXPECT_EQ(platform::currentFont(deviceContext), font);
}

TEST_F(DrawContextTest, PenStyleOneIsDottedAndAnythingElseSolid) {
    context->setPenStyle(1);
    context->penTo({0, 30});
    context->strokeTo({12, 30});
    EXPECT_EQ(rows(0, 30, 12, 31), "###...###...\n");
    context->setPenStyle(7);
    context->penTo({0, 31});
    context->strokeTo({12, 31});
    EXPECT_EQ(rows(0, 31, 12, 32), "############\n");
}

TEST_F(DrawContextTest, PenWidthWidensLines) {
    context->setPenWidth(3);
    context->penTo({10, 40});
    context->strokeTo({20, 40});
    EXPECT_EQ(rows(15, 38, 16, 43), ".\n#\n#\n#\n.\n");
}

TEST_F(DrawContextTest, PolygonIsFilledWithoutOutline) {
    context->setPenColor(colors::red);
    context->setPaintColor(colors::green);
    const Point triangle[] = {{10, 10}, {30, 10}, {10, 30}};
    context->paintPolygon(triangle, 3);
    EXPECT_EQ(at(12, 12), colors::green.platformColor());
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_NE(at(x, y), colors::red.platformColor());
    // The pen is back afterwards.
    context->penTo({0, 50});
    context->strokeTo({3, 50});
    EXPECT_EQ(at(0, 50), colors::red.platformColor());
}

TEST_F(DrawContextTest, PolylineStrokesThroughThePoints) {
    const Point points[] = {{1, 1}, {5, 1}, {5, 4}};
    context->strokePolyline(points, 3);
    EXPECT_EQ(rows(0, 0, 7, 5), ".......\n.#####.\n.....#.\n.....#.\n.......\n");
}

TEST_F(DrawContextTest, EllipsesUseTheRectangleLikeRectanglesDo) {
    context->setPenColor(colors::red);
    context->strokeEllipse({10, 10, 20, 20});
    // The outline touches all four edges, as strokeRect's would.
    EXPECT_EQ(at(10, 15), colors::red.platformColor());
    EXPECT_EQ(at(20, 15), colors::red.platformColor());
    EXPECT_EQ(at(15, 10), colors::red.platformColor());
    EXPECT_EQ(at(15, 20), colors::red.platformColor());
    EXPECT_EQ(changed({10, 10, 20, 20}), 0);

    context->setPaintColor(colors::blue);
    context->paintEllipse({30, 10, 40, 20});
    // The fill covers only the inside, as paintRect's would.
    EXPECT_EQ(at(35, 15), colors::blue.platformColor());
    EXPECT_EQ(at(30, 15), background);
    EXPECT_EQ(at(35, 10), background);
    EXPECT_EQ(at(31, 15), colors::blue.platformColor());
    EXPECT_EQ(at(39, 15), colors::blue.platformColor());
    EXPECT_EQ(at(40, 15), background);
}

TEST_F(DrawContextTest, ArcsAndPiesRunCounterClockwise) {
    context->setPenColor(colors::red);
    // From the right ray to the top ray: only the upper right quarter.
    context->strokeArc({0, 0, 20, 20}, {40, 10}, {10, -40});
    EXPECT_EQ(at(20, 10), colors::red.platformColor());
    EXPECT_EQ(at(10, 0), colors::red.platformColor());
    EXPECT_EQ(at(0, 10), background);
    EXPECT_EQ(at(10, 20), background);

    context->setPaintColor(colors::green);
    context->paintPie({30, 0, 50, 20}, {40, 40}, {60, 10}); // bottom ray to right ray
    EXPECT_EQ(at(45, 15), colors::green.platformColor());
    EXPECT_EQ(at(35, 5), background);
    EXPECT_EQ(at(45, 5), background);
}

TEST_F(DrawContextTest, SetPixelColourSetsOnePixel) {
    context->setPixelColor({7, 8}, Color{1, 2, 3, 200});
    EXPECT_EQ(at(7, 8), 0x030201u);
    EXPECT_EQ(changed({7, 8, 7, 8}), 0);
}

TEST_F(DrawContextTest, SelectFontStoresTheEffectiveSize) {
    context->selectFont(7, 0);
    EXPECT_EQ(context->fontSize(), 12);
    context->selectFont(5, 0);
    EXPECT_EQ(context->fontSize(), 9);
    context->selectFont(3, 20);
    EXPECT_EQ(context->fontSize(), 20);
}

TEST_F(DrawContextTest, UnknownAlignmentDrawsLikeLeftWithTheEdgeMovedInByOne) {
    context->selectFont(3);
    context->drawText("Varnex", {10, 10, 110, 30}, 0, static_cast<TextAlign>(5));
    std::vector<platform::ColorWord> odd;
    for (int y = 10; y < 30; ++y)
        for (int x = 0; x < 120; ++x)
            odd.push_back(at(x, y));
    platform::Brush* brush = platform::createSolidBrush(background);
    platform::fillRect(deviceContext, {0, 10, 120, 30}, brush);
    platform::deleteBrush(brush);
    // The same text straight through the platform, left edge at 11.
    platform::drawText(deviceContext, "Varnex", 6, {11, 10, 110, 30},
                       platform::TextLeft | platform::TextVerticalCenter |
                           platform::TextSingleLine);
    std::vector<platform::ColorWord> direct;
    for (int y = 10; y < 30; ++y)
        for (int x = 0; x < 120; ++x)
            direct.push_back(at(x, y));
    EXPECT_EQ(odd, direct);
    EXPECT_NE(std::count(direct.begin(), direct.end(), background),
              static_cast<long>(direct.size()));
}

TEST_F(DrawContextTest, OpaqueTextPaintsBehindAndLeavesTheContextTransparent) {
    context->selectFont(3);
    context->setPaintColor(colors::blue);
    context->setInkColor(colors::yellow);
    // The line's cell is 14 high, centred in 20: rows 3 to 16; the top
    // rows of the cell lie above the letter.
    context->drawText("m", {0, 0, 60, 20}, 1, AlignLeft);
    EXPECT_EQ(at(3, 4), colors::blue.platformColor());
    EXPECT_EQ(at(3, 1), background);
    context->drawText("m", {0, 20, 60, 40}, 0, AlignLeft);
    EXPECT_EQ(at(3, 24), background);
    EXPECT_EQ(platform::setBackgroundMode(deviceContext, platform::BackgroundMode::Transparent),
              platform::BackgroundMode::Transparent);
}

TEST_F(DrawContextTest, CentredAndRightAlignedTextSitWhereTheyShould) {
    context->selectFont(2);
    context->setInkColor(colors::black);
    context->drawText("II", {0, 0, 100, 20}, 0, AlignRight);
    int rightmost = -1;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 20; ++y)
            if (at(x, y) != background)
                rightmost = x;
    EXPECT_GE(rightmost, 95);
    EXPECT_LT(rightmost, 100);
}

TEST_F(DrawContextTest, MouseButtonsAreBuiltFromTheKeyState) {
    platform::headless::setPointer(
        {0, 0, platform::headless::PointerLeft | platform::headless::PointerAlt});
    EXPECT_EQ(context->queryMouseButtons(), 33);
    platform::headless::setPointer({0, 0, 63});
    EXPECT_EQ(context->queryMouseButtons(), 63);
    platform::headless::setPointer(
        {0, 0, platform::headless::PointerLeft | platform::headless::PointerShift});
    EXPECT_EQ(context->queryMouseButtons(), 9);
}

TEST_F(DrawContextTest, MousePositionIsInTheWindowsClientCoordinates) {
    platform::headless::setPointer({230, 140, 0});
    Point where;
    context->queryMousePosition(where);
    EXPECT_EQ(where, (Point{30, 40}));
}
