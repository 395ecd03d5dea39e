#pragma once

#include <cstdint>
#if !defined(__SSE2__)
#error "Two filters in lanes need SSE2 (x86-64, or x86 with -msse2)"
#endif
#include <emmintrin.h>

// Two-pole filter with four responses, from analog prototypes normalized to a cutoff at s = j
// and mapped by the bilinear transform with the cutoff prewarped:
//   low-pass   1 / (s^2 + s/R + 1)          high-pass  s^2 / (s^2 + s/R + 1)
//   resonator  (s^2 + (R/Q) s + 1) / (s^2 + s/Q + 1)   band-pass  (R/Q) s / (s^2 + s/Q + 1)
class Biquad {
public:
    enum Type { kLowPass, kHighPass, kResonator, kBandPass };

    Biquad();

    void setSampleRate(float sampleRate) { sampleRate_ = sampleRate; }
    float sampleRate() const { return sampleRate_; }
    // Loads type, cutoff (Hz), resonance R and sharpness Q and recomputes the coefficients.
    // The histories stay, so a change while audio runs does not restart the filter.
    void set(int type, float cutoff, float resonance, float q);
    int type() const { return type_; }
    float cutoff() const { return cutoff_; }
    float resonance() const { return resonance_; }
    float q() const { return q_; }

    // The resonator within 0.05 of unit resonance is inaudible and skipped.
    bool bypassed() const;
    void clear();
    // Filters a block in place; the state is continuous across calls of any length.
    void process(float* block, int frames);
    // Filters two blocks with two filters in one pass, so that their recursions overlap; each
    // gives the bits it gives alone.
    static void processBoth(Biquad& first, float* firstBlock, Biquad& second, float* secondBlock, int frames);

    // Two filters' coefficients and state in the lanes of an SSE register, for loops that filter
    // sample by sample alongside other work: `step` takes [first second - -] and answers each
    // lane what its filter gives alone. A lane without a filter (a null one) answers nothing of
    // use and stores nothing back.
    class Lanes {
    public:
        Lanes(Biquad* first, Biquad* second);
        __m128 step(__m128 x)
        {
            __m128 y = _mm_add_ps(_mm_mul_ps(b0_, x), _mm_mul_ps(b1_, x1_));
            y = _mm_add_ps(y, _mm_mul_ps(b2_, x2_));
            y = _mm_sub_ps(y, _mm_mul_ps(a1_, y1_));
            y = _mm_sub_ps(y, _mm_mul_ps(a2_, y2_));
            y = _mm_add_ps(y, bias_);
            // The bias alternates between itself and 0 in each lane, as each filter's phase does.
            bias_ = _mm_xor_ps(bias_, biasFlip_);
            x2_ = x1_;
            x1_ = x;
            y2_ = y1_;
            y1_ = y;
            return y;
        }
        void storeBack() const;

    private:
        Biquad* filters_[2];
        __m128 b0_, b1_, b2_, a1_, a2_;
        __m128 x1_, x2_, y1_, y2_;
        // Each lane's next bias: the denormal bias where its filter's phase is 0.
        __m128 bias_;
        __m128 biasFlip_;
    };

private:
    // A filter's coefficients and state in locals, one sample at a time.
    struct Running;

    void computeCoefficients();

    float b0_ = 1.0f, b1_ = 0.0f, b2_ = 0.0f, a1_ = 0.0f, a2_ = 0.0f;
    float x1_ = 0.0f, x2_ = 0.0f, y1_ = 0.0f, y2_ = 0.0f;
    // Which sample of a pair comes next; the first of each pair carries the anti-denormal bias.
    std::uint32_t phase_ = 0;
    int type_ = kResonator;
    float sampleRate_ = 44100.0f;
    float cutoff_ = 1000.0f;
    float resonance_ = 1.0f;
    float q_ = 1.0f;
};
