#include "FirstOrderShelf.h"

#include "RunRecursion.h"

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

struct FirstOrderShelf::Running {
    explicit Running(const FirstOrderShelf& filter)
        : b0(filter.b0_), b1(filter.b1_), a1(filter.a1_), x1(filter.x1_), y1(filter.y1_)
    {
    }

    float step(float x)
    {
        const float y = b0 * x + b1 * x1 - a1 * y1 + kDenormalBias;
        x1 = x;
        y1 = y;
        return y;
    }

    void storeTo(FirstOrderShelf& filter) const
    {
        filter.x1_ = x1;
        filter.y1_ = y1;
    }

    const float b0, b1, a1;
    float x1, y1;
};

FirstOrderShelf::Lanes::Lanes(FirstOrderShelf* first, FirstOrderShelf* second) : filters_{first, second}
{
    alignas(16) float b0[4] = {}, b1[4] = {}, a1[4] = {}, x1[4] = {}, y1[4] = {};
    for (int f = 0; f < 2; ++f) {
        if (const FirstOrderShelf* filter = filters_[f]) {
            b0[f] = filter->b0_;
            b1[f] = filter->b1_;
            a1[f] = filter->a1_;
            x1[f] = filter->x1_;
            y1[f] = filter->y1_;
        }
    }
    b0_ = _mm_load_ps(b0);
    b1_ = _mm_load_ps(b1);
    a1_ = _mm_load_ps(a1);
    bias_ = _mm_set1_ps(kDenormalBias);
    x1_ = _mm_load_ps(x1);
    y1_ = _mm_load_ps(y1);
}

void FirstOrderShelf::Lanes::storeBack() const
{
    alignas(16) float inputs[4];
    alignas(16) float outputs[4];
    _mm_store_ps(inputs, x1_);
    _mm_store_ps(outputs, y1_);
    for (int f = 0; f < 2; ++f) {
        if (FirstOrderShelf* filter = filters_[f]) {
            filter->x1_ = inputs[f];
            filter->y1_ = outputs[f];
        }
    }
}

float FirstOrderShelf::step(float x)
{
    runRecursion<Running>(*this, &x, 1);
    return x;
}

void FirstOrderShelf::process(float* block, int frames)
{
    runRecursion<Running>(*this, block, frames);
}

void FirstOrderShelf::processBoth(FirstOrderShelf& first, float* firstBlock, FirstOrderShelf& second,
                                  float* secondBlock, int frames)
{
    runRecursions<Lanes>(first, firstBlock, second, secondBlock, frames);
}

} // namespace mppi
