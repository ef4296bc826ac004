#include "cli/AudioFile.h"

#include "cli/CommandError.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace {

constexpr int OutputChannels = 2;

void checkReadablePath(const std::string& path) {
    std::error_code failure;
    std::filesystem::file_status status = std::filesystem::status(path, failure);
    if (!std::filesystem::exists(status))
        throw CommandError("no such file: " + path);
    if (std::filesystem::is_directory(status))
        throw CommandError("not an audio file but a folder: " + path);
}

// libsndfile ends some messages with a period or a newline; one line without.
std::string sndfileError(SNDFILE* file) {
    std::string text = sf_strerror(file);
    while (!text.empty() && (text.back() == '\n' || text.back() == '.' || text.back() == ' '))
        text.pop_back();
    return text;
}

} // namespace

struct AudioFileReader::Handle {
    SNDFILE* file = nullptr;
    SF_INFO info{};
    std::vector<float> interleaved;
};

AudioFileReader::AudioFileReader(const std::string& path, std::int64_t chunkFrames)
    : handle(std::make_unique<Handle>()) {
    checkReadablePath(path);
    handle->file = sf_open(path.c_str(), SFM_READ, &handle->info);
    if (!handle->file)
        throw CommandError("cannot read " + path + " as audio: " + sndfileError(nullptr));
    int channels = handle->info.channels;
    if (channels < 1 || channels > 2) {
        sf_close(handle->file);
        throw CommandError(path + " has " + std::to_string(channels) +
                           " channels; only mono and stereo files can be rendered");
    }
    handle->interleaved.resize(static_cast<std::size_t>(std::max<std::int64_t>(chunkFrames, 1)) *
                               static_cast<std::size_t>(channels));
}

AudioFileReader::~AudioFileReader() {
    if (handle->file)
        sf_close(handle->file);
}

int AudioFileReader::channelCount() const {
    return handle->info.channels;
}

double AudioFileReader::sampleRate() const {
    return handle->info.samplerate;
}

std::int64_t AudioFileReader::frameCount() const {
    return handle->info.frames;
}

std::int64_t AudioFileReader::read(float* left, float* right, std::int64_t frames) {
    const int channels = handle->info.channels;
    const std::int64_t chunk =
        static_cast<std::int64_t>(handle->interleaved.size()) / static_cast<std::int64_t>(channels);
    std::int64_t done = 0;
    while (done < frames) {
        sf_count_t wanted = std::min(chunk, frames - done);
        sf_count_t got = sf_readf_float(handle->file, handle->interleaved.data(), wanted);
        if (got <= 0)
            break;
        const float* samples = handle->interleaved.data();
        for (sf_count_t i = 0; i < got; ++i) {
            left[done + i] = samples[i * channels];
            right[done + i] = samples[i * channels + channels - 1];
        }
        done += got;
        if (got < wanted)
            break;
    }
    return done;
}

struct WavFileWriter::Handle {
    std::string path;
    SNDFILE* file = nullptr;
    std::vector<float> interleaved;
};

WavFileWriter::WavFileWriter(const std::string& path, double sampleRate, std::int64_t chunkFrames)
    : handle(std::make_unique<Handle>()) {
    handle->path = path;
    SF_INFO info{};
    info.samplerate = static_cast<int>(std::lround(sampleRate));
    info.channels = OutputChannels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    handle->file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!handle->file)
        throw CommandError("cannot write " + path + ": " + sndfileError(nullptr));
    // Without the peak chunk, which carries the time of writing, the same
    // audio always gives the same file.
    sf_command(handle->file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    handle->interleaved.resize(static_cast<std::size_t>(std::max<std::int64_t>(chunkFrames, 1)) *
                               OutputChannels);
}

WavFileWriter::~WavFileWriter() {
    if (handle->file)
        sf_close(handle->file);
}

void WavFileWriter::write(const float* left, const float* right, std::int64_t frames) {
    const std::int64_t chunk = static_cast<std::int64_t>(handle->interleaved.size()) / 2;
    for (std::int64_t done = 0; done < frames;) {
        std::int64_t count = std::min(chunk, frames - done);
        float* samples = handle->interleaved.data();
        for (std::int64_t i = 0; i < count; ++i) {
            samples[2 * i] = left[done + i];
            samples[2 * i + 1] = right[done + i];
        }
        if (sf_writef_float(handle->file, samples, count) != count)
            throw CommandError("cannot write " + handle->path + ": " + sndfileError(handle->file));
        done += count;
    }
}

void WavFileWriter::finish() {
    if (!handle->file)
        return;
    SNDFILE* file = std::exchange(handle->file, nullptr);
    if (sf_close(file) != 0)
        throw CommandError("cannot finish " + handle->path);
}

StereoBuffer readAudioFile(const std::string& path) {
    AudioFileReader reader(path);
    StereoBuffer audio;
    audio.sampleRate = reader.sampleRate();
    audio.assignSilence(std::max<std::int64_t>(reader.frameCount(), 0));
    auto got = static_cast<std::size_t>(
        reader.read(audio.left.data(), audio.right.data(), audio.frameCount()));
    audio.left.resize(got);
    audio.right.resize(got);
    return audio;
}

void writeWavFile(const std::string& path, const StereoBuffer& audio) {
    WavFileWriter writer(path, audio.sampleRate);
    writer.write(audio.left.data(), audio.right.data(), audio.frameCount());
    writer.finish();
}
