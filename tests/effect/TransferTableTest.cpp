#include "effect/TransferTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

// A curve given by a function of the input in [0, 1].
class FunctionCurve : public CurveSource {
  public:
    explicit FunctionCurve(std::function<float(double)> f) : function(std::move(f)) {}
    void sampleCurve(float* values, std::int32_t count) override {
        ++calls;
        for (std::int32_t j = 0; j < count; ++j) {
            values[j] = function(static_cast<double>(j) / count);
        }
    }
    std::function<float(double)> function;
    int calls = 0;
};

TEST(TransferTableIdentity, EndsAreExactAndEveryInputMapsToItself) {
    TransferTable table;
    EXPECT_EQ(table.shape(1.0f), 1.0f);
    EXPECT_EQ(table.shape(-1.0f), -1.0f);
    EXPECT_EQ(table.shape(0.0f), 0.0f);
    EXPECT_EQ(table.transferEntry(1023), 1.0f);
    for (int i = -1000; i <= 1000; ++i) {
        const float x = static_cast<float>(i) / 1000.0f;
        EXPECT_NEAR(table.shape(x), x, 2e-7) << x;
    }
}

TEST(TransferTableIdentity, HalfIsTheMeanOfTheMiddleEntries) {
    TransferTable table;
    const float mean = 0.5f * (table.transferEntry(511) + table.transferEntry(512));
    EXPECT_FLOAT_EQ(table.shape(0.5f), mean);
    EXPECT_FLOAT_EQ(table.shape(0.5f), 0.5f);
}

TEST(TransferTableCurve, FollowsTheCurveOnlyAfterARebuild) {
    FunctionCurve curve([](double x) { return static_cast<float>(std::sqrt(x)); });
    TransferTable table;
    table.attachCurve(&curve);
    EXPECT_EQ(curve.calls, 0);
    EXPECT_FLOAT_EQ(table.shape(0.25f), 0.25f);
    table.publish();
    EXPECT_EQ(curve.calls, 1);
    EXPECT_NEAR(table.shape(0.25f), 0.5f, 2e-3);
    table.attachCurve(nullptr);
    table.publish();
    EXPECT_FLOAT_EQ(table.shape(0.25f), 0.25f);
}

TEST(TransferTableCurve, OddSymmetryHoldsForAnyCurve) {
    FunctionCurve curve([](double x) { return static_cast<float>(0.2 + 0.7 * x * x); });
    TransferTable table;
    table.attachCurve(&curve);
    table.publish();
    for (int i = 1; i <= 100; ++i) { // at 0 the curve may jump
        const float x = static_cast<float>(i) / 100.0f;
        EXPECT_EQ(table.shape(-x), -table.shape(x)) << x;
    }
}

TEST(TransferTableCurve, SlopesAreNeighbourDifferences) {
    FunctionCurve curve([](double x) { return static_cast<float>(std::sin(3.0 * x)); });
    TransferTable table;
    table.attachCurve(&curve);
    table.publish();
    for (int k = 0; k < 1023; ++k) {
        ASSERT_EQ(table.slopeEntry(k), table.transferEntry(k + 1) - table.transferEntry(k));
    }
}

TEST(TransferTableCurve, NonFiniteOrHugeHeightsAreKeptFinite) {
    FunctionCurve curve([](double x) {
        if (x < 0.25) {
            return NAN;
        }
        return x < 0.5 ? INFINITY : -3.0e38f;
    });
    TransferTable table;
    table.attachCurve(&curve);
    table.publish();
    for (int k = 0; k < TransferTable::Size; ++k) {
        ASSERT_TRUE(std::isfinite(table.transferEntry(k)));
        ASSERT_TRUE(std::isfinite(table.slopeEntry(k)));
        ASSERT_LE(std::fabs(table.transferEntry(k)), TransferTable::MaxHeight);
    }
    EXPECT_EQ(table.transferEntry(0), 0.0f);
}

// The audio side keeps the table it took until it asks again, so a rebuild
// never changes entries under a running block.
TEST(TransferTableHandover, AudioSideKeepsItsTableUntilItAsksAgain) {
    FunctionCurve curve([](double) { return 0.25f; });
    TransferTable table;
    const TransferTable::Entries& first = table.acquireForAudio();
    table.attachCurve(&curve);
    for (int i = 0; i < 5; ++i) {
        table.publish();
        EXPECT_FLOAT_EQ(first.transferTable[1023], 1.0f);
    }
    const TransferTable::Entries& second = table.acquireForAudio();
    EXPECT_FLOAT_EQ(second.transferTable[1023], 0.25f);
}

// A curve that counts its changes, as the editor's do.
class CountedCurve : public CurveSource {
  public:
    void sampleCurve(float* values, std::int32_t count) override {
        ++samplings;
        for (std::int32_t j = 0; j < count; ++j)
            values[j] = height;
    }
    std::uint64_t revision() const override { return changes; }
    float height = 0.5f;
    std::uint64_t changes = 0;
    int samplings = 0;
};

// A counted curve is sampled where it changes, and publishing only puts the
// newest table in use: it samples nothing, and does nothing when no table
// was built since the last publish.
TEST(TransferTableHandover, ACountedCurveIsSampledWhereItChangesNotWherePublished) {
    CountedCurve curve;
    TransferTable table;
    table.attachCurve(&curve);
    EXPECT_EQ(curve.samplings, 1);
    EXPECT_FLOAT_EQ(table.shape(1.0f), 1.0f) << "built, not yet in use";
    table.publish();
    EXPECT_FLOAT_EQ(table.shape(1.0f), 0.5f);

    table.curveChanged();
    EXPECT_EQ(curve.samplings, 1) << "unchanged since the last build";
    curve.height = 0.25f;
    table.publish();
    EXPECT_FLOAT_EQ(table.shape(1.0f), 0.5f) << "a change not yet reported";
    ++curve.changes;
    table.curveChanged();
    EXPECT_EQ(curve.samplings, 2);
    table.publish();
    table.publish();
    EXPECT_EQ(curve.samplings, 2);
    EXPECT_FLOAT_EQ(table.shape(1.0f), 0.25f);
    EXPECT_FLOAT_EQ(table.acquireForAudio().transferTable[1023], 0.25f);

    // A curve prepared ahead of the one attached.
    CountedCurve loaded;
    loaded.height = 0.75f;
    table.prepareFrom(loaded);
    table.publish();
    EXPECT_FLOAT_EQ(table.shape(1.0f), 0.75f);
    EXPECT_EQ(table.attachedCurve(), &curve);
    table.attachCurve(nullptr);
}

// Tables built faster than published or taken: the audio side always gets
// the one published last, and never one that is written while it holds it.
TEST(TransferTableHandover, TheAudioSideGetsTheLastPublishedTable) {
    CountedCurve curve;
    TransferTable table;
    table.attachCurve(&curve);
    for (int round = 1; round <= 40; ++round) {
        const TransferTable::Entries& held = table.acquireForAudio();
        const float heldHeight = held.transferTable[1023];
        for (int build = 0; build <= round % 3; ++build) {
            curve.height = static_cast<float>(round * 10 + build) / 1000.0f;
            ++curve.changes;
            table.curveChanged();
            if (build != 1)
                table.publish();
        }
        EXPECT_EQ(held.transferTable[1023], heldHeight) << round;
        const float published = table.shape(1.0f);
        EXPECT_EQ(table.acquireForAudio().transferTable[1023], published) << round;
    }
    table.attachCurve(nullptr);
}

} // namespace
