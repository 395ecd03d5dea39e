#pragma once

#if !defined(__SSE2__)
#error "Two filters in lanes need SSE2 (x86-64, or x86 with -msse2)"
#endif
#include <emmintrin.h>

namespace mppi {

// First-order high shelf H(s) = (1 + g s) / (1 + s) by the bilinear transform with the cutoff
// prewarped: unit gain at 0 Hz, gain g at half the sample rate. With g = 0 it is a first-order
// low-pass. Serves the delay lines' shelf stage and the brown-noise generator.
class FirstOrderShelf {
public:
    void setSampleRate(float sampleRate) { sampleRate_ = sampleRate; }
    void setCutoff(float cutoff) { cutoff_ = cutoff; }
    void setLevel(float level) { level_ = level; }
    float sampleRate() const { return sampleRate_; }
    float cutoff() const { return cutoff_; }
    float level() const { return level_; }

    // Recomputes the coefficients from sample rate, cutoff and level.
    void computeCoefficients();
    // Clears the filter state.
    void reset();

    // Keeps recirculating signals away from denormal numbers.
    static constexpr float kDenormalBias = 1e-20f;

    // One sample.
    float step(float x);

    // Filters a block in place.
    void process(float* block, int frames);
    // Filters two blocks with two filters in one pass, so that their recursions overlap; each
    // gives the bits it gives alone.
    static void processBoth(FirstOrderShelf& first, float* firstBlock, FirstOrderShelf& second, float* secondBlock,
                            int frames);

    // Two filters' coefficients and state in the lanes of an SSE register, for loops that
    // filter sample by sample alongside other work: `step` takes [first second - -] and answers
    // each lane what its filter gives alone. A lane without a filter (a null one) answers
    // nothing of use and stores nothing back.
    class Lanes {
    public:
        Lanes(FirstOrderShelf* first, FirstOrderShelf* second);
        __m128 step(__m128 x)
        {
            const __m128 y =
                _mm_add_ps(_mm_sub_ps(_mm_add_ps(_mm_mul_ps(b0_, x), _mm_mul_ps(b1_, x1_)), _mm_mul_ps(a1_, y1_)), bias_);
            x1_ = x;
            y1_ = y;
            return y;
        }
        void storeBack() const;

    private:
        FirstOrderShelf* filters_[2];
        __m128 b0_, b1_, a1_, bias_, x1_, y1_;
    };

private:
    // The coefficients and state in locals, one sample at a time.
    struct Running;

    float b0_ = 1.0f;
    float b1_ = 0.0f;
    float a1_ = 0.0f;
    float x1_ = 0.0f;
    float y1_ = 0.0f;
    float sampleRate_ = 44100.0f;
    float cutoff_ = 1000.0f;
    float level_ = 0.0f;
};

} // namespace mppi
