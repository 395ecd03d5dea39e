#pragma once

#include "ControlBlock.h"
#include "CurveShaper.h"
#include "FullLfoParam.h"
#include "LfoModifiers.h"
#include "LockFreeAtomics.h"
#include "RmsFollower.h"

#include <atomic>
#include <memory>

// Second stage of a delay line: a blend of a tanh saturation ("Overdrive") and a sine
// wave-folder ("Puncher") whose drive grows with the level, then an RMS make-up gain that
// restores the input's loudness and caps the line's RMS at 0.75, which keeps the feedback loop
// from running away at any setting.
//
// The make-up gain follows the two RMS followers sample by sample, so it is the same whatever
// pieces the host's block size cuts the signal into. At level 0, where the gain is exactly 1
// until the signal nears the ceiling or silence, a control block that provably stays between
// them passes untouched and is followed at its end in one sum.
class DistortionStage : public mppi::NotifiedInterface, public mppi::NotifierInterface {
    // Runs a shaping stage's parts in a pipeline with the line's other stages.
    friend class StagePipeline;

public:
    struct LvlModifier : mppi::OffsetModifier<LvlModifier> {
        static constexpr double kLow = 0.0, kHigh = 1.0;
    };

    // Highest RMS level the line signal leaves the stage with.
    static constexpr float kRmsCeiling = 0.75f;
    // Time constant of the RMS followers that set the make-up gain.
    static constexpr float kFollowerSeconds = 0.05f;

    // Creates and registers the type and level parameters (5 with the level's LFO).
    void init(int lineNumber, mppi::PluginInternal& registry);
    void setDefaults();
    // Clears the followers, restarts the level's LFO and takes the current settings at once.
    void reset();
    void setSampleRate(float sampleRate);
    void tempoChanged();
    void updateBlock(int samples);
    // Shapes a block in place and applies the make-up gain.
    void process(float* block, int frames);

    // Whether the control block shapes the signal: a level is not 0.
    bool shaping() const;

    float makeUpGain() const { return makeUp_; }
    float overdriveGain() const { return overdriveGain_; }
    float puncherGain() const { return puncherGain_; }

    void notify(mppi::NotifierInterface* source) override;

private:
    // Computes drive and fold from type and level and, when either changed or `force` is set,
    // the curve gains and their cross-fade over the next control block.
    void prepare(bool force);
    void takeCurrentSettings();
    // Which curves the type and its change call for.
    CurveShaper::Curves curves() const;
    void shapeSteady(float* block, int frames) const;
    void shapeCrossFading(float* block, int frames);
    void processPiece(float* block, int frames);
    // Keeps the piece's samples in `input` and shapes the block.
    void shapePiece(float* block, float* input, int frames);
    void applyGain(float* block, const float* inputPower, const float* shapedPower, int frames);
    // At level 0, where the gain is exactly 1 while the input's power stays between silence and
    // the ceiling: keeps the piece's squares for the control block's end and answers true when
    // that holds, so the piece passes as it is. Otherwise the follower catches up and answers false.
    bool followUnshapedLater(const float* block, int frames);
    // Takes the control block's kept squares into the followers.
    void takeKeptSquares();

    CurveShaper shaper_;
    std::shared_ptr<mppi::NormalizedParamInterface> typeParam_;
    mppi::FullLfoParam<LvlModifier, 1> levelGroup_;
    std::atomic<bool> dirty_{false};
    RmsFollower inputFollower_;
    RmsFollower outputFollower_;
    // What shapes a control block: the type (0 overdrive .. 1 puncher), the level, and from
    // the level the overdrive's drive and the puncher's fold (in sine-table units).
    struct Setting {
        float type = 0.0f;
        float level = 0.0f;
        float drive = 0.25f;
        float fold = 0.0f;
    };
    // A curve's gain across a control block: the old gain fading out and the new fading in,
    // each with its step per sample.
    struct Fade {
        float out = 0.0f;
        float outStep = 0.0f;
        float in = 0.0f;
        float inStep = 0.0f;
    };

    Setting current_;
    Setting previous_;
    float overdriveGain_ = 4.0f;
    float puncherGain_ = 4.0f;
    Fade overdriveFade_;
    Fade puncherFade_;
    // Samples since the fades began.
    int fadePosition_ = 0;
    // Samples of the control block the fades run across.
    int fadeLength_ = kControlBlock;
    // Make-up gain of the last sample processed.
    float makeUp_ = 1.0f;
    // The squares of the control block's unshaped pieces, followed at the block's end while the
    // gain stays exactly 1.
    float keptSquares_[kControlBlock];
    int keptCount_ = 0;
    RmsFollower::SquaresBound keptBound_;
    bool keeping_ = false;
};
