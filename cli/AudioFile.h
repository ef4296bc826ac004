#pragma once
// Audio files through libsndfile: any format it reads comes in as stereo
// (a mono file feeds both channels), and everything goes out as a stereo
// WAV file of 32-bit float samples.

#include "cli/StereoAudio.h"

#include <cstdint>
#include <memory>
#include <string>

// Streams an audio file. Opening fails with a one-line CommandError for a
// missing, unreadable or non-audio file, and for more than two channels.
class AudioFileReader final : public FrameSource {
  public:
    // `chunkFrames` sizes the one conversion buffer; read() may ask for more
    // and is then served in several chunks.
    explicit AudioFileReader(const std::string& path, std::int64_t chunkFrames = 4096);
    ~AudioFileReader() override;
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    int channelCount() const;
    double sampleRate() const override;
    std::int64_t frameCount() const override;
    std::int64_t read(float* left, float* right, std::int64_t frames) override;

  private:
    struct Handle;
    std::unique_ptr<Handle> handle;
};

// Writes a stereo WAV file of 32-bit floats. finish() completes the file and
// reports any failure; a writer destroyed without it still closes the file.
class WavFileWriter final : public FrameSink {
  public:
    WavFileWriter(const std::string& path, double sampleRate, std::int64_t chunkFrames = 4096);
    ~WavFileWriter() override;
    WavFileWriter(const WavFileWriter&) = delete;
    WavFileWriter& operator=(const WavFileWriter&) = delete;

    void write(const float* left, const float* right, std::int64_t frames) override;
    void finish();

  private:
    struct Handle;
    std::unique_ptr<Handle> handle;
};

// Whole-file helpers for short audio such as the demo song.
StereoBuffer readAudioFile(const std::string& path);
void writeWavFile(const std::string& path, const StereoBuffer& audio);
