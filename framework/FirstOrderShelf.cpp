#include "FirstOrderShelf.h"

#include <cmath>
#include <numbers>

namespace mppi {

void FirstOrderShelf::computeCoefficients()
{
    const double k = 1.0 / std::tan(std::numbers::pi * cutoff_ / sampleRate_);
    b0_ = static_cast<float>((1.0 + level_ * k) / (1.0 + k));
    b1_ = static_cast<float>((1.0 - level_ * k) / (1.0 + k));
    a1_ = static_cast<float>((1.0 - k) / (1.0 + k));
}

void FirstOrderShelf::reset()
{
    x1_ = 0.0f;
    y1_ = 0.0f;
}

void FirstOrderShelf::process(float* block, int frames)
{
    for (int i = 0; i < frames; ++i)
        block[i] = step(block[i]);
}

} // namespace mppi
