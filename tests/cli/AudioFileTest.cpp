// Audio files in and out of `varnex render`.

#include "RenderTestSupport.h"

#include "cli/AudioFile.h"
#include "cli/CommandError.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <fstream>

namespace {

using render_test::testTones;

// Writes interleaved samples in a format of libsndfile's choosing.
void writeWithSndfile(const std::string& path, const std::vector<float>& interleaved, int channels,
                      int sampleRate, int format) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    sf_writef_float(file, interleaved.data(),
                    static_cast<sf_count_t>(interleaved.size()) / channels);
    sf_close(file);
}

TEST(AudioFiles, StereoFloatWavKeepsEverySampleAndTheRate) {
    ScratchFolder folder;
    StereoBuffer tones = testTones(1001, 48000.0);
    writeWavFile(folder.file("tones.wav"), tones);

    SF_INFO info{};
    SNDFILE* file = sf_open(folder.file("tones.wav").c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    sf_close(file);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.samplerate, 48000);
    EXPECT_EQ(info.frames, 1001);

    StereoBuffer back = readAudioFile(folder.file("tones.wav"));
    EXPECT_EQ(back.sampleRate, 48000.0);
    EXPECT_EQ(back.left, tones.left);
    EXPECT_EQ(back.right, tones.right);
}

TEST(AudioFiles, MonoFileFeedsBothChannels) {
    ScratchFolder folder;
    std::vector<float> mono = {0.0f, 0.25f, -0.5f, 0.75f, -1.0f};
    writeWithSndfile(folder.file("mono.wav"), mono, 1, 22050, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    AudioFileReader reader(folder.file("mono.wav"));
    EXPECT_EQ(reader.channelCount(), 1);
    EXPECT_EQ(reader.sampleRate(), 22050.0);
    StereoBuffer audio = readAudioFile(folder.file("mono.wav"));
    ASSERT_EQ(audio.frameCount(), 5);
    for (std::size_t i = 0; i < mono.size(); ++i) {
        EXPECT_NEAR(audio.left[i], mono[i], 1.0 / 16384) << i; // 16-bit steps
        EXPECT_EQ(audio.right[i], audio.left[i]) << i;
    }
}

TEST(AudioFiles, OtherFormatsLibsndfileReadsComeInToo) {
    ScratchFolder folder;
    StereoBuffer tones = testTones(300);
    std::vector<float> interleaved;
    for (std::size_t i = 0; i < 300; ++i) {
        interleaved.push_back(tones.left[i]);
        interleaved.push_back(tones.right[i]);
    }
    writeWithSndfile(folder.file("tones.aiff"), interleaved, 2, 44100,
                     SF_FORMAT_AIFF | SF_FORMAT_PCM_24);
    StereoBuffer audio = readAudioFile(folder.file("tones.aiff"));
    ASSERT_EQ(audio.frameCount(), 300);
    for (std::size_t i = 0; i < 300; ++i) {
        EXPECT_NEAR(audio.left[i], tones.left[i], 1e-6);
        EXPECT_NEAR(audio.right[i], tones.right[i], 1e-6);
    }
}

TEST(AudioFiles, ReadsServeAnyLengthThroughASmallChunkUpToTheEnd) {
    ScratchFolder folder;
    StereoBuffer tones = testTones(10);
    writeWavFile(folder.file("short.wav"), tones);
    AudioFileReader reader(folder.file("short.wav"), 3);
    std::vector<float> left(16, 9.0f), right(16, 9.0f);
    EXPECT_EQ(reader.read(left.data(), right.data(), 7), 7);
    EXPECT_EQ(reader.read(left.data() + 7, right.data() + 7, 7), 3);
    EXPECT_EQ(reader.read(left.data() + 10, right.data() + 10, 7), 0);
    EXPECT_TRUE(std::equal(tones.left.begin(), tones.left.end(), left.begin()));
    EXPECT_TRUE(std::equal(tones.right.begin(), tones.right.end(), right.begin()));
    EXPECT_EQ(left[10], 9.0f); // nothing written past what was read
}

TEST(AudioFiles, UnreadableInputsGiveOneLineErrors) {
    ScratchFolder folder;
    std::ofstream(folder.file("notes.txt")) << "not audio at all\n";
    writeWithSndfile(folder.file("three.wav"), std::vector<float>(30, 0.1f), 3, 44100,
                     SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    for (const std::string& path : {folder.file("missing.wav"), folder.path(),
                                    folder.file("notes.txt"), folder.file("three.wav")}) {
        try {
            AudioFileReader reader(path);
            ADD_FAILURE() << "opened " << path;
        } catch (const CommandError& error) {
            std::string message = error.what();
            EXPECT_NE(message.find(path), std::string::npos) << message;
            EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        }
    }
}

TEST(AudioFiles, WritingIntoAMissingFolderFails) {
    ScratchFolder folder;
    EXPECT_THROW(writeWavFile(folder.file("no/such/folder/out.wav"), testTones(10)), CommandError);
}

} // namespace
