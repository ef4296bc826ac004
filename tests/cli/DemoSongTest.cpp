// The demo song that `varnex render` plays when given no input file.

#include "cli/DemoSong.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

double rootMeanSquare(const std::vector<float>& samples) {
    double sum = 0.0;
    for (float sample : samples)
        sum += static_cast<double>(sample) * sample;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

float peak(const StereoBuffer& song) {
    float loudest = 0.0f;
    for (const auto* channel : {&song.left, &song.right})
        for (float sample : *channel)
            loudest = std::max(loudest, std::abs(sample));
    return loudest;
}

// Share of samples that a gain of `drive` would push past full scale.
double clippedShare(const StereoBuffer& song, double drive) {
    std::int64_t clipped = 0;
    for (const auto* channel : {&song.left, &song.right})
        clipped += std::count_if(channel->begin(), channel->end(),
                                 [drive](float sample) { return std::abs(sample) * drive > 1.0; });
    return static_cast<double>(clipped) / (2.0 * static_cast<double>(song.left.size()));
}

class DemoSongTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { song = new StereoBuffer(synthesizeDemoSong()); }
    static void TearDownTestSuite() { delete song; }
    static StereoBuffer* song;
};

StereoBuffer* DemoSongTest::song = nullptr;

TEST_F(DemoSongTest, IsTheSameEveryTime) {
    StereoBuffer again = synthesizeDemoSong();
    EXPECT_EQ(again.left, song->left);
    EXPECT_EQ(again.right, song->right);
}

TEST_F(DemoSongTest, LastsAFewSecondsAtTheRequestedRate) {
    EXPECT_EQ(song->sampleRate, 44100.0);
    EXPECT_EQ(song->left.size(), song->right.size());
    double seconds = static_cast<double>(song->frameCount()) / song->sampleRate;
    EXPECT_GE(seconds, 8.0);
    EXPECT_LE(seconds, 10.0);
    StereoBuffer at48k = synthesizeDemoSong(48000.0);
    EXPECT_EQ(at48k.sampleRate, 48000.0);
    EXPECT_NEAR(static_cast<double>(at48k.frameCount()) / 48000.0, seconds, 0.001);
}

TEST_F(DemoSongTest, IsAudibleInBothChannelsAndTrulyStereo) {
    EXPECT_GT(rootMeanSquare(song->left), 0.05);
    EXPECT_GT(rootMeanSquare(song->right), 0.05);
    EXPECT_NE(song->left, song->right);
    for (const auto* channel : {&song->left, &song->right})
        EXPECT_TRUE(std::all_of(channel->begin(), channel->end(),
                                [](float sample) { return std::isfinite(sample); }));
}

TEST_F(DemoSongTest, EveryBarHasSound) {
    auto barFrames = static_cast<std::size_t>(2.0 * song->sampleRate); // 120 bpm, 4/4
    for (std::size_t bar = 0; bar < 4; ++bar) {
        std::vector<float> part(song->left.begin() + static_cast<std::ptrdiff_t>(bar * barFrames),
                                song->left.begin() +
                                    static_cast<std::ptrdiff_t>((bar + 1) * barFrames));
        EXPECT_GT(rootMeanSquare(part), 0.05) << "bar " << bar;
    }
}

TEST_F(DemoSongTest, IsCleanAtUnityGainAndClipsWhenDriven) {
    EXPECT_FLOAT_EQ(peak(*song), DemoPeakLevel);
    EXPECT_EQ(clippedShare(*song, 1.0), 0.0);
    // PreGain 0.9 is a gain of 1.8: a clearly audible share of the song clips.
    EXPECT_GT(clippedShare(*song, 1.8), 0.01);
    EXPECT_GT(clippedShare(*song, 2.0), clippedShare(*song, 1.8));
}

} // namespace
