#include "Biquad.h"

#include "RunRecursion.h"

#include <cmath>
#include <numbers>

namespace {

// Keeps decaying feedback from reaching denormal numbers.
constexpr float kDenormalBias = 1e-20f;

constexpr double kBypassTolerance = 0.05;

} // namespace

Biquad::Biquad()
{
    computeCoefficients();
}

void Biquad::set(int type, float cutoff, float resonance, float q)
{
    type_ = type;
    cutoff_ = cutoff;
    resonance_ = resonance;
    q_ = q;
    computeCoefficients();
}

bool Biquad::bypassed() const
{
    return type_ == kResonator && std::fabs(resonance_ - 1.0) <= kBypassTolerance;
}

void Biquad::clear()
{
    x1_ = x2_ = y1_ = y2_ = 0.0f;
    phase_ = 0;
}

void Biquad::computeCoefficients()
{
    const double k = 1.0 / std::tan(std::numbers::pi * cutoff_ / sampleRate_);
    const double r = resonance_;
    const double q = q_;
    // Prototype (n0 + n1 s + n2 s^2) / (d0 + d1 s + d2 s^2).
    double n0 = 1.0, n1 = 0.0, n2 = 0.0, d1 = 1.0 / r;
    switch (type_) {
    case kLowPass: break;
    case kHighPass: n0 = 0.0; n2 = 1.0; break;
    case kBandPass: n0 = 0.0; n1 = r / q; d1 = 1.0 / q; break;
    default: n1 = r / q; n2 = 1.0; d1 = 1.0 / q; break;
    }
    const double d0 = 1.0;
    const double d2 = 1.0;
    const double kk = k * k;
    const double g = 1.0 / (d0 + d1 * k + d2 * kk);
    b0_ = static_cast<float>((n0 + n1 * k + n2 * kk) * g);
    b1_ = static_cast<float>(2.0 * (n0 - n2 * kk) * g);
    b2_ = static_cast<float>((n0 - n1 * k + n2 * kk) * g);
    a1_ = static_cast<float>(2.0 * (d0 - d2 * kk) * g);
    a2_ = static_cast<float>((d0 - d1 * k + d2 * kk) * g);
}

struct Biquad::Running {
    explicit Running(const Biquad& filter)
        : b0(filter.b0_), b1(filter.b1_), b2(filter.b2_), a1(filter.a1_), a2(filter.a2_), x1(filter.x1_),
          x2(filter.x2_), y1(filter.y1_), y2(filter.y2_), phase(filter.phase_)
    {
    }

    float step(float x)
    {
        const float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2 + (phase == 0 ? kDenormalBias : 0.0f);
        phase ^= 1u;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

    void storeTo(Biquad& filter) const
    {
        filter.x1_ = x1;
        filter.x2_ = x2;
        filter.y1_ = y1;
        filter.y2_ = y2;
        filter.phase_ = phase;
    }

    const float b0, b1, b2, a1, a2;
    float x1, x2, y1, y2;
    std::uint32_t phase;
};

Biquad::Lanes::Lanes(Biquad* first, Biquad* second) : filters_{first, second}
{
    alignas(16) float b0[4] = {}, b1[4] = {}, b2[4] = {}, a1[4] = {}, a2[4] = {};
    alignas(16) float x1[4] = {}, x2[4] = {}, y1[4] = {}, y2[4] = {}, bias[4] = {};
    for (int f = 0; f < 2; ++f) {
        if (const Biquad* filter = filters_[f]) {
            b0[f] = filter->b0_;
            b1[f] = filter->b1_;
            b2[f] = filter->b2_;
            a1[f] = filter->a1_;
            a2[f] = filter->a2_;
            x1[f] = filter->x1_;
            x2[f] = filter->x2_;
            y1[f] = filter->y1_;
            y2[f] = filter->y2_;
            bias[f] = filter->phase_ == 0 ? kDenormalBias : 0.0f;
        }
    }
    b0_ = _mm_load_ps(b0);
    b1_ = _mm_load_ps(b1);
    b2_ = _mm_load_ps(b2);
    a1_ = _mm_load_ps(a1);
    a2_ = _mm_load_ps(a2);
    x1_ = _mm_load_ps(x1);
    x2_ = _mm_load_ps(x2);
    y1_ = _mm_load_ps(y1);
    y2_ = _mm_load_ps(y2);
    bias_ = _mm_load_ps(bias);
    biasFlip_ = _mm_set1_ps(kDenormalBias);
}

void Biquad::Lanes::storeBack() const
{
    alignas(16) float values[5][4];
    const __m128 state[] = {x1_, x2_, y1_, y2_, bias_};
    for (int i = 0; i < 5; ++i)
        _mm_store_ps(values[i], state[i]);
    for (int f = 0; f < 2; ++f) {
        if (Biquad* filter = filters_[f]) {
            filter->x1_ = values[0][f];
            filter->x2_ = values[1][f];
            filter->y1_ = values[2][f];
            filter->y2_ = values[3][f];
            filter->phase_ = values[4][f] != 0.0f ? 0u : 1u;
        }
    }
}

void Biquad::process(float* block, int frames)
{
    mppi::runRecursion<Running>(*this, block, frames);
}

void Biquad::processBoth(Biquad& first, float* firstBlock, Biquad& second, float* secondBlock, int frames)
{
    mppi::runRecursions<Lanes>(first, firstBlock, second, secondBlock, frames);
}
