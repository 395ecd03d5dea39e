#pragma once

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

private:
    // The coefficients and state in locals, one sample at a time.
    struct Running;
    // Two filters' coefficients and state, one per lane of an SSE register.
    struct Lanes;

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
