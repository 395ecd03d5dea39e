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

struct Biquad::Lanes {
    Lanes(Biquad* first, Biquad* second)
        : filters{first, second}, b0(pair(first->b0_, second->b0_)), b1(pair(first->b1_, second->b1_)),
          b2(pair(first->b2_, second->b2_)), a1(pair(first->a1_, second->a1_)), a2(pair(first->a2_, second->a2_)),
          x1(pair(first->x1_, second->x1_)), x2(pair(first->x2_, second->x2_)), y1(pair(first->y1_, second->y1_)),
          y2(pair(first->y2_, second->y2_)),
          bias(pair(first->phase_ == 0 ? kDenormalBias : 0.0f, second->phase_ == 0 ? kDenormalBias : 0.0f)),
          biasFlip(_mm_set1_ps(kDenormalBias))
    {
    }

    static __m128 pair(float first, float second) { return _mm_setr_ps(first, second, 0.0f, 0.0f); }

    __m128 step(__m128 x)
    {
        __m128 y = _mm_add_ps(_mm_mul_ps(b0, x), _mm_mul_ps(b1, x1));
        y = _mm_add_ps(y, _mm_mul_ps(b2, x2));
        y = _mm_sub_ps(y, _mm_mul_ps(a1, y1));
        y = _mm_sub_ps(y, _mm_mul_ps(a2, y2));
        y = _mm_add_ps(y, bias);
        // The bias alternates between itself and 0 in each lane, as each filter's phase does.
        bias = _mm_xor_ps(bias, biasFlip);
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

    void storeBack() const
    {
        alignas(16) float values[5][4];
        const __m128 state[] = {x1, x2, y1, y2, bias};
        for (int i = 0; i < 5; ++i)
            _mm_store_ps(values[i], state[i]);
        for (int f = 0; f < 2; ++f) {
            filters[f]->x1_ = values[0][f];
            filters[f]->x2_ = values[1][f];
            filters[f]->y1_ = values[2][f];
            filters[f]->y2_ = values[3][f];
            filters[f]->phase_ = values[4][f] != 0.0f ? 0u : 1u;
        }
    }

    Biquad* const filters[2];
    const __m128 b0, b1, b2, a1, a2;
    __m128 x1, x2, y1, y2;
    // Each lane's next bias: kDenormalBias where its filter's phase is 0.
    __m128 bias;
    const __m128 biasFlip;
};

void Biquad::process(float* block, int frames)
{
    mppi::runRecursion<Running>(*this, block, frames);
}

void Biquad::processBoth(Biquad& first, float* firstBlock, Biquad& second, float* secondBlock, int frames)
{
    mppi::runRecursions<Lanes>(first, firstBlock, second, secondBlock, frames);
}
