#pragma once
// Stereo audio as the renderer moves it: two channel arrays of float
// samples, read from a source and written to a sink a block at a time.

#include <cstdint>
#include <vector>

struct StereoBuffer {
    double sampleRate = 44100.0;
    std::vector<float> left;
    std::vector<float> right;

    std::int64_t frameCount() const { return static_cast<std::int64_t>(left.size()); }
    // Makes the buffer `frames` frames of silence.
    void assignSilence(std::int64_t frames) {
        left.assign(static_cast<std::size_t>(frames), 0.0f);
        right.assign(static_cast<std::size_t>(frames), 0.0f);
    }
};

// Where frames come from. read() fills up to `frames` frames of both
// channels and returns how many it filled; 0 means the end.
class FrameSource {
  public:
    virtual ~FrameSource() = default;
    virtual double sampleRate() const = 0;
    // Total length if known in advance, else -1 (only used for progress).
    virtual std::int64_t frameCount() const = 0;
    virtual std::int64_t read(float* left, float* right, std::int64_t frames) = 0;
};

// Where rendered frames go.
class FrameSink {
  public:
    virtual ~FrameSink() = default;
    virtual void write(const float* left, const float* right, std::int64_t frames) = 0;
};

// Reads a StereoBuffer from its start; the buffer must outlive the source.
class BufferSource final : public FrameSource {
  public:
    explicit BufferSource(const StereoBuffer& buffer) : audio(buffer) {}
    double sampleRate() const override { return audio.sampleRate; }
    std::int64_t frameCount() const override { return audio.frameCount(); }
    std::int64_t read(float* left, float* right, std::int64_t frames) override;

  private:
    const StereoBuffer& audio;
    std::int64_t position = 0;
};

// Appends to a StereoBuffer; reserve() first to keep write() from allocating.
class BufferSink final : public FrameSink {
  public:
    explicit BufferSink(StereoBuffer& buffer) : audio(buffer) {}
    void reserve(std::int64_t frames);
    void write(const float* left, const float* right, std::int64_t frames) override;

  private:
    StereoBuffer& audio;
};
