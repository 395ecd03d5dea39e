#include "DemoPhrase.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr double kBeatSeconds = 0.5;
constexpr int kBeats = 8;

struct Note {
    double beat;
    double frequency;
    double pan;
};

// An A minor arpeggio that ends on a long note.
constexpr Note kNotes[] = {
    {0.0, 220.00, -0.6}, {1.0, 261.63, 0.6}, {2.0, 329.63, -0.3}, {3.0, 440.00, 0.3},
    {4.0, 392.00, -0.6}, {5.0, 329.63, 0.6}, {6.0, 293.66, 0.0},
};

// A plucked string: a burst of noise through a Karplus-Strong loop.
void pluck(std::vector<float>& left, std::vector<float>& right, std::size_t start, double frequency, double pan,
           std::mt19937& random)
{
    const std::size_t period = static_cast<std::size_t>(DemoPhrase::kSampleRate / frequency);
    std::vector<float> loop(period);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (float& sample : loop)
        sample = noise(random);
    const float leftGain = static_cast<float>(0.2 * std::sqrt((1.0 - pan) / 2.0));
    const float rightGain = static_cast<float>(0.2 * std::sqrt((1.0 + pan) / 2.0));
    const std::size_t length = std::min(left.size() - start, static_cast<std::size_t>(1.5 * DemoPhrase::kSampleRate));
    for (std::size_t i = 0; i < length; ++i) {
        const std::size_t at = i % period;
        const float sample = loop[at];
        loop[at] = 0.498f * (sample + loop[(at + 1) % period]);
        left[start + i] += leftGain * sample;
        right[start + i] += rightGain * sample;
    }
}

// A short decaying burst of noise with a falling tone: a dry drum hit.
void click(std::vector<float>& left, std::vector<float>& right, std::size_t start, std::mt19937& random)
{
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    const std::size_t length = std::min(left.size() - start, static_cast<std::size_t>(0.12 * DemoPhrase::kSampleRate));
    double phase = 0.0;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / DemoPhrase::kSampleRate;
        const double envelope = std::exp(-t * 40.0);
        phase += 2.0 * std::numbers::pi * (180.0 * std::exp(-t * 20.0) + 60.0) / DemoPhrase::kSampleRate;
        const float hit = static_cast<float>(envelope * (0.3 * std::sin(phase) + 0.15 * noise(random)));
        left[start + i] += hit;
        right[start + i] += hit;
    }
}

} // namespace

DemoPhrase::DemoPhrase()
{
    const std::size_t frames = static_cast<std::size_t>(kBeats * kBeatSeconds * kSampleRate);
    std::vector<float> left(frames, 0.0f), right(frames, 0.0f);
    std::mt19937 random(2026);
    for (const Note& note : kNotes)
        pluck(left, right, static_cast<std::size_t>(note.beat * kBeatSeconds * kSampleRate), note.frequency, note.pan,
              random);
    for (int bar = 0; bar < kBeats / 4; ++bar)
        click(left, right, static_cast<std::size_t>(bar * 4 * kBeatSeconds * kSampleRate), random);
    samples_.resize(2 * frames);
    for (std::size_t i = 0; i < frames; ++i) {
        samples_[2 * i] = left[i];
        samples_[2 * i + 1] = right[i];
    }
}

long long DemoPhrase::read(float* interleaved, long long count)
{
    const std::size_t available = (samples_.size() - position_) / 2;
    const std::size_t frames = std::min<std::size_t>(available, static_cast<std::size_t>(std::max(count, 0LL)));
    std::copy_n(samples_.begin() + static_cast<long>(position_), 2 * frames, interleaved);
    position_ += 2 * frames;
    return static_cast<long long>(frames);
}
