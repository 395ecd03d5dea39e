#pragma once

#include <cstdint>

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

private:
    // A filter's coefficients and state in locals, one sample at a time.
    struct Running;
    // Two filters' coefficients and state, one per lane of an SSE register.
    struct Lanes;

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
