#include "RasterFixture.h"

class TextTest : public RasterFixture {
  protected:
    void SetUp() override {
        makeSurface(120, 40);
        platform::FontDescription description;
        description.height = -12;
        font = platform::createFont(description);
        stockFont = platform::selectFont(context, font);
        platform::setBackgroundMode(context, platform::BackgroundMode::Transparent);
    }
    void TearDown() override {
        platform::selectFont(context, stockFont);
        platform::deleteFont(font);
        RasterFixture::TearDown();
    }

    // Columns and rows of the inked bounding box.
    platform::IntRect inkBox() {
        platform::IntRect box{1000, 1000, -1, -1};
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 120; ++x)
                if (at(x, y) != paper) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x + 1);
                    box.bottom = std::max(box.bottom, y + 1);
                }
        return box;
    }

    platform::Font* font = nullptr;
    platform::Font* stockFont = nullptr;
};

TEST_F(TextTest, AlignmentFlagsPlaceTheLine) {
    const std::uint32_t line = platform::TextSingleLine | platform::TextVerticalCenter;
    platform::drawText(context, "Hi", 2, {10, 0, 110, 40}, line | platform::TextLeft);
    const auto left = inkBox();
    EXPECT_GE(left.left, 10);
    EXPECT_LE(left.left, 12);

    makeSurface(120, 40);
    platform::selectFont(context, font);
    platform::drawText(context, "Hi", 2, {10, 0, 110, 40}, line | platform::TextRight);
    const auto right = inkBox();
    EXPECT_LE(right.right, 110);
    EXPECT_GE(right.right, 107);

    makeSurface(120, 40);
    platform::selectFont(context, font);
    platform::drawText(context, "Hi", 2, {10, 0, 110, 40}, line | platform::TextCenter);
    const auto centre = inkBox();
    EXPECT_NEAR((centre.left + centre.right) / 2.0, 60.0, 2.0);
    // Vertically centred: the ink sits around the middle row.
    EXPECT_NEAR((centre.top + centre.bottom) / 2.0, 20.0, 3.0);
}

TEST_F(TextTest, WithoutVerticalCentringTheLineStartsAtTheTop) {
    platform::drawText(context, "H", 1, {0, 0, 120, 40}, platform::TextSingleLine);
    EXPECT_LT(inkBox().top, 6);
}

TEST_F(TextTest, TextIsClippedToItsRectangle) {
    platform::drawText(context, "WWWWWWWW", -1, {10, 10, 30, 30},
                       platform::TextSingleLine | platform::TextVerticalCenter);
    const auto box = inkBox();
    EXPECT_GE(box.left, 10);
    EXPECT_LE(box.right, 30);
}

TEST_F(TextTest, OpaqueModeFillsTheTextCellWithTheBackgroundColour) {
    platform::setBackgroundMode(context, platform::BackgroundMode::Opaque);
    platform::setBackgroundColor(context, 0x0000FF00);
    const int height = platform::drawText(context, "x", 1, {0, 0, 120, 40},
                                          platform::TextSingleLine | platform::TextVerticalCenter);
    EXPECT_GT(height, 12);
    EXPECT_EQ(at(0, 20), 0x0000FF00u);
    EXPECT_EQ(at(60, 20), paper); // beyond the text's width
}

TEST_F(TextTest, InkBlendsTheTextColourOverWhatIsThere) {
    platform::setTextColor(context, 0x000000FF); // red on white paper
    platform::drawText(context, "H", 1, {0, 0, 120, 40},
                       platform::TextSingleLine | platform::TextVerticalCenter);
    int strongest = 255;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const platform::ColorWord c = at(x, y);
            EXPECT_EQ(platform::redOf(c), 255); // only green and blue fade
            EXPECT_EQ(platform::greenOf(c), platform::blueOf(c));
            strongest = std::min<int>(strongest, platform::greenOf(c));
        }
    EXPECT_LT(strongest, 16); // the stems are fully covered
}

TEST_F(TextTest, BoldAndLargerFontsDrawWiderText) {
    auto widthOf = [this](int height, int weight) {
        makeSurface(120, 40);
        platform::FontDescription description;
        description.height = height;
        description.weight = weight;
        platform::Font* f = platform::createFont(description);
        platform::Font* previous = platform::selectFont(context, f);
        platform::drawText(context, "Varnex", -1, {0, 0, 120, 40}, platform::TextSingleLine);
        platform::selectFont(context, previous);
        platform::deleteFont(f);
        const auto box = inkBox();
        return box.right - box.left;
    };
    EXPECT_GT(widthOf(-12, 700), widthOf(-12, 400));
    EXPECT_GT(widthOf(-18, 400), widthOf(-12, 400));
    // A cell height (positive) is larger than the same character height.
    EXPECT_LT(widthOf(14, 400), widthOf(-14, 400));
}
