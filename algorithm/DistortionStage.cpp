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

// The gain that brings a shaped signal back to the input's RMS level, at most the ceiling; 0
// when the shaped signal is silent. Computed without branches so that the loop vectorises.
inline float restoringGain(float inputPower, float shapedPower)
{
    const float input = std::sqrt(std::fabs(inputPower));
    const float output = std::sqrt(std::fabs(shapedPower));
    const float gain = std::min(input, DistortionStage::kRmsCeiling) / std::max(output, kSilence);
    return output >= kSilence ? gain : 0.0f;
}

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
    fadeLength_ = samples;
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
    fadePosition_ = 0;
    const float length = static_cast<float>(fadeLength_);
    overdriveFadeInStep_ = overdriveGain_ / length;
    puncherFadeInStep_ = puncherGain_ / length;
    overdriveFadeOutStep_ = overdriveFadeOut_ / length;
    puncherFadeOutStep_ = puncherFadeOut_ / length;
}

void DistortionStage::process(float* block, int frames)
{
    for (int done = 0; done < frames; done += kControlBlock)
        processPiece(block + done, std::min(frames - done, kControlBlock));
}

void DistortionStage::processPiece(float* block, int frames)
{
    float inputPower[kControlBlock];
    float outputPower[kControlBlock];
    const float* shapedPower = inputPower;
    if (level_ != 0.0f || previousLevel_ != 0.0f) {
        float unshaped[kControlBlock];
        std::copy(block, block + frames, unshaped);
        if (level_ == previousLevel_)
            shapeSteady(block, frames);
        else
            shapeCrossFading(block, frames);
        RmsFollower::followBoth(inputFollower_, unshaped, inputPower, outputFollower_, block, outputPower, frames);
        shapedPower = outputPower;
    } else {
        inputFollower_.follow(block, frames, inputPower);
    }
    // Unshaped, both levels are the same and the gain is exactly 1 below the ceiling.
    for (int i = 0; i < frames; ++i)
        block[i] *= restoringGain(inputPower[i], shapedPower[i]);
    makeUp_ = restoringGain(inputPower[frames - 1], shapedPower[frames - 1]);
}

void DistortionStage::shapeSteady(float* __restrict block, int frames) const
{
    const bool blend = type_ != previousType_ || (type_ != 0.0f && type_ != 1.0f);
    const TableTanh& tanh = tanh_;
    const mppi::TableSine& sine = sine_;
    const float od = overdriveGain_;
    const float pu = puncherGain_;
    const float drive = drive_;
    const float fold = fold_;
    if (blend) {
        for (int i = 0; i < frames; ++i)
            block[i] = od * tanh(drive * block[i]) + pu * sine(fold * block[i]);
    } else if (type_ == 0.0f) {
        for (int i = 0; i < frames; ++i)
            block[i] = od * tanh(drive * block[i]);
    } else {
        for (int i = 0; i < frames; ++i)
            block[i] = pu * sine(fold * block[i]);
    }
}

void DistortionStage::shapeCrossFading(float* __restrict block, int frames)
{
    const bool blend = type_ != previousType_ || (type_ != 0.0f && type_ != 1.0f);
    const TableTanh& tanh = tanh_;
    const mppi::TableSine& sine = sine_;
    const float drive = drive_, previousDrive = previousDrive_;
    const float fold = fold_, previousFold = previousFold_;
    // The fades run across the pieces of a control block and complete at its end; each
    // sample's weights follow from its position in the block, whatever the pieces.
    const float odOut = overdriveFadeOut_, odIn = overdriveFadeIn_;
    const float puOut = puncherFadeOut_, puIn = puncherFadeIn_;
    const float odOutStep = overdriveFadeOutStep_, odInStep = overdriveFadeInStep_;
    const float puOutStep = puncherFadeOutStep_, puInStep = puncherFadeInStep_;
    const int start = fadePosition_;
    if (blend) {
        for (int i = 0; i < frames; ++i) {
            const float x = block[i];
            const float k = static_cast<float>(start + i);
            block[i] = (odOut - k * odOutStep) * tanh(previousDrive * x) + (odIn + k * odInStep) * tanh(drive * x) +
                       (puOut - k * puOutStep) * sine(previousFold * x) + (puIn + k * puInStep) * sine(fold * x);
        }
    } else if (type_ == 0.0f) {
        for (int i = 0; i < frames; ++i) {
            const float x = block[i];
            const float k = static_cast<float>(start + i);
            block[i] = (odOut - k * odOutStep) * tanh(previousDrive * x) + (odIn + k * odInStep) * tanh(drive * x);
        }
    } else {
        for (int i = 0; i < frames; ++i) {
            const float x = block[i];
            const float k = static_cast<float>(start + i);
            block[i] = (puOut - k * puOutStep) * sine(previousFold * x) + (puIn + k * puInStep) * sine(fold * x);
        }
    }
    fadePosition_ += frames;
}

void DistortionStage::notify(mppi::NotifierInterface*)
{
    dirty_.store(true, std::memory_order_release);
}
