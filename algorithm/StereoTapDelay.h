#pragma once

#include "TapUnit.h"

#include <array>
#include <cstdint>
#include <vector>

// The predelays: a stereo history of the plug-in input read by four taps, whose sum is the tap
// signal that feeds the delay lines and, through "Predly lvl", the output.
class StereoTapDelay {
public:
    static constexpr int kTaps = 4;
    // Largest input magnitude that enters the history (+240 dBFS). No audio comes near it; it
    // leaves headroom for every gain after the input (taps, resonance, levels: well under 1e4
    // together), so no sum of the taps and lines can overflow, and the lines' RMS followers
    // measure every level that can reach them exactly.
    static constexpr float kInputCeiling = 1e12f;

    // Creates the four taps' parameters (48) and sizes the history for 44.1 kHz.
    void init(mppi::PluginInternal& registry);
    void setDefaults();
    // Clears the history; every tap takes its current values at once.
    void reset();
    void setSampleRate(float sampleRate);
    void tempoChanged();
    void updateBlock(int samples);
    // Writes `frames` input frames (at most one control block) into the history and renders
    // the tap signal. Input that is not finite is taken as silence.
    void process(float* outLeft, float* outRight, const float* inLeft, const float* inRight, int frames);

    const TapUnit& tap(int number) const { return taps_[static_cast<std::size_t>(number)]; }
    std::uint32_t historyLength() const { return mask_ + 1; }

private:
    void sizeHistory();
    void clearHistory();

    std::array<TapUnit, kTaps> taps_;
    std::vector<StereoFrame> history_;
    TapUnit::GlideScratch glideScratch_;
    int maxDelay_ = 0;
    std::uint32_t mask_ = 0;
    std::uint32_t writeIndex_ = 0;
    float sampleRate_ = 44100.0f;
};
