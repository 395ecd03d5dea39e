#include "LfoGenerator.h"

#include "TableSine.h"

#include <algorithm>
#include <cmath>

namespace mppi {

namespace {

constexpr const char* kWaveformNames[LfoGenerator::kWaveformCount] = {
    "Sine", "Triangle", "Square", "Ramp up", "Cos up", "Ramp down", "Cos down", "Random", "Brown noise", "White noise",
};

// Highest brown-noise cutoff as a fraction of the noise value rate.
constexpr double kMaxNoiseCutoff = 0.4375;

} // namespace

LfoGenerator::LfoGenerator() : sine_(TableSine::instance())
{
    setup();
}

std::string LfoGenerator::waveformName(int type)
{
    return type >= 0 && type < kWaveformCount ? kWaveformNames[type] : "";
}

int LfoGenerator::typeOf(double real)
{
    return real > -1.0 && real < static_cast<double>(kWaveformCount) ? static_cast<int>(real) : -1;
}

float LfoGenerator::nextRandom(std::uint32_t& state)
{
    state = static_cast<std::uint32_t>((static_cast<std::uint64_t>(state) * 16807u) % 2147483647u);
    return static_cast<float>((static_cast<double>(state) - 1073741824.0) * (1.0 / 1073741824.0));
}

void LfoGenerator::setup()
{
    const double periodSamples = static_cast<double>(sampleRate_) * period_;
    increment_ = std::isfinite(periodSamples) && periodSamples > 0.0 ? kPeriodPhase / periodSamples : 0.0;
    if (type_ == kBrownNoise && increment_ > 0.0) {
        const double valueRate = sampleRate_ / static_cast<double>(kNoiseInterval);
        const double cutoff = std::min(1.0 / period_, kMaxNoiseCutoff * valueRate);
        noiseFilter_.setSampleRate(static_cast<float>(valueRate));
        noiseFilter_.setCutoff(static_cast<float>(cutoff));
        noiseFilter_.setLevel(0.0f);
        noiseFilter_.computeCoefficients();
        noiseGain_ = static_cast<float>(std::sqrt(valueRate / (2.0 * cutoff)));
    }
}

void LfoGenerator::advance(int samples)
{
    switch (type_) {
    case kRandom:
        phase_ += samples * increment_;
        if (phase_ >= kPeriodPhase) {
            phase_ = std::fmod(phase_, kPeriodPhase);
            noiseValue_ = nextRandom(randomState_);
        }
        break;
    case kBrownNoise:
        advanceBrownNoise(samples);
        break;
    case kWhiteNoise:
        noiseCounter_ += samples;
        if (noiseCounter_ >= kNoiseInterval) {
            noiseCounter_ %= kNoiseInterval;
            noiseValue_ = nextRandom(randomState_);
        }
        break;
    default:
        phase_ = std::fmod(phase_ + samples * increment_, kPeriodPhase);
        break;
    }
}

void LfoGenerator::advanceBrownNoise(int samples)
{
    noiseCounter_ += samples;
    if (noiseCounter_ < kNoiseInterval)
        return;
    // Values that fell between two reads still pass through the filter.
    while (noiseCounter_ >= 2 * kNoiseInterval) {
        noiseCounter_ -= kNoiseInterval;
        noiseFilter_.step(nextRandom(randomState_));
    }
    noiseCounter_ -= kNoiseInterval;
    noiseValue_ = noiseFilter_.step(nextRandom(randomState_)) * noiseGain_;
}

double LfoGenerator::output() const
{
    const double p = phase_;
    switch (type_) {
    case kSine: return sine_(static_cast<float>(p));
    case kTriangle: return std::fabs(p / 4.0 - 2.0) - 1.0;
    case kSquare: return p < 8.0 ? 1.0 : -1.0;
    case kRampUp: return p / 8.0 - 1.0;
    case kCosUp: return sine_(static_cast<float>(p / 2.0 + 12.0));
    case kRampDown: return 1.0 - p / 8.0;
    case kCosDown: return sine_(static_cast<float>(p / 2.0 + 4.0));
    case kRandom:
    case kBrownNoise:
    case kWhiteNoise: return noiseValue_;
    default: return 0.0;
    }
}

void LfoGenerator::reset()
{
    phase_ = 0.0;
    noiseValue_ = 0.0f;
    noiseCounter_ = 0;
    noiseFilter_.reset();
    setup();
}

} // namespace mppi
