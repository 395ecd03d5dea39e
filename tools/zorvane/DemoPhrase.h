#pragma once

#include "AudioFiles.h"

#include <vector>

// A built-in test phrase, synthesised: plucked notes on the beats of 120 BPM, panned apart,
// and a drum-like click on the first beat of each bar, so echoes, pans and filters are easy
// to hear.
class DemoPhrase : public SoundSource {
public:
    static constexpr int kSampleRate = 44100;

    DemoPhrase();

    int sampleRate() const override { return kSampleRate; }
    int channels() const override { return 2; }
    long long frames() const override { return static_cast<long long>(samples_.size() / 2); }
    long long read(float* interleaved, long long count) override;

private:
    std::vector<float> samples_;
    std::size_t position_ = 0;
};
