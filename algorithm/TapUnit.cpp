#include "TapUnit.h"

#include "ParamTable.h"
#include "TapLanes.h"
#include "WideLoops.h"

#include <algorithm>
#include <cmath>

namespace {

using param_table::kTapRows;

// Beyond this reading speed a moving tap cross-fades instead of gliding.
constexpr double kMaxGlideSpeed = 1.25;

TapUnit::Gains gainsOf(float level, float pan)
{
    return {level * std::min(1.0f - pan, 1.0f), level * std::max(pan, 0.0f), level * std::max(-pan, 0.0f),
            level * std::min(1.0f + pan, 1.0f)};
}

TapUnit::Gains scaled(const TapUnit::Gains& gains, float factor)
{
    return {gains.ll * factor, gains.lr * factor, gains.rl * factor, gains.rr * factor};
}

TapUnit::Gains difference(const TapUnit::Gains& to, const TapUnit::Gains& from, float divisor)
{
    return {(to.ll - from.ll) / divisor, (to.lr - from.lr) / divisor, (to.rl - from.rl) / divisor,
            (to.rr - from.rr) / divisor};
}

// Adds a steady tap's reads; the gains are a copy, so the output's stores cannot touch them.
ZORVANE_WIDE_LOOP inline void addSteady(const StereoFrame* source, int count, const TapUnit::Gains g, float* outLeft,
                                        float* outRight)
{
    for (int k = 0; k < count; ++k) {
        outLeft[k] += g.ll * source[k].left + g.rl * source[k].right;
        outRight[k] += g.lr * source[k].left + g.rr * source[k].right;
    }
}

double defaultLevel(int tapNumber)
{
    return tapNumber == 0 ? param_table::kFirstTapLevel : kTapRows[param_table::kTapLvlRow].defaultValue;
}

} // namespace

void TapUnit::init(int tapNumber, mppi::PluginInternal& registry)
{
    number_ = tapNumber;
    tempo_ = &registry.tempoContext();
    time_.setup(param_table::create(kTapRows[param_table::kTapTimeRow], tapNumber, *tempo_), registry);
    param_table::Row levelRow = kTapRows[param_table::kTapLvlRow];
    levelRow.defaultValue = defaultLevel(tapNumber);
    levelGroup_.setup(param_table::create(levelRow, tapNumber, *tempo_), registry);
    panGroup_.setup(param_table::create(kTapRows[param_table::kTapPanRow], tapNumber, *tempo_), registry);
    time_.setListener(this);
    levelGroup_.setListener(this);
    panGroup_.setListener(this);
}

void TapUnit::setDefaults()
{
    time_.setDefaults(kTapRows[param_table::kTapTimeRow].defaultValue);
    levelGroup_.setDefaults(defaultLevel(number_));
    panGroup_.setDefaults(kTapRows[param_table::kTapPanRow].defaultValue);
    apply();
    takeCurrentValues();
}

void TapUnit::reset()
{
    time_.restart();
    levelGroup_.restart();
    panGroup_.restart();
    apply();
    takeCurrentValues();
}

void TapUnit::takeCurrentValues()
{
    previousLevel_ = level_;
    previousPan_ = pan_;
    currentDelay_ = targetDelay_;
    running_ = gains_;
    increments_ = {};
    motion_ = {};
}

void TapUnit::setSampleRate(float sampleRate)
{
    time_.setSampleRate(sampleRate);
    levelGroup_.setSampleRate(sampleRate);
    panGroup_.setSampleRate(sampleRate);
    sampleRate_ = sampleRate;
    apply();
    currentDelay_ = targetDelay_;
}

void TapUnit::setMaxDelay(int samples)
{
    maxDelay_ = samples;
    targetDelay_ = std::min(targetDelay_, maxDelay_);
    currentDelay_ = std::min(currentDelay_, maxDelay_);
}

void TapUnit::tempoChanged()
{
    time_.tempoChanged();
    levelGroup_.tempoChanged();
    panGroup_.tempoChanged();
    dirty_.store(true, std::memory_order_release);
}

void TapUnit::apply()
{
    dirty_.store(false, std::memory_order_relaxed);
    seconds_ = static_cast<float>(tempo_->beatsToSeconds(time_.output()));
    level_ = static_cast<float>(levelGroup_.output());
    pan_ = static_cast<float>(panGroup_.output());
    targetDelay_ = DelayMotion::samplesOf(seconds_, sampleRate_, 0, maxDelay_);
    gains_ = gainsOf(level_, pan_);
}

void TapUnit::updateBlock(int samples, std::uint32_t writeIndex, std::uint32_t length)
{
    currentDelay_ = targetDelay_;
    previousLevel_ = level_;
    previousPan_ = pan_;
    const Gains start = gains_;
    time_.updateBlock(samples);
    levelGroup_.updateBlock(samples);
    panGroup_.updateBlock(samples);
    if (mppi::takeFlag(dirty_))
        apply();

    running_ = start;
    increments_ = steadyGains() ? Gains{} : difference(gains_, start, static_cast<float>(samples));
    motion_ = DelayMotion::plan(currentDelay_, targetDelay_, samples, writeIndex, length, kMaxGlideSpeed);
    if (motion_.kind == DelayMotion::Kind::kJump) {
        fadeOut_ = start;
        fadeOutStep_ = scaled(start, 1.0f / static_cast<float>(samples));
        fadeIn_ = {};
        fadeInStep_ = scaled(gains_, 1.0f / static_cast<float>(samples));
    }
}

void TapUnit::render(const StereoFrame* history, std::uint32_t mask, std::uint32_t writeIndex, int frames,
                     float* left, float* right)
{
    switch (motion_.kind) {
    case DelayMotion::Kind::kSteady:
        renderFixed(history, mask, (writeIndex - static_cast<std::uint32_t>(targetDelay_)) & mask, frames, left,
                    right);
        break;
    case DelayMotion::Kind::kGlide: {
        TapUnit* const self[] = {this};
        renderGlideGroup<1>(self, history, mask, frames, left, right);
        break;
    }
    case DelayMotion::Kind::kJump: renderCrossFade(history, mask, writeIndex, frames, left, right); break;
    }
}

void TapUnit::renderFixed(const StereoFrame* history, std::uint32_t mask, std::uint32_t start, int frames,
                          float* left, float* right)
{
    // Two contiguous runs at most: up to the end of the history, then from its start.
    const int firstRun = std::min(frames, static_cast<int>(mask + 1 - start));
    const std::pair<const StereoFrame*, int> runs[] = {{history + start, firstRun}, {history, frames - firstRun}};
    // Gains live in locals: the output buffers cannot alias them.
    Gains g = running_;
    const Gains step = increments_;
    const bool ramping = !steadyGains();
    int offset = 0;
    for (const auto& run : runs) {
        const StereoFrame* source = run.first;
        const int count = run.second;
        float* outLeft = left + offset;
        float* outRight = right + offset;
        if (!ramping) {
            mppi::wide_loops::run([&]() ZORVANE_WIDE_LOOP { addSteady(source, count, g, outLeft, outRight); });
        } else {
            __m128 gains = tap_lanes::gainsOf(g);
            const __m128 increments = tap_lanes::gainsOf(step);
            for (int k = 0; k < count; ++k) {
                const __m128 outputs = tap_lanes::outputsAt(outLeft, outRight, k);
                const __m128 added = tap_lanes::mixed(gains, tap_lanes::frameOf(source[k]));
                tap_lanes::storeOutputs(_mm_add_ps(outputs, added), outLeft, outRight, k);
                gains = _mm_add_ps(gains, increments);
            }
            g = tap_lanes::toGains(gains);
        }
        offset += count;
    }
    running_ = g;
}

template <int kCount>
void TapUnit::renderGlideGroup(TapUnit* const* taps, const StereoFrame* history, std::uint32_t mask, int frames,
                               float* left, float* right)
{
    __m128 gains[kCount];
    __m128 increments[kCount];
    ReadPosition position[kCount];
    ReadPosition stride[kCount];
    for (int t = 0; t < kCount; ++t) {
        gains[t] = tap_lanes::gainsOf(taps[t]->running_);
        increments[t] = tap_lanes::gainsOf(taps[t]->increments_);
        position[t] = taps[t]->motion_.start;
        stride[t] = taps[t]->motion_.step;
    }
    for (int k = 0; k < frames; ++k) {
        __m128 outputs = tap_lanes::outputsAt(left, right, k);
        for (int t = 0; t < kCount; ++t) {
            const StereoFrame& here = history[position[t].index];
            const StereoFrame& next = history[(position[t].index + 1) & mask];
            const __m128 read = tap_lanes::between(here, next, position[t].weight());
            outputs = _mm_add_ps(outputs, tap_lanes::mixed(gains[t], read));
            gains[t] = _mm_add_ps(gains[t], increments[t]);
            position[t].advance(stride[t], mask);
        }
        tap_lanes::storeOutputs(outputs, left, right, k);
    }
    for (int t = 0; t < kCount; ++t) {
        taps[t]->running_ = tap_lanes::toGains(gains[t]);
        taps[t]->motion_.start = position[t];
    }
}

void TapUnit::renderGlides(TapUnit* const* taps, int count, const StereoFrame* history, std::uint32_t mask,
                           int frames, float* left, float* right)
{
    switch (count) {
    case 1: renderGlideGroup<1>(taps, history, mask, frames, left, right); break;
    case 2: renderGlideGroup<2>(taps, history, mask, frames, left, right); break;
    case 3: renderGlideGroup<3>(taps, history, mask, frames, left, right); break;
    case 4: renderGlideGroup<4>(taps, history, mask, frames, left, right); break;
    default: break;
    }
}

void TapUnit::renderCrossFade(const StereoFrame* history, std::uint32_t mask, std::uint32_t writeIndex, int frames,
                              float* left, float* right)
{
    const std::uint32_t oldStart = writeIndex - static_cast<std::uint32_t>(currentDelay_);
    const std::uint32_t newStart = writeIndex - static_cast<std::uint32_t>(targetDelay_);
    __m128 out = tap_lanes::gainsOf(fadeOut_);
    __m128 in = tap_lanes::gainsOf(fadeIn_);
    const __m128 outStep = tap_lanes::gainsOf(fadeOutStep_);
    const __m128 inStep = tap_lanes::gainsOf(fadeInStep_);
    for (int k = 0; k < frames; ++k) {
        const StereoFrame& before = history[(oldStart + static_cast<std::uint32_t>(k)) & mask];
        const StereoFrame& after = history[(newStart + static_cast<std::uint32_t>(k)) & mask];
        // The old read's two terms, then the new read's one by one, as a sum left to right.
        __m128 added = tap_lanes::mixed(out, tap_lanes::frameOf(before));
        const __m128 arriving = tap_lanes::frameOf(after);
        const __m128 arrivingTerms = _mm_mul_ps(in, _mm_unpacklo_ps(arriving, arriving));
        added = _mm_add_ps(added, arrivingTerms);
        added = _mm_add_ps(added, _mm_movehl_ps(arrivingTerms, arrivingTerms));
        tap_lanes::storeOutputs(_mm_add_ps(tap_lanes::outputsAt(left, right, k), added), left, right, k);
        out = _mm_sub_ps(out, outStep);
        in = _mm_add_ps(in, inStep);
    }
    fadeOut_ = tap_lanes::toGains(out);
    fadeIn_ = tap_lanes::toGains(in);
}

void TapUnit::notify(mppi::NotifierInterface*)
{
    dirty_.store(true, std::memory_order_release);
}
