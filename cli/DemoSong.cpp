#include "cli/DemoSong.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

constexpr double BeatsPerMinute = 120.0;
constexpr double BeatSeconds = 60.0 / BeatsPerMinute;
constexpr int Bars = 4;
constexpr double TailSeconds = 1.0;
constexpr std::uint32_t NoiseSeed = 0x5EED1234u;

// Mix levels before the whole song is scaled to DemoPeakLevel. The bass and
// the chords sit close to the peaks of the drums, so that raising the drive
// clips the strings as well and not only the drum hits.
constexpr double KickLevel = 0.5;
constexpr double SnareLevel = 0.4;
constexpr double BassLevel = 1.6;
constexpr double ChordLevel = 0.35;
// Where the master limiter holds the peaks, relative to the loudest peak
// before it: about 7 dB less distance between the drum hits and the rest.
constexpr double LimiterCeiling = 0.45;

double noteFrequency(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

// Repeatable white noise in [-1, 1] (xorshift32), the same on every
// platform, unlike the standard library's distributions.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state(seed) {}
    float next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(static_cast<double>(state) / 2147483647.5 - 1.0);
    }

  private:
    std::uint32_t state;
};

// Mixes mono voices into the song at a stereo position.
class Mixer {
  public:
    explicit Mixer(StereoBuffer& song) : song(song) {}

    // pan: -1 is hard left, 0 centre, 1 hard right (constant power).
    void add(const std::vector<float>& voice, std::int64_t start, double level, double pan) {
        double angle = (pan + 1.0) * std::numbers::pi / 4.0;
        double leftGain = level * std::cos(angle) * std::numbers::sqrt2;
        double rightGain = level * std::sin(angle) * std::numbers::sqrt2;
        std::int64_t end = std::min(song.frameCount(), start + std::ssize(voice));
        for (std::int64_t i = std::max<std::int64_t>(start, 0); i < end; ++i) {
            double sample = voice[static_cast<std::size_t>(i - start)];
            song.left[static_cast<std::size_t>(i)] += static_cast<float>(sample * leftGain);
            song.right[static_cast<std::size_t>(i)] += static_cast<float>(sample * rightGain);
        }
    }

  private:
    StereoBuffer& song;
};

// A plucked string (Karplus-Strong): a burst of softened noise circulating
// in a delay line one period long, averaged with its neighbour on each pass
// so the highs die first. Ends with a short fade, as when a finger mutes it.
std::vector<float> pluckedString(double rate, double frequency, double seconds, double brightness,
                                 double sustain, Noise& noise) {
    auto length = static_cast<std::size_t>(seconds * rate);
    // The averaging adds half a sample of delay to the loop, so the line is
    // the period less half a sample, rounded: the period truncated.
    auto period = std::max<std::size_t>(2, static_cast<std::size_t>(rate / frequency));
    std::vector<float> line(period);
    double smoothed = 0.0;
    for (float& sample : line) {
        smoothed += brightness * (noise.next() - smoothed);
        sample = static_cast<float>(smoothed);
    }
    double mean = 0.0;
    for (float sample : line)
        mean += sample;
    mean /= static_cast<double>(period);
    for (float& sample : line)
        sample = static_cast<float>(sample - mean);

    std::vector<float> voice(length);
    std::size_t position = 0;
    const auto fadeFrames = static_cast<std::size_t>(0.01 * rate);
    for (std::size_t i = 0; i < length; ++i) {
        std::size_t next = position + 1 == period ? 0 : position + 1;
        voice[i] = line[position];
        line[position] = static_cast<float>(sustain * 0.5 * (line[position] + line[next]));
        position = next;
        if (length - i <= fadeFrames)
            voice[i] *= static_cast<float>(length - i) / static_cast<float>(fadeFrames);
    }
    return voice;
}

// Sine whose pitch falls from 150 Hz to 50 Hz, with a click of noise.
std::vector<float> kickDrum(double rate, Noise& noise) {
    auto length = static_cast<std::size_t>(0.45 * rate);
    std::vector<float> voice(length);
    double phase = 0.0;
    for (std::size_t i = 0; i < length; ++i) {
        double t = static_cast<double>(i) / rate;
        double frequency = 50.0 + 100.0 * std::exp(-t / 0.03);
        phase += 2.0 * std::numbers::pi * frequency / rate;
        double body = std::sin(phase) * std::exp(-t / 0.22);
        double click = t < 0.003 ? 0.3 * noise.next() * (1.0 - t / 0.003) : 0.0;
        voice[i] = static_cast<float>(body + click);
    }
    return voice;
}

// A short tone for the drum's body under high-passed noise for the wires.
std::vector<float> snareDrum(double rate, Noise& noise) {
    auto length = static_cast<std::size_t>(0.3 * rate);
    std::vector<float> voice(length);
    double phase = 0.0;
    float previous = 0.0f;
    for (std::size_t i = 0; i < length; ++i) {
        double t = static_cast<double>(i) / rate;
        phase += 2.0 * std::numbers::pi * 185.0 / rate;
        float white = noise.next();
        double wires = 0.5 * (white - previous);
        previous = white;
        voice[i] = static_cast<float>(0.5 * std::sin(phase) * std::exp(-t / 0.04) +
                                      0.8 * wires * std::exp(-t / 0.07));
    }
    return voice;
}

// Noise through two differencing stages, which leaves mostly the top octaves.
std::vector<float> hiHat(double rate, double decaySeconds, Noise& noise) {
    auto length = static_cast<std::size_t>(std::min(0.4, 6.0 * decaySeconds) * rate);
    std::vector<float> voice(length);
    float first = 0.0f;
    float second = 0.0f;
    for (std::size_t i = 0; i < length; ++i) {
        double t = static_cast<double>(i) / rate;
        float white = noise.next();
        float once = white - first;
        first = white;
        float twice = once - second;
        second = once;
        voice[i] = static_cast<float>(0.08 * twice * std::exp(-t / decaySeconds));
    }
    return voice;
}

struct Chord {
    int bassNote;               // MIDI note of the bass root
    std::array<int, 5> strings; // MIDI notes strummed, low to high
};

// A minor, F major, C major, G major: one bar each.
constexpr std::array<Chord, Bars> Progression = {{
    {33, {45, 52, 57, 60, 64}},
    {29, {41, 48, 53, 57, 60}},
    {36, {48, 55, 60, 64, 67}},
    {31, {43, 50, 55, 59, 62}},
}};

void addBass(Mixer& mixer, double rate, Noise& noise) {
    // Eighth notes; the root, with a jump to the octave and the fifth.
    constexpr std::array<int, 8> Intervals = {0, 0, 12, 0, 0, 7, 0, 12};
    const double eighth = BeatSeconds / 2.0;
    for (int bar = 0; bar < Bars; ++bar) {
        for (int step = 0; step < 8; ++step) {
            double start = (bar * 4.0 + step * 0.5) * BeatSeconds;
            double frequency = noteFrequency(Progression[bar].bassNote + 12 + Intervals[step]);
            auto voice = pluckedString(rate, frequency, eighth, 0.5, 0.998, noise);
            mixer.add(voice, static_cast<std::int64_t>(start * rate), BassLevel, 0.0);
        }
    }
}

// Down-strum: the strings sound one after another, spread across the stereo
// field from the lowest on the left to the highest on the right.
void strum(Mixer& mixer, double rate, const Chord& chord, double start, double seconds,
           Noise& noise) {
    constexpr double StrumSpread = 0.012; // seconds between neighbouring strings
    const auto& strings = chord.strings;
    for (std::size_t s = 0; s < strings.size(); ++s) {
        double onset = start + static_cast<double>(s) * StrumSpread;
        double pan = -0.5 + static_cast<double>(s) / static_cast<double>(strings.size() - 1);
        auto voice = pluckedString(rate, noteFrequency(strings[s]), seconds, 0.7, 0.996, noise);
        mixer.add(voice, static_cast<std::int64_t>(onset * rate), ChordLevel, pan);
    }
}

void addChords(Mixer& mixer, double rate, Noise& noise) {
    // Strums on beat 1, the off-beat of 2 and beat 4 (in beats from the bar).
    constexpr std::array<double, 3> Strums = {0.0, 1.5, 3.0};
    constexpr std::array<double, 3> Lengths = {1.5, 1.5, 1.0};
    for (int bar = 0; bar < Bars; ++bar) {
        for (std::size_t hit = 0; hit < Strums.size(); ++hit) {
            double start = (bar * 4.0 + Strums[hit]) * BeatSeconds;
            strum(mixer, rate, Progression[bar], start, Lengths[hit] * BeatSeconds, noise);
        }
    }
}

void addDrums(Mixer& mixer, double rate, Noise& noise) {
    auto at = [rate](int bar, double beat) {
        return static_cast<std::int64_t>((bar * 4.0 + beat) * BeatSeconds * rate);
    };
    for (int bar = 0; bar < Bars; ++bar) {
        for (double beat : {0.0, 2.0, 2.5})
            mixer.add(kickDrum(rate, noise), at(bar, beat), KickLevel, 0.0);
        for (double beat : {1.0, 3.0})
            mixer.add(snareDrum(rate, noise), at(bar, beat), SnareLevel, -0.1);
        bool fill = bar == Bars - 1;
        double step = fill ? 0.25 : 0.5;
        for (double beat = 0.0; beat < 4.0; beat += step) {
            bool open = !fill && beat == 3.5;
            mixer.add(hiHat(rate, open ? 0.12 : 0.02, noise), at(bar, beat),
                      beat == std::floor(beat) ? 0.9 : 0.6, 0.35);
        }
    }
}

// Back to the first chord on the downbeat after the last bar, left to ring.
void addEnding(Mixer& mixer, double rate, Noise& noise) {
    double start = Bars * 4.0 * BeatSeconds;
    mixer.add(kickDrum(rate, noise), static_cast<std::int64_t>(start * rate), KickLevel, 0.0);
    double bass = noteFrequency(Progression[0].bassNote + 12);
    mixer.add(pluckedString(rate, bass, TailSeconds, 0.5, 0.998, noise),
              static_cast<std::int64_t>(start * rate), 0.55, 0.0);
    // Shorter than the tail, so the last string fades out before the song ends.
    strum(mixer, rate, Progression[0], start, TailSeconds - 0.06, noise);
}

// A look-ahead peak limiter, as on the master bus of a finished record: it
// turns the gain down smoothly before each peak that would pass the ceiling
// and lets it recover slowly, so the drum hits lose some of their lead
// over the strings without the waveform being bent.
void limitPeaks(StereoBuffer& song, double ceiling) {
    const double rate = song.sampleRate;
    const auto window = static_cast<std::size_t>(0.003 * rate);
    const double recovery = 1.0 - std::exp(-1.0 / (0.08 * rate));
    const std::size_t frames = song.left.size();
    std::vector<double> required(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        double level = std::max(std::abs(song.left[i]), std::abs(song.right[i]));
        required[i] = level > ceiling ? ceiling / level : 1.0;
    }
    // Lowest requirement over the last `window` frames, then its mean over
    // the next `window` frames: the gain is at or below each peak's
    // requirement on the peak itself, and moves there gradually.
    std::vector<double> lowest(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        std::size_t first = i + 1 >= window ? i + 1 - window : 0;
        lowest[i] = *std::min_element(required.begin() + first, required.begin() + i + 1);
    }
    double sum = 0.0;
    for (std::size_t i = 0; i < std::min(window, frames); ++i)
        sum += lowest[i];
    double gain = 1.0;
    for (std::size_t i = 0; i < frames; ++i) {
        double smoothed = sum / static_cast<double>(window);
        sum += (i + window < frames ? lowest[i + window] : 1.0) - lowest[i];
        gain = std::min(smoothed, gain + recovery * (1.0 - gain));
        song.left[i] = static_cast<float>(song.left[i] * gain);
        song.right[i] = static_cast<float>(song.right[i] * gain);
    }
}

void normalize(StereoBuffer& song, float peak) {
    float loudest = 0.0f;
    for (const auto* channel : {&song.left, &song.right})
        for (float sample : *channel)
            loudest = std::max(loudest, std::abs(sample));
    if (loudest <= 0.0f)
        return;
    float gain = peak / loudest;
    for (auto* channel : {&song.left, &song.right})
        for (float& sample : *channel)
            sample *= gain;
}

} // namespace

StereoBuffer synthesizeDemoSong(double sampleRate) {
    StereoBuffer song;
    song.sampleRate = sampleRate;
    song.assignSilence(
        static_cast<std::int64_t>((Bars * 4 * BeatSeconds + TailSeconds) * sampleRate));
    Mixer mixer(song);
    Noise noise(NoiseSeed);
    addDrums(mixer, sampleRate, noise);
    addBass(mixer, sampleRate, noise);
    addChords(mixer, sampleRate, noise);
    addEnding(mixer, sampleRate, noise);
    normalize(song, 1.0f);
    limitPeaks(song, LimiterCeiling);
    normalize(song, DemoPeakLevel);
    return song;
}
