#include "DistortionStage.h"

#include "ParamTable.h"
#include "TableSine.h"
#include "TableTanh.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using param_table::kDistortionRows;

constexpr float kFollowerSeconds = 0.05f;
constexpr float kInitialCurveGain = 4.0f;
constexpr float kSilence = 1e-9f;
constexpr int kControlBlock = 256;

} // namespace

DistortionStage::DistortionStage() : tanh_(TableTanh::instance()), sine_(mppi::TableSine::instance()) {}

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
    levelGroup_.restart();
    takeCurrentSettings();
    dirty_.store(false, std::memory_order_relaxed);
}

void DistortionStage::takeCurrentSettings()
{
    type_ = static_cast<float>(typeParam_->real());
    level_ = static_cast<float>(levelGroup_.output());
    previousType_ = type_;
    previousLevel_ = level_;
    makeUp_ = 1.0f;
    // The gains must be those of the current type and level, with nothing left to fade.
    prepare(true);
    previousDrive_ = drive_;
    previousFold_ = fold_;
    overdriveFadeOut_ = puncherFadeOut_ = 0.0f;
    overdriveFadeOutStep_ = puncherFadeOutStep_ = 0.0f;
    overdriveFadeIn_ = overdriveGain_;
    puncherFadeIn_ = puncherGain_;
    overdriveFadeInStep_ = puncherFadeInStep_ = 0.0f;
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
    previousType_ = type_;
    previousLevel_ = level_;
    previousDrive_ = drive_;
    previousFold_ = fold_;
    levelGroup_.updateBlock(samples);
    if (dirty_.exchange(false, std::memory_order_acquire)) {
        type_ = static_cast<float>(typeParam_->real());
        level_ = static_cast<float>(levelGroup_.output());
        prepare(false);
    }
}

void DistortionStage::prepare(bool force)
{
    drive_ = std::exp2(8.0f * level_ - 2.0f);
    const float foldRate = 4.0f * level_ + 0.25f;
    fold_ = static_cast<float>(16.0 / (2.0 * std::numbers::pi)) * foldRate;
    if (!force && type_ == previousType_ && level_ == previousLevel_)
        return;
    overdriveFadeOut_ = overdriveGain_;
    puncherFadeOut_ = puncherGain_;
    // Unit gain for small signals while the drive or the fold is below 1.
    const float driveCompensation = std::max(1.0f / drive_, 1.0f);
    const float foldCompensation = std::max(1.0f / foldRate, 1.0f);
    overdriveGain_ = (1.0f - type_) * driveCompensation;
    puncherGain_ = type_ * foldCompensation;
    overdriveFadeIn_ = 0.0f;
    puncherFadeIn_ = 0.0f;
    overdriveFadeInStep_ = overdriveGain_ / kControlBlock;
    puncherFadeInStep_ = puncherGain_ / kControlBlock;
    overdriveFadeOutStep_ = overdriveFadeOut_ / kControlBlock;
    puncherFadeOutStep_ = puncherFadeOut_ / kControlBlock;
}

void DistortionStage::process(float* block, int frames)
{
    for (int done = 0; done < frames; done += kMaxPiece)
        processPiece(block + done, std::min(frames - done, kMaxPiece));
}

void DistortionStage::processPiece(float* block, int frames)
{
    float inputPower[kMaxPiece];
    float outputPower[kMaxPiece];
    inputFollower_.follow(block, frames, inputPower);
    const float* shapedPower = inputPower;
    if (level_ != 0.0f || previousLevel_ != 0.0f) {
        if (level_ == previousLevel_)
            shapeSteady(block, frames);
        else
            shapeCrossFading(block, frames);
        outputFollower_.follow(block, frames, outputPower);
        shapedPower = outputPower;
    }
    // Unshaped, both levels are the same and the gain is exactly 1 below the ceiling.
    for (int i = 0; i < frames; ++i) {
        const float input = std::sqrt(std::fabs(inputPower[i]));
        const float output = std::sqrt(std::fabs(shapedPower[i]));
        const float gain = output >= kSilence ? std::min(input, kRmsCeiling) / output : 0.0f;
        block[i] *= gain;
    }
    const float input = std::sqrt(std::fabs(inputPower[frames - 1]));
    const float output = std::sqrt(std::fabs(shapedPower[frames - 1]));
    makeUp_ = output >= kSilence ? std::min(input, kRmsCeiling) / output : 0.0f;
}

void DistortionStage::shapeSteady(float* block, int frames) const
{
    const bool blend = type_ != previousType_ || (type_ != 0.0f && type_ != 1.0f);
    const float od = overdriveGain_;
    const float pu = puncherGain_;
    if (blend) {
        for (int i = 0; i < frames; ++i)
            block[i] = od * tanh_(drive_ * block[i]) + pu * sine_(fold_ * block[i]);
    } else if (type_ == 0.0f) {
        for (int i = 0; i < frames; ++i)
            block[i] = od * tanh_(drive_ * block[i]);
    } else {
        for (int i = 0; i < frames; ++i)
            block[i] = pu * sine_(fold_ * block[i]);
    }
}

void DistortionStage::shapeCrossFading(float* block, int frames)
{
    const bool blend = type_ != previousType_ || (type_ != 0.0f && type_ != 1.0f);
    const bool overdrive = blend || type_ == 0.0f;
    const bool puncher = blend || type_ == 1.0f;
    for (int i = 0; i < frames; ++i) {
        const float x = block[i];
        float y = 0.0f;
        if (overdrive)
            y += overdriveFadeOut_ * tanh_(previousDrive_ * x) + overdriveFadeIn_ * tanh_(drive_ * x);
        if (puncher)
            y += puncherFadeOut_ * sine_(previousFold_ * x) + puncherFadeIn_ * sine_(fold_ * x);
        block[i] = y;
        overdriveFadeIn_ += overdriveFadeInStep_;
        overdriveFadeOut_ -= overdriveFadeOutStep_;
        puncherFadeIn_ += puncherFadeInStep_;
        puncherFadeOut_ -= puncherFadeOutStep_;
    }
}

void DistortionStage::notify(mppi::NotifierInterface*)
{
    dirty_.store(true, std::memory_order_release);
}
