#include "RmsFollower.h"

#include <cmath>
#include <numbers>

void RmsFollower::setTimeConstant(float seconds)
{
    timeConstant_ = seconds;
    computeCoefficients();
}

void RmsFollower::setSampleRate(float sampleRate)
{
    sampleRate_ = sampleRate;
    computeCoefficients();
}

void RmsFollower::clear()
{
    lastSquare_ = 0.0f;
    lastOutput_ = 0.0f;
}

void RmsFollower::computeCoefficients()
{
    const double k = 1.0 / std::tan(std::numbers::pi / (static_cast<double>(timeConstant_) * sampleRate_));
    c0_ = static_cast<float>(1.0 / (1.0 + k));
    c1_ = static_cast<float>((1.0 - k) / (1.0 + k));
}

void RmsFollower::follow(const float* block, int frames, float* power)
{
    float square = lastSquare_;
    float output = lastOutput_;
    for (int i = 0; i < frames; ++i) {
        const float next = block[i] * block[i];
        output = c0_ * (next + square) - c1_ * output;
        square = next;
        power[i] = output;
    }
    lastSquare_ = square;
    lastOutput_ = output;
}
