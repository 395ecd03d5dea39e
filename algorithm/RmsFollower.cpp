#include "RmsFollower.h"

#include <cmath>
#include <numbers>

namespace {

// The square of `x`, held at the ceiling; NaN, which fails the comparison, is held there too.
inline float boundedSquare(float x)
{
    const float square = x * x;
    return square < RmsFollower::kPowerCeiling ? square : RmsFollower::kPowerCeiling;
}

} // namespace

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
        const float next = boundedSquare(block[i]);
        output = c0_ * (next + square) - c1_ * output;
        square = next;
        power[i] = output;
    }
    lastSquare_ = square;
    lastOutput_ = output;
}

void RmsFollower::followBoth(RmsFollower& first, const float* firstBlock, float* firstPower, RmsFollower& second,
                             const float* secondBlock, float* secondPower, int frames)
{
    const float c0a = first.c0_, c1a = first.c1_;
    const float c0b = second.c0_, c1b = second.c1_;
    float squareA = first.lastSquare_, outputA = first.lastOutput_;
    float squareB = second.lastSquare_, outputB = second.lastOutput_;
    for (int i = 0; i < frames; ++i) {
        const float nextA = boundedSquare(firstBlock[i]);
        const float nextB = boundedSquare(secondBlock[i]);
        outputA = c0a * (nextA + squareA) - c1a * outputA;
        outputB = c0b * (nextB + squareB) - c1b * outputB;
        squareA = nextA;
        squareB = nextB;
        firstPower[i] = outputA;
        secondPower[i] = outputB;
    }
    first.lastSquare_ = squareA;
    first.lastOutput_ = outputA;
    second.lastSquare_ = squareB;
    second.lastOutput_ = outputB;
}
