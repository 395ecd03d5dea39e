#pragma once

#include "FirstOrderShelf.h"

#include <cstdint>
#include <string>

namespace mppi {

class TableSine;

// The oscillator of one LFO group: ten waveforms over a phase of 16 units per period, advanced
// once per control block. The three noise waveforms draw from a minimal-standard Lehmer
// generator that starts at state 1 in every oscillator and is never reseeded.
class LfoGenerator {
public:
    enum Waveform {
        kSine, kTriangle, kSquare, kRampUp, kCosUp, kRampDown, kCosDown, kRandom, kBrownNoise, kWhiteNoise,
        kWaveformCount
    };
    // Samples between two values of the brown and white noises.
    static constexpr int kNoiseInterval = 256;
    // Phase units in one period.
    static constexpr double kPeriodPhase = 16.0;

    LfoGenerator();

    // The name a waveform shows, empty for a type outside 0..9.
    static std::string waveformName(int type);
    // The waveform type a real parameter value stands for, truncated; -1 when out of range.
    static int typeOf(double real);
    // Advances a Lehmer state and answers the value it gives, in (-1, 1).
    static float nextRandom(std::uint32_t& state);

    void setType(int type) { type_ = type; }
    void setPeriod(double seconds) { period_ = seconds; }
    void setSampleRate(float sampleRate) { sampleRate_ = sampleRate; }
    void setDepth(float depth) { depth_ = depth; }
    int type() const { return type_; }
    double period() const { return period_; }
    float depth() const { return depth_; }
    double phase() const { return phase_; }

    // Recomputes the phase increment, and the noise filter, after a change of type, period or
    // sample rate.
    void setup();
    // Moves the oscillator on by `samples`.
    void advance(int samples);
    // The waveform's value at the current phase, in [-1, 1] for all but the brown noise.
    double output() const;
    // Back to the start of a period with the noises silent; the random state continues.
    void reset();

private:
    void advanceBrownNoise(int samples);

    const TableSine& sine_;
    int type_ = kSine;
    float sampleRate_ = 44100.0f;
    double period_ = 0.5;
    double phase_ = 0.0;
    double increment_ = 0.0;
    float noiseValue_ = 0.0f;
    int noiseCounter_ = 0;
    float noiseGain_ = 1.0f;
    std::uint32_t randomState_ = 1;
    FirstOrderShelf noiseFilter_;
    float depth_ = 0.0f;
};

} // namespace mppi
