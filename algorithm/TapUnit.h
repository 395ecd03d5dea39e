#pragma once

#include "FullLfoParam.h"
#include "LfoModifiers.h"
#include "LockFreeAtomics.h"
#include "DelayMotion.h"

#include <atomic>
#include <cstdint>

// A stereo frame of the taps' input history.
struct StereoFrame {
    float left = 0.0f;
    float right = 0.0f;
};

// One predelay tap: reads the stereo input history at its own modulated delay, level and pan.
// Changes are spread over the control block: gains ramp, small delay moves glide (the read
// position slides, bending the pitch) and large ones cross-fade between the two positions.
class TapUnit : public mppi::NotifiedInterface, public mppi::NotifierInterface {
public:
    struct TimeModifier : mppi::ScaledModifier<TimeModifier> {
        static constexpr double kLow = 0.0, kHigh = 4.0;
    };
    // At most 1, below the parameter's maximum of 4.
    struct LvlModifier : mppi::ScaledModifier<LvlModifier> {
        static constexpr double kLow = 0.0, kHigh = 1.0;
    };
    struct PanModifier : mppi::PanSpreadModifier {};

    // Stereo gains: left to left, left to right, right to left, right to right.
    struct Gains {
        float ll = 0.0f, lr = 0.0f, rl = 0.0f, rr = 0.0f;
    };

    // Creates and registers time, level and pan with their LFOs (12 parameters).
    void init(int tapNumber, mppi::PluginInternal& registry);
    void setDefaults();
    // Restarts the LFOs and takes the current values at once.
    void reset();
    void setSampleRate(float sampleRate);
    void setMaxDelay(int samples);
    // The periods follow the new tempo; the delay moves at the next control block.
    void tempoChanged();
    // Once per control block, with the history's write position at the block's start.
    void updateBlock(int samples, std::uint32_t writeIndex, std::uint32_t length);

    // Whether the tap is heard in the current control block.
    bool audible() const { return level_ != 0.0f || !steadyGains(); }
    // Adds the tap's output for `frames` frames, reading the history from `writeIndex`.
    void render(const StereoFrame* history, std::uint32_t mask, std::uint32_t writeIndex, int frames,
                float* left, float* right);
    // Whether the tap glides in the current control block.
    bool gliding() const { return motion_.kind == DelayMotion::Kind::kGlide; }
    // Adds the output of `count` gliding taps (at most four) in one pass, frame by frame in
    // their order, so that their running gains and read positions advance side by side; the sum
    // has the bits that rendering them one after another gives.
    static void renderGlides(TapUnit* const* taps, int count, const StereoFrame* history, std::uint32_t mask,
                             int frames, float* left, float* right);

    int targetDelay() const { return targetDelay_; }
    int currentDelay() const { return currentDelay_; }
    const Gains& gains() const { return gains_; }

    void notify(mppi::NotifierInterface* source) override;

private:
    // Takes the parameters' current values: the delay it is heading for, the level, the pan.
    void apply();
    bool steadyGains() const { return level_ == previousLevel_ && pan_ == previousPan_; }
    void takeCurrentValues();

    void renderFixed(const StereoFrame* history, std::uint32_t mask, std::uint32_t start, int frames, float* left,
                     float* right);
    template <int kCount>
    static void renderGlideGroup(TapUnit* const* taps, const StereoFrame* history, std::uint32_t mask, int frames,
                                 float* left, float* right);
    void renderCrossFade(const StereoFrame* history, std::uint32_t mask, std::uint32_t writeIndex, int frames,
                         float* left, float* right);

    int number_ = 0;
    mppi::TempoContext* tempo_ = nullptr;
    mppi::FullLfoParam<TimeModifier, 1> time_;
    mppi::FullLfoParam<LvlModifier, 1> levelGroup_;
    mppi::FullLfoParam<PanModifier, 1> panGroup_;
    float seconds_ = 0.0f;
    float level_ = 0.0f;
    float pan_ = 0.0f;
    std::atomic<bool> dirty_{false};
    float sampleRate_ = 44100.0f;
    int targetDelay_ = 0;
    int maxDelay_ = 0;
    float previousLevel_ = 0.0f;
    float previousPan_ = 0.0f;
    int currentDelay_ = 0;
    Gains gains_;
    // Gains in use: start of the control block, advanced by the increments while they ramp.
    Gains running_;
    Gains increments_;
    // A jump cross-fades the reads; a glide's start position moves on as pieces are read.
    DelayMotion motion_;
    // Cross-fade: gains of the old and the new position and their steps per frame.
    Gains fadeOut_;
    Gains fadeOutStep_;
    Gains fadeIn_;
    Gains fadeInStep_;
};
