#include "DelayLine.h"

#include "LineMixer.h"
#include "ParamTable.h"
#include "RingSize.h"
#include "StagePipeline.h"

#include <algorithm>
#include <cmath>

namespace {

using param_table::kLineRows;

// Beyond this reading speed a delay change blends the buffer instead of gliding.
constexpr double kMaxGlideSpeed = 2.0;
// Half the length of the buffer blend around the new read position.
constexpr int kBlendHalf = 256;

} // namespace

void DelayLine::init(int lineNumber, mppi::PluginInternal& registry, LineMixer& mixer)
{
    lineNumber_ = lineNumber;
    mixer_ = &mixer;
    tempo_ = &registry.tempoContext();
    level_ = param_table::create(kLineRows[param_table::kDlyLvlRow], lineNumber, *tempo_);
    registry.addParam(level_);
    panGroup_.setup(param_table::create(kLineRows[param_table::kDlyPanRow], lineNumber, *tempo_), registry);
    time_.setup(param_table::create(kLineRows[param_table::kDlyTimeRow], lineNumber, *tempo_), registry);
    feedbackGroup_.setup(param_table::create(kLineRows[param_table::kDlyFdbkRow], lineNumber, *tempo_), registry);
    filter_.init(lineNumber, registry);
    distortion_.init(lineNumber, registry);
    shelf_.init(lineNumber, registry);
    level_->setListener(this);
    panGroup_.setListener(this);
    time_.setListener(this);
    feedbackGroup_.setListener(this);
    sizeBuffer();
    apply();
    currentDelay_ = targetDelay_;
}

void DelayLine::setDefaults(bool twoLines)
{
    level_->setReal(kLineRows[param_table::kDlyLvlRow].defaultValue);
    const double sidePan = lineNumber_ % 2 == 1 ? 1.0 : -1.0;
    panGroup_.setDefaults(twoLines ? sidePan : kLineRows[param_table::kDlyPanRow].defaultValue);
    time_.setDefaults(kLineRows[param_table::kDlyTimeRow].defaultValue);
    feedbackGroup_.setDefaults(kLineRows[param_table::kDlyFdbkRow].defaultValue);
    filter_.setDefaults();
    distortion_.setDefaults();
    shelf_.setDefaults();
    reset();
}

void DelayLine::restartGroups()
{
    panGroup_.restart();
    time_.restart();
    feedbackGroup_.restart();
}

void DelayLine::reset()
{
    restartGroups();
    dirty_.store(false, std::memory_order_relaxed);
    apply();
    currentDelay_ = targetDelay_;
    jumpPending_ = false;
    motion_ = {};
    clearBuffer();
    filter_.reset();
    distortion_.reset();
    shelf_.reset();
}

void DelayLine::setSampleRate(float sampleRate)
{
    restartGroups();
    filter_.reset();
    distortion_.reset();
    shelf_.reset();
    clearBuffer();
    panGroup_.setSampleRate(sampleRate);
    time_.setSampleRate(sampleRate);
    feedbackGroup_.setSampleRate(sampleRate);
    filter_.setSampleRate(sampleRate);
    distortion_.setSampleRate(sampleRate);
    shelf_.setSampleRate(sampleRate);
    sampleRate_ = sampleRate;
    sizeBuffer();
    apply();
    currentDelay_ = targetDelay_;
    jumpPending_ = false;
    motion_ = {};
}

void DelayLine::tempoChanged()
{
    panGroup_.tempoChanged();
    time_.tempoChanged();
    feedbackGroup_.tempoChanged();
    filter_.tempoChanged();
    distortion_.tempoChanged();
    dirty_.store(true, std::memory_order_release);
}

void DelayLine::apply()
{
    mixer_->setLevel(lineNumber_, static_cast<float>(level_->real()));
    mixer_->setPan(lineNumber_, static_cast<float>(panGroup_.output()));
    mixer_->setFeedback(lineNumber_, static_cast<float>(feedbackGroup_.output()));
    delaySeconds_ = static_cast<float>(tempo_->beatsToSeconds(time_.output()));
    // At least one sample, so every piece makes progress; at most the buffer allows.
    targetDelay_ = DelayMotion::samplesOf(delaySeconds_, sampleRate_, 1, maxDelay_);
    jumpPending_ = targetDelay_ != currentDelay_;
}

void DelayLine::updateBlock(int samples)
{
    currentDelay_ = targetDelay_;
    panGroup_.updateBlock(samples);
    time_.updateBlock(samples);
    feedbackGroup_.updateBlock(samples);
    filter_.updateBlock(samples);
    distortion_.updateBlock(samples);
    shelf_.updateBlock();
    if (mppi::takeFlag(dirty_))
        apply();

    motion_ = DelayMotion::plan(currentDelay_, targetDelay_, samples, writeIndex_, bufferLength(), kMaxGlideSpeed);
}

int DelayLine::maxChunk() const
{
    const auto length = static_cast<std::int64_t>(bufferLength());
    auto behind = [this, length](int delay) {
        return length - static_cast<std::int64_t>((writeIndex_ - static_cast<std::uint32_t>(delay)) & mask_);
    };
    std::int64_t chunk = std::min<std::int64_t>({length - writeIndex_, behind(targetDelay_), targetDelay_});
    if (currentDelay_ != targetDelay_)
        chunk = std::min<std::int64_t>({chunk, behind(currentDelay_), currentDelay_});
    return static_cast<int>(std::min<std::int64_t>(chunk, kControlBlock));
}

void DelayLine::readPiece(int frames)
{
    if (motion_.kind == DelayMotion::Kind::kJump && jumpPending_) {
        blendBuffer();
        jumpPending_ = false;
    }
    // The mixer writes each piece after it is read, so the guard is brought up to date here.
    refreshGuard();
    if (motion_.kind == DelayMotion::Kind::kGlide) {
        FilterStage::interpolate(output_, buffer_.data(), frames, mask_, motion_.start, motion_.step);
        return;
    }
    const std::uint32_t start = (writeIndex_ - static_cast<std::uint32_t>(targetDelay_)) & mask_;
    std::copy(buffer_.data() + start, buffer_.data() + start + frames, output_);
}

void DelayLine::endPiece(int frames)
{
    writeIndex_ = (writeIndex_ + static_cast<std::uint32_t>(frames)) & mask_;
}

void DelayLine::runStages(int frames)
{
    if (distortion_.shaping() && frames >= StagePipeline::kShortestAlone) {
        const LineStages stages[] = {{&filter_, &distortion_, &shelf_}};
        float* const blocks[] = {output_};
        StagePipeline::run(stages, blocks, frames);
        return;
    }
    filter_.filter(output_, frames);
    distortion_.process(output_, frames);
    shelf_.process(output_, frames);
}

const float* DelayLine::process(int frames)
{
    readPiece(frames);
    runStages(frames);
    endPiece(frames);
    return output_;
}

void DelayLine::processBoth(DelayLine& first, DelayLine& second, int frames)
{
    first.readPiece(frames);
    second.readPiece(frames);
    if (first.distortion_.shaping() && second.distortion_.shaping()) {
        const LineStages stages[] = {{&first.filter_, &first.distortion_, &first.shelf_},
                                     {&second.filter_, &second.distortion_, &second.shelf_}};
        float* const blocks[] = {first.output_, second.output_};
        StagePipeline::run(stages, blocks, frames);
    } else if (!first.distortion_.shaping() && !second.distortion_.shaping()) {
        // Neither shapes: the filters and the shelves in pairs, the distortions' unshaped paths.
        FilterStage::filterBoth(first.filter_, first.output_, second.filter_, second.output_, frames);
        first.distortion_.process(first.output_, frames);
        second.distortion_.process(second.output_, frames);
        ShelfStage::processBoth(first.shelf_, first.output_, second.shelf_, second.output_, frames);
    } else {
        first.runStages(frames);
        second.runStages(frames);
    }
    first.endPiece(frames);
    second.endPiece(frames);
}

void DelayLine::blendBuffer()
{
    const std::uint32_t newRead = (writeIndex_ - static_cast<std::uint32_t>(targetDelay_)) & mask_;
    const std::uint32_t oldRead = (writeIndex_ - static_cast<std::uint32_t>(currentDelay_)) & mask_;
    const int oldDelay = currentDelay_;
    auto blendOne = [&](int k) {
        const float weight = static_cast<float>(k < 0 ? kBlendHalf + k : kBlendHalf - k) / kBlendHalf;
        // Positions at and after the write index have not been written since the jump: the old
        // stream is silent there.
        const float old = k < oldDelay ? buffer_[(oldRead + static_cast<std::uint32_t>(k)) & mask_] : 0.0f;
        float& sample = buffer_[(newRead + static_cast<std::uint32_t>(k)) & mask_];
        sample = weight * old + (1.0f - weight) * sample;
    };
    // Each source sample is read before it can be replaced.
    if (targetDelay_ > currentDelay_) {
        for (int k = -kBlendHalf; k < kBlendHalf; ++k)
            blendOne(k);
    } else {
        for (int k = kBlendHalf - 1; k >= -kBlendHalf; --k)
            blendOne(k);
    }
}

void DelayLine::sizeBuffer()
{
    maxDelay_ = ring_size::resize(buffer_, sampleRate_, mask_, writeIndex_);
}

void DelayLine::clearBuffer()
{
    std::fill(buffer_.begin(), buffer_.end(), 0.0f);
    writeIndex_ = 0;
}

void DelayLine::notify(mppi::NotifierInterface*)
{
    dirty_.store(true, std::memory_order_release);
}
