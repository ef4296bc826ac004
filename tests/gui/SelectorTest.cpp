// Row and column selectors: which stacked picture a value shows, and which
// value a press at a given place gives.

#include "ControlTestSupport.h"

#include "gui/Selectors.h"

using platform::headless::PointerLeft;

namespace {

class SelectorTest : public ControlTest {
  protected:
    // Picture 110: two 42 x 17 pictures stacked. Returns a point of the
    // upper picture whose colour the lower one does not share.
    static Point distinguishingPoint() {
        for (std::int32_t y = 0; y < 17; ++y)
            for (std::int32_t x = 0; x < 42; ++x)
                if (resourcePixel(110, x, y) != resourcePixel(110, x, y + 17))
                    return {x, y};
        ADD_FAILURE() << "the two pictures of 110 are alike";
        return {};
    }
    // Which of the two pictures the window shows at the selector's place.
    int shownPicture(const Rect& size) {
        const Point p = distinguishingPoint();
        const platform::ColorWord shown = pixel(size.left + p.h, size.top + p.v);
        if (shown == resourcePixel(110, p.h, p.v))
            return 0;
        if (shown == resourcePixel(110, p.h, p.v + 17))
            return 1;
        return -1;
    }

    void SetUp() override {
        ControlTest::SetUp();
        switches = picture(110);
    }

    Bitmap* switches = nullptr;
};

constexpr Rect row{107, 262, 149, 279};

} // namespace

TEST_F(SelectorTest, TwoPositionsSwitchPictureOnlyAtOne) {
    auto* selector = attach(new RowSelector(row, &listener, 5, 2, 17, 2, switches, {}));
    paint();
    EXPECT_EQ(shownPicture(row), 0);
    selector->setValue(0.99f);
    frame->pump();
    EXPECT_EQ(shownPicture(row), 0);
    selector->setValue(1.0f);
    frame->pump();
    EXPECT_EQ(shownPicture(row), 1);
}

TEST_F(SelectorTest, ThreePositionsShowTheMiddlePictureAtOneHalf) {
    // Step 1/2: index 0 below 0.5, index 1 (rows 17..33) from 0.5 on.
    auto* selector = attach(new RowSelector(row, &listener, 3, 3, 17, 3, switches, {}));
    paint();
    selector->setValue(0.49f);
    frame->pump();
    EXPECT_EQ(shownPicture(row), 0);
    selector->setValue(0.5f);
    frame->pump();
    EXPECT_EQ(shownPicture(row), 1);
}

TEST_F(SelectorTest, ARowPressOnTheHalfwayColumnOrLeftOfItGivesZero) {
    // w = 42 / 2 = 21: x <= 21 gives 0, anything further right 1.
    auto* selector = attach(new RowSelector(row, &listener, 5, 2, 17, 2, switches, {}));
    press(row.left + 21, 270, PointerLeft);
    EXPECT_EQ(selector->value(), 0.0f);
    press(row.left + 22, 270, PointerLeft);
    EXPECT_EQ(selector->value(), 1.0f);
    press(row.left, 270, PointerLeft, {at(row.left + 40, 270, PointerLeft)});
    EXPECT_EQ(listener.values, (std::vector<float>{0.0f, 1.0f, 0.0f, 1.0f}));
}

TEST_F(SelectorTest, ARowOfThreeStepsThroughHalves) {
    // w = 14: boundaries at 14 and 28.
    auto* selector = attach(new RowSelector(row, &listener, 5, 3, 17, 3, switches, {}));
    const std::vector<std::pair<int, float>> expected{{0, 0.0f},  {14, 0.0f}, {15, 0.5f},
                                                      {28, 0.5f}, {29, 1.0f}, {42, 1.0f}};
    for (const auto& [x, value] : expected) {
        press(row.left + x, 270, PointerLeft);
        EXPECT_EQ(selector->value(), value) << x;
    }
}

TEST_F(SelectorTest, AColumnDividesTheHeightOfOnePictureAndExcludesTheBoundary) {
    // Picture height 20, two positions: w = 10, y < 10 gives 0.
    const Rect column{300, 100, 342, 140};
    auto* selector = attach(new ColumnSelector(column, &listener, 6, 2, 20, 2, switches, {}));
    press(310, column.top + 9, PointerLeft);
    EXPECT_EQ(selector->value(), 0.0f);
    press(310, column.top + 10, PointerLeft);
    EXPECT_EQ(selector->value(), 1.0f);
    EXPECT_EQ(listener.tags, (std::vector<std::int32_t>{6, 6}));
}

TEST_F(SelectorTest, AColumnDrawsLikeARow) {
    const Rect column{300, 100, 342, 117};
    auto* selector = attach(new ColumnSelector(column, &listener, 6, 2, 17, 2, switches, {}));
    paint();
    EXPECT_EQ(shownPicture(column), 0);
    selector->setValue(1.0f);
    frame->pump();
    EXPECT_EQ(shownPicture(column), 1);
}
