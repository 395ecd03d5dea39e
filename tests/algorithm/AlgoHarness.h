#pragma once

#include "Algo.h"
#include "HostDspInterface.h"
#include "TempoQuery.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

// Drives the algorithm without any host: builds it, sets parameters by name and renders
// stereo signals in host blocks of a chosen size.
namespace harness {

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;

    explicit Stereo(std::size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t size() const { return left.size(); }
};

// Host services that report whether the right output is connected.
class FakeHostDsp : public mppi::HostDspInterface {
public:
    int init() override { return 0; }
    double query(const std::string& key) override { return key == "can_tempo" ? canTempo : 0.0; }
    void queryTempo(mppi::TempoQuery& query) override { query.error = 1; }
    bool isInputConnected(int, int) override { return true; }
    bool isOutputConnected(int, int channel) override { return channel == 0 || rightConnected; }

    bool rightConnected = true;
    double canTempo = 0.0;
};

class Harness {
public:
    explicit Harness(float sampleRate = 44100.0f, FakeHostDsp* host = nullptr) : algo_(std::make_unique<Algo>())
    {
        if (host)
            algo_->setHostDsp(host);
        algo_->init1();
        algo_->init2();
        algo_->setSampleRate(sampleRate);
        algo_->requestReset();
    }

    Algo& algo() { return *algo_; }

    mppi::NormalizedParamInterface& param(const std::string& name)
    {
        if (mppi::NormalizedParamInterface* found = algo_->findParam(name))
            return *found;
        throw std::runtime_error("no parameter " + name);
    }
    void setNormalized(const std::string& name, float value) { param(name).setNormalized(value); }
    void setReal(const std::string& name, double value) { param(name).setReal(value); }
    // Sets a parameter from its typed text, as a user would.
    void setText(const std::string& name, const std::string& text)
    {
        bool understood = false;
        mppi::NormalizedParamInterface& target = param(name);
        const double real = target.parse(text, understood);
        if (!understood)
            throw std::runtime_error("refused text " + text + " for " + name);
        target.setReal(real);
    }

    Stereo render(const Stereo& input, int blockSize = 512, bool add = false)
    {
        Stereo output(input.size());
        for (std::size_t at = 0; at < input.size(); at += static_cast<std::size_t>(blockSize)) {
            const int frames = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(blockSize), input.size() - at));
            const float* inputs[2] = {input.left.data() + at, input.right.data() + at};
            float* outputs[2] = {output.left.data() + at, output.right.data() + at};
            if (add)
                algo_->process(inputs, outputs, frames);
            else
                algo_->processReplacing(inputs, outputs, frames);
        }
        return output;
    }

private:
    std::unique_ptr<Algo> algo_;
};

inline Stereo impulse(std::size_t frames, float left = 1.0f, float right = 1.0f, std::size_t at = 0)
{
    Stereo signal(frames);
    signal.left[at] = left;
    signal.right[at] = right;
    return signal;
}

inline Stereo sine(std::size_t frames, double frequency, double sampleRate, float amplitude = 0.5f)
{
    Stereo signal(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const float v = amplitude * static_cast<float>(std::sin(2.0 * 3.14159265358979323846 * frequency * i / sampleRate));
        signal.left[i] = v;
        signal.right[i] = v;
    }
    return signal;
}

inline Stereo noise(std::size_t frames, float amplitude, unsigned seed = 7)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> distribution(-amplitude, amplitude);
    Stereo signal(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        signal.left[i] = distribution(generator);
        signal.right[i] = distribution(generator);
    }
    return signal;
}

// Samples whose magnitude is above `threshold`, as (index, value) pairs.
inline std::vector<std::pair<std::size_t, float>> peaks(const std::vector<float>& signal, float threshold)
{
    std::vector<std::pair<std::size_t, float>> found;
    for (std::size_t i = 0; i < signal.size(); ++i)
        if (std::fabs(signal[i]) > threshold)
            found.emplace_back(i, signal[i]);
    return found;
}

inline double rms(const std::vector<float>& signal, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double>(signal[i]) * signal[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

inline float largestStep(const std::vector<float>& signal, std::size_t from, std::size_t to)
{
    float largest = 0.0f;
    for (std::size_t i = from + 1; i < to; ++i)
        largest = std::max(largest, std::fabs(signal[i] - signal[i - 1]));
    return largest;
}

} // namespace harness
