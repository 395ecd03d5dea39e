#pragma once

#include "ControlBlock.h"
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

    // What a gliding read gathers from the history before it interpolates: a frame and the one
    // after it, and the fraction of the way between them, for each frame of a piece.
    struct GlideScratch {
        struct Pair {
            float left, right, nextLeft, nextRight;
        };
        Pair pairs[kControlBlock];
        float weights[kControlBlock];
    };

    // Whether the tap is heard in the current control block.
    bool audible() const { return level_ != 0.0f || !steadyGains(); }
    // How a tap's output meets what is in the buffers: added to it, or written where they hold
    // nothing yet (the bits of adding to a cleared buffer).
    enum class Mix { kReplace, kAdd };
    // Renders the tap's output for `frames` frames (at most what is left of the control
    // block), reading the history (with its guard frame after the ring) from `writeIndex`.
    // Each kind of move runs frame-parallel loops: gains ramp in closed form from the block's
    // start, so the output does not depend on how the block is cut into pieces.
    void render(const StereoFrame* history, std::uint32_t mask, std::uint32_t writeIndex, int frames,
                float* left, float* right, GlideScratch& scratch, Mix mix);

    int targetDelay() const { return targetDelay_; }
    int currentDelay() const { return currentDelay_; }
    const Gains& gains() const { return gains_; }

    void notify(mppi::NotifierInterface* source) override;

private:
    // Takes the parameters' current values: the delay it is heading for, the level, the pan.
    void apply();
    bool steadyGains() const { return level_ == previousLevel_ && pan_ == previousPan_; }
    void takeCurrentValues();

    template <bool kAdd>
    void renderAs(const StereoFrame* history, std::uint32_t mask, std::uint32_t writeIndex, int frames, float* left,
                  float* right, GlideScratch& scratch);
    template <bool kAdd>
    void renderFixed(const StereoFrame* history, std::uint32_t mask, std::uint32_t start, int frames, float* left,
                     float* right) const;
    template <bool kAdd>
    void renderGlide(const StereoFrame* history, std::uint32_t mask, int frames, float* left, float* right,
                     GlideScratch& scratch);
    template <bool kAdd>
    void renderCrossFade(const StereoFrame* history, std::uint32_t mask, std::uint32_t writeIndex, int frames,
                         float* left, float* right) const;

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
    // Gains at the control block's start and their steps per frame while they ramp.
    Gains start_;
    Gains increments_;
    // Frames of the control block rendered so far.
    int blockPosition_ = 0;
    // A jump cross-fades the reads; a glide's start position moves on as pieces are read.
    DelayMotion motion_;
    // Cross-fade: gains of the old position fading out and their step per frame (negative),
    // and the steps of the new position's gains fading in from 0.
    Gains fadeOut_;
    Gains fadeOutStep_;
    Gains fadeInStep_;
};
