#include "DistortionStage.h"

#include "ParamTable.h"
#include "WideLoops.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using param_table::kDistortionRows;

constexpr float kInitialCurveGain = 4.0f;
constexpr float kSilence = 1e-9f;
// Powers at which the level-0 gain is surely exactly 1: within the ceiling and above silence,
// with a margin far beyond the follower's rounding.
constexpr float kUnityPowerHigh = 0.999f * DistortionStage::kRmsCeiling * DistortionStage::kRmsCeiling;
constexpr float kUnityPowerLow = 2.0f * kSilence * kSilence;
// The overdrive's drive doubles with each eighth of the level: 1/4 at level 0, 64 at level 1.
constexpr float kDriveOctaves = 8.0f;
constexpr float kLowestDriveOctave = -2.0f;
// The puncher's sine runs at 0.25 to 4.25 radians per unit of signal over the level's range.
constexpr float kFoldRateRange = 4.0f;
constexpr float kLowestFoldRate = 0.25f;
// The sine table's phase units per radian (16 per period).
constexpr float kSineUnitsPerRadian = static_cast<float>(16.0 / (2.0 * std::numbers::pi));

// The gain that brings a shaped signal back to the input's RMS level, at most the ceiling; 0
// when the shaped signal is silent. Computed without branches so that the loop vectorises.
inline float restoringGain(float inputPower, float shapedPower)
{
    const float input = std::sqrt(std::fabs(inputPower));
    const float output = std::sqrt(std::fabs(shapedPower));
    const float gain = std::min(input, DistortionStage::kRmsCeiling) / std::max(output, kSilence);
    return output >= kSilence ? gain : 0.0f;
}

ZORVANE_WIDE_LOOP inline void restore(float* block, const float* inputPower, const float* shapedPower, int frames)
{
    for (int i = 0; i < frames; ++i)
        block[i] *= restoringGain(inputPower[i], shapedPower[i]);
}

} // namespace

void DistortionStage::init(int lineNumber, mppi::PluginInternal& registry)
{
    mppi::TempoContext& tempo = registry.tempoContext();
    typeParam_ = param_table::create(kDistortionRows[param_table::kDistTypeRow], lineNumber, tempo);
    registry.addParam(typeParam_);
    typeParam_->setListener(this);
    levelGroup_.setup(param_table::create(kDistortionRows[param_table::kDistLvlRow], lineNumber, tempo), registry);
    levelGroup_.setListener(this);
    inputFollower_.setTimeConstant(kFollowerSeconds);
    outputFollower_.setTimeConstant(kFollowerSeconds);
    overdriveGain_ = kInitialCurveGain;
    puncherGain_ = kInitialCurveGain;
    takeCurrentSettings();
}

void DistortionStage::setDefaults()
{
    typeParam_->setReal(kDistortionRows[param_table::kDistTypeRow].defaultValue);
    levelGroup_.setDefaults(kDistortionRows[param_table::kDistLvlRow].defaultValue);
    overdriveGain_ = kInitialCurveGain;
    puncherGain_ = kInitialCurveGain;
    reset();
}

void DistortionStage::reset()
{
    inputFollower_.clear();
    outputFollower_.clear();
    keeping_ = false;
    keptCount_ = 0;
    levelGroup_.restart();
    takeCurrentSettings();
    dirty_.store(false, std::memory_order_relaxed);
}

void DistortionStage::takeCurrentSettings()
{
    current_.type = static_cast<float>(typeParam_->real());
    current_.level = static_cast<float>(levelGroup_.output());
    previous_.type = current_.type;
    previous_.level = current_.level;
    makeUp_ = 1.0f;
    // The gains must be those of the current type and level, with nothing left to fade.
    prepare(true);
    previous_ = current_;
    overdriveFade_ = {0.0f, 0.0f, overdriveGain_, 0.0f};
    puncherFade_ = {0.0f, 0.0f, puncherGain_, 0.0f};
}

void DistortionStage::setSampleRate(float sampleRate)
{
    levelGroup_.setSampleRate(sampleRate);
    inputFollower_.setSampleRate(sampleRate);
    outputFollower_.setSampleRate(sampleRate);
}

void DistortionStage::tempoChanged()
{
    levelGroup_.tempoChanged();
}

void DistortionStage::updateBlock(int samples)
{
    takeKeptSquares();
    // The kept squares fill at most one control block.
    keeping_ = samples <= kControlBlock;
    previous_ = current_;
    fadeLength_ = samples;
    levelGroup_.updateBlock(samples);
    if (mppi::takeFlag(dirty_)) {
        current_.type = static_cast<float>(typeParam_->real());
        current_.level = static_cast<float>(levelGroup_.output());
        prepare(false);
    }
}

void DistortionStage::prepare(bool force)
{
    current_.drive = std::exp2(kDriveOctaves * current_.level + kLowestDriveOctave);
    const float foldRate = kFoldRateRange * current_.level + kLowestFoldRate;
    current_.fold = kSineUnitsPerRadian * foldRate;
    if (!force && current_.type == previous_.type && current_.level == previous_.level)
        return;
    const float fadingOverdrive = overdriveGain_;
    const float fadingPuncher = puncherGain_;
    // Unit gain for small signals while the drive or the fold is below 1.
    const float driveCompensation = std::max(1.0f / current_.drive, 1.0f);
    const float foldCompensation = std::max(1.0f / foldRate, 1.0f);
    overdriveGain_ = (1.0f - current_.type) * driveCompensation;
    puncherGain_ = current_.type * foldCompensation;
    fadePosition_ = 0;
    const float length = static_cast<float>(fadeLength_);
    overdriveFade_ = {fadingOverdrive, fadingOverdrive / length, 0.0f, overdriveGain_ / length};
    puncherFade_ = {fadingPuncher, fadingPuncher / length, 0.0f, puncherGain_ / length};
}

void DistortionStage::process(float* block, int frames)
{
    for (int done = 0; done < frames; done += kControlBlock)
        processPiece(block + done, std::min(frames - done, kControlBlock));
}

bool DistortionStage::shaping() const
{
    return current_.level != 0.0f || previous_.level != 0.0f;
}

void DistortionStage::processPiece(float* block, int frames)
{
    float inputPower[kControlBlock];
    if (!shaping()) {
        if (followUnshapedLater(block, frames)) {
            makeUp_ = 1.0f;
            return;
        }
        inputFollower_.follow(block, frames, inputPower);
        // The shaped signal is the unshaped one: the output follower keeps step, so that a
        // rising level starts from the signal's true loudness instead of a stale one.
        outputFollower_.copyState(inputFollower_);
        // Both levels are the same: the gain is exactly 1 below the ceiling.
        applyGain(block, inputPower, inputPower, frames);
        return;
    }
    float input[kControlBlock];
    float outputPower[kControlBlock];
    shapePiece(block, input, frames);
    RmsFollower* const followers[] = {&inputFollower_, &outputFollower_};
    const float* const blocks[] = {input, block};
    float* const powers[] = {inputPower, outputPower};
    RmsFollower::followAll<2>(followers, blocks, powers, frames);
    applyGain(block, inputPower, outputPower, frames);
}

void DistortionStage::shapePiece(float* block, float* input, int frames)
{
    std::copy(block, block + frames, input);
    // Only a new level fades the curves. A new type alone switches them at the block's start:
    // the make-up gain that follows the curves holds the loudness across the switch.
    if (current_.level == previous_.level)
        shapeSteady(block, frames);
    else
        shapeCrossFading(block, frames);
}

void DistortionStage::applyGain(float* block, const float* inputPower, const float* shapedPower, int frames)
{
    mppi::wide_loops::run([&]() ZORVANE_WIDE_LOOP { restore(block, inputPower, shapedPower, frames); });
    makeUp_ = restoringGain(inputPower[frames - 1], shapedPower[frames - 1]);
}

bool DistortionStage::followUnshapedLater(const float* block, int frames)
{
    if (!keeping_ || keptCount_ + frames > fadeLength_)
        return false;
    // The power at every sample of the block so far lies between the bounds checked, which
    // grow with the block, so the outcome is the same however the host's blocks cut it.
    RmsFollower::squaresOf(block, frames, keptSquares_ + keptCount_, kUnityPowerHigh, keptBound_);
    keptCount_ += frames;
    const bool eachWithinCeiling = keptBound_.eachWithinLimit && inputFollower_.power() <= kUnityPowerHigh &&
                                   inputFollower_.lastSquare() <= kUnityPowerHigh;
    const bool withinCeiling =
        eachWithinCeiling || inputFollower_.highestPowerAfter(keptBound_.units) <= kUnityPowerHigh;
    if (!withinCeiling || inputFollower_.lowestPowerAfter(keptCount_) < kUnityPowerLow) {
        keeping_ = false;
        keptCount_ -= frames;
        inputFollower_.followSquares(keptSquares_, keptCount_);
        keptCount_ = 0;
        return false;
    }
    if (keptCount_ == fadeLength_)
        takeKeptSquares();
    return true;
}

void DistortionStage::takeKeptSquares()
{
    if (keptCount_ > 0) {
        inputFollower_.followSquaresAtOnce(keptSquares_, keptCount_);
        outputFollower_.copyState(inputFollower_);
    }
    keptCount_ = 0;
    keptBound_ = {};
    keeping_ = false;
}

CurveShaper::Curves DistortionStage::curves() const
{
    const float type = current_.type;
    if (type != previous_.type || (type != 0.0f && type != 1.0f))
        return CurveShaper::Curves::kBoth;
    return type == 0.0f ? CurveShaper::Curves::kTanh : CurveShaper::Curves::kSine;
}

void DistortionStage::shapeSteady(float* block, int frames) const
{
    shaper_.shapeSteady(block, frames, curves(), {overdriveGain_, 0.0f, current_.drive},
                        {puncherGain_, 0.0f, current_.fold});
}

void DistortionStage::shapeCrossFading(float* block, int frames)
{
    // The fades run across the pieces of a control block and complete at its end; each
    // sample's weights follow from its position in the block, whatever the pieces.
    const CurveShaper::FadeTerms terms = {
        {overdriveFade_.out, -overdriveFade_.outStep, previous_.drive},
        {overdriveFade_.in, overdriveFade_.inStep, current_.drive},
        {puncherFade_.out, -puncherFade_.outStep, previous_.fold},
        {puncherFade_.in, puncherFade_.inStep, current_.fold},
    };
    shaper_.shapeFading(block, frames, curves(), terms, fadePosition_);
    fadePosition_ += frames;
}

void DistortionStage::notify(mppi::NotifierInterface*)
{
    dirty_.store(true, std::memory_order_release);
}
