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
    // Local state: the block cannot alias it, so it stays in registers.
    const float b0 = b0_, b1 = b1_, a1 = a1_;
    float x1 = x1_, y1 = y1_;
    for (int i = 0; i < frames; ++i) {
        const float x = block[i];
        const float y = b0 * x + b1 * x1 - a1 * y1 + kDenormalBias;
        x1 = x;
        y1 = y;
        block[i] = y;
    }
    x1_ = x1;
    y1_ = y1;
}

} // namespace mppi
