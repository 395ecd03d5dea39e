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

struct FirstOrderShelf::Lanes {
    Lanes(const FirstOrderShelf& first, const FirstOrderShelf& second)
        : b0(pair(first.b0_, second.b0_)), b1(pair(first.b1_, second.b1_)), a1(pair(first.a1_, second.a1_)),
          bias(_mm_set1_ps(kDenormalBias)), x1(pair(first.x1_, second.x1_)), y1(pair(first.y1_, second.y1_))
    {
    }

    static __m128 pair(float first, float second) { return _mm_setr_ps(first, second, 0.0f, 0.0f); }

    __m128 step(__m128 x)
    {
        const __m128 y =
            _mm_add_ps(_mm_sub_ps(_mm_add_ps(_mm_mul_ps(b0, x), _mm_mul_ps(b1, x1)), _mm_mul_ps(a1, y1)), bias);
        x1 = x;
        y1 = y;
        return y;
    }

    void storeTo(FirstOrderShelf& first, FirstOrderShelf& second) const
    {
        alignas(16) float inputs[4];
        alignas(16) float outputs[4];
        _mm_store_ps(inputs, x1);
        _mm_store_ps(outputs, y1);
        first.x1_ = inputs[0];
        first.y1_ = outputs[0];
        second.x1_ = inputs[1];
        second.y1_ = outputs[1];
    }

    const __m128 b0, b1, a1, bias;
    __m128 x1, y1;
};

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
