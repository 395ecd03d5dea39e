#include "TapUnit.h"

#include "ParamTable.h"
#include "WideLoops.h"
#include "WindowedRead.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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

// Gains that ramp in closed form: at frame k of the control block, start + k * step. A copy in
// each loop's locals, so that the output's stores cannot touch it.
struct Ramp {
    TapUnit::Gains start;
    TapUnit::Gains step;
    int position = 0;

    // The gains at frame `k` of a piece that starts at `position` in the block.
    TapUnit::Gains at(int k) const
    {
        const float frame = static_cast<float>(position + k);
        return {start.ll + frame * step.ll, start.lr + frame * step.lr, start.rl + frame * step.rl,
                start.rr + frame * step.rr};
    }
};

// What a kernel adds its frame's terms to: the output there, or for the first tap heard 0, which
// gives the bits the sum would give on a cleared output without clearing it first.
template <bool kAdd>
inline float base(const float* out, int k)
{
    return kAdd ? out[k] : 0.0f;
}

// The kernels' outputs are restricted, distinct from each other and from the history they read,
// so that a frame's read is loaded once and the loops need no overlap checks.

// Adds a steady tap's reads.
template <bool kAdd>
ZORVANE_WIDE_LOOP inline void addSteady(const StereoFrame* __restrict source, int count, const TapUnit::Gains g,
                                        float* __restrict outLeft, float* __restrict outRight)
{
    for (int k = 0; k < count; ++k) {
        const float l = source[k].left, r = source[k].right;
        outLeft[k] = base<kAdd>(outLeft, k) + (g.ll * l + g.rl * r);
        outRight[k] = base<kAdd>(outRight, k) + (g.lr * l + g.rr * r);
    }
}

template <bool kAdd>
ZORVANE_WIDE_LOOP inline void addRamping(const StereoFrame* __restrict source, int count, const Ramp ramp,
                                         float* __restrict outLeft, float* __restrict outRight)
{
    for (int k = 0; k < count; ++k) {
        const TapUnit::Gains g = ramp.at(k);
        const float l = source[k].left, r = source[k].right;
        outLeft[k] = base<kAdd>(outLeft, k) + (g.ll * l + g.rl * r);
        outRight[k] = base<kAdd>(outRight, k) + (g.lr * l + g.rr * r);
    }
}

// One frame of a gliding tap: its read interpolated at its weight (as ReadPosition::weightOf
// gives it), mixed by the gains into frame `k`.
template <bool kAdd>
ZORVANE_WIDE_LOOP inline void mixGliding(const TapUnit::GlideScratch::Pair& pair, float weight, const TapUnit::Gains& g,
                                         int k, float* outLeft, float* outRight)
{
    const float l = pair.left + (pair.nextLeft - pair.left) * weight;
    const float r = pair.right + (pair.nextRight - pair.right) * weight;
    outLeft[k] = base<kAdd>(outLeft, k) + (g.ll * l + g.rl * r);
    outRight[k] = base<kAdd>(outRight, k) + (g.lr * l + g.rr * r);
}

// Adds the gathered reads of a gliding tap.
template <bool kAdd>
ZORVANE_WIDE_LOOP inline void addGliding(const TapUnit::GlideScratch& scratch, int count, const Ramp ramp,
                                         float* outLeft, float* outRight)
{
    for (int k = 0; k < count; ++k)
        mixGliding<kAdd>(scratch.pairs[k], scratch.weights[k], ramp.at(k), k, outLeft, outRight);
}

#if defined(ZORVANE_WINDOWED_READS)
// A ramp's gain at frames `frame`, as Ramp::at reckons it.
ZORVANE_WIDE_TARGET inline __m256 gainAt(float start, float slope, __m256 frame)
{
    return _mm256_add_ps(_mm256_set1_ps(start), _mm256_mul_ps(frame, _mm256_set1_ps(slope)));
}

// A gliding tap eight frames at a time where their window of the history fits (windowed_read),
// each lane doing mixGliding's arithmetic with the ramp's gains; other frames one by one.
// Answers the read position after the last frame.
template <bool kAdd>
ZORVANE_WIDE_TARGET std::uint64_t glideWide(const StereoFrame* history, std::uint32_t mask, int frames,
                                            std::uint64_t at, std::uint64_t step, const Ramp ramp, float* outLeft,
                                            float* outRight)
{
    const std::uint64_t wrap = ReadPosition::wrapOf(mask);
    const windowed_read::Steps steps = windowed_read::stepsOf(step);
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const auto oneByOne = [&](int from, int count) {
        for (int k = from; k < from + count; ++k) {
            TapUnit::GlideScratch::Pair pair;
            std::memcpy(&pair, history + ReadPosition::indexOf(at), sizeof pair);
            mixGliding<kAdd>(pair, ReadPosition::weightOf(at), ramp.at(k), k, outLeft, outRight);
            at = ReadPosition::advanced(at, step, wrap);
        }
    };
    int i = 0;
    for (; i + 8 <= frames; i += 8) {
        const std::uint32_t first = ReadPosition::indexOf(at);
        if (!windowed_read::windowFits(first, mask)) {
            oneByOne(i, 8);
            continue;
        }
        const windowed_read::Group group = windowed_read::groupAt(at, steps);
        const float* window = &history[first].left;
        // Frames 0 to 3, 4 to 7, 8 to 11 and 12 to 15 of the window, their sides apart.
        const __m256 frames0 = _mm256_loadu_ps(window), frames4 = _mm256_loadu_ps(window + 8);
        const __m256 frames8 = _mm256_loadu_ps(window + 16), frames12 = _mm256_loadu_ps(window + 24);
        const __m256 lowerLeft = windowed_read::evens(frames0, frames4);
        const __m256 lowerRight = windowed_read::odds(frames0, frames4);
        const __m256 upperLeft = windowed_read::evens(frames8, frames12);
        const __m256 upperRight = windowed_read::odds(frames8, frames12);
        const __m256i nextPlaces = _mm256_add_epi32(group.places, one);
        const __m256 hereLeft = windowed_read::windowAt(lowerLeft, upperLeft, group.places);
        const __m256 hereRight = windowed_read::windowAt(lowerRight, upperRight, group.places);
        const __m256 nextLeft = windowed_read::windowAt(lowerLeft, upperLeft, nextPlaces);
        const __m256 nextRight = windowed_read::windowAt(lowerRight, upperRight, nextPlaces);
        const __m256 l = _mm256_add_ps(hereLeft, _mm256_mul_ps(_mm256_sub_ps(nextLeft, hereLeft), group.weights));
        const __m256 r = _mm256_add_ps(hereRight, _mm256_mul_ps(_mm256_sub_ps(nextRight, hereRight), group.weights));
        const __m256 frame = _mm256_cvtepi32_ps(_mm256_add_epi32(_mm256_set1_epi32(ramp.position + i), lanes));
        const TapUnit::Gains& start = ramp.start;
        const TapUnit::Gains& slope = ramp.step;
        const __m256 mixedLeft = _mm256_add_ps(_mm256_mul_ps(gainAt(start.ll, slope.ll, frame), l),
                                               _mm256_mul_ps(gainAt(start.rl, slope.rl, frame), r));
        const __m256 mixedRight = _mm256_add_ps(_mm256_mul_ps(gainAt(start.lr, slope.lr, frame), l),
                                                _mm256_mul_ps(gainAt(start.rr, slope.rr, frame), r));
        const __m256 baseLeft = kAdd ? _mm256_loadu_ps(outLeft + i) : _mm256_setzero_ps();
        const __m256 baseRight = kAdd ? _mm256_loadu_ps(outRight + i) : _mm256_setzero_ps();
        _mm256_storeu_ps(outLeft + i, _mm256_add_ps(baseLeft, mixedLeft));
        _mm256_storeu_ps(outRight + i, _mm256_add_ps(baseRight, mixedRight));
        at = (at + 8 * step) & wrap;
    }
    oneByOne(i, frames - i);
    return at;
}
#endif

// Adds a cross-fade: the old read's two terms, then the new read's, as one sum left to right.
template <bool kAdd>
ZORVANE_WIDE_LOOP inline void addCrossFading(const StereoFrame* __restrict before, const StereoFrame* __restrict after,
                                             int count, const Ramp out, const Ramp in, float* __restrict outLeft,
                                             float* __restrict outRight)
{
    for (int k = 0; k < count; ++k) {
        const TapUnit::Gains o = out.at(k);
        const TapUnit::Gains i = in.at(k);
        const float oldLeft = before[k].left, oldRight = before[k].right;
        const float newLeft = after[k].left, newRight = after[k].right;
        outLeft[k] = base<kAdd>(outLeft, k) + (o.ll * oldLeft + o.rl * oldRight + i.ll * newLeft + i.rl * newRight);
        outRight[k] = base<kAdd>(outRight, k) + (o.lr * oldLeft + o.rr * oldRight + i.lr * newLeft + i.rr * newRight);
    }
}

// Frames from ring index `start` up to the ring's end, at most `frames`.
int framesBeforeEnd(std::uint32_t start, std::uint32_t mask, int frames)
{
    return std::min(frames, static_cast<int>(mask + 1 - (start & mask)));
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
    start_ = gains_;
    blockPosition_ = 0;
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

    start_ = start;
    blockPosition_ = 0;
    increments_ = steadyGains() ? Gains{} : difference(gains_, start, static_cast<float>(samples));
    motion_ = DelayMotion::plan(currentDelay_, targetDelay_, samples, writeIndex, length, kMaxGlideSpeed);
    if (motion_.kind == DelayMotion::Kind::kJump) {
        fadeOut_ = start;
        fadeOutStep_ = scaled(start, -1.0f / static_cast<float>(samples));
        fadeInStep_ = scaled(gains_, 1.0f / static_cast<float>(samples));
    }
}

void TapUnit::render(const StereoFrame* history, std::uint32_t mask, std::uint32_t writeIndex, int frames,
                     float* left, float* right, GlideScratch& scratch, Mix mix)
{
    if (mix == Mix::kAdd)
        renderAs<true>(history, mask, writeIndex, frames, left, right, scratch);
    else
        renderAs<false>(history, mask, writeIndex, frames, left, right, scratch);
    blockPosition_ += frames;
}

template <bool kAdd>
void TapUnit::renderAs(const StereoFrame* history, std::uint32_t mask, std::uint32_t writeIndex, int frames,
                       float* left, float* right, GlideScratch& scratch)
{
    switch (motion_.kind) {
    case DelayMotion::Kind::kSteady:
        renderFixed<kAdd>(history, mask, (writeIndex - static_cast<std::uint32_t>(targetDelay_)) & mask, frames, left,
                          right);
        break;
    case DelayMotion::Kind::kGlide: renderGlide<kAdd>(history, mask, frames, left, right, scratch); break;
    case DelayMotion::Kind::kJump: renderCrossFade<kAdd>(history, mask, writeIndex, frames, left, right); break;
    }
}

template <bool kAdd>
void TapUnit::renderFixed(const StereoFrame* history, std::uint32_t mask, std::uint32_t start, int frames,
                          float* left, float* right) const
{
    const bool ramping = !steadyGains();
    // Two contiguous runs at most: up to the end of the history, then from its start.
    for (int done = 0; done < frames;) {
        const std::uint32_t from = (start + static_cast<std::uint32_t>(done)) & mask;
        const int count = framesBeforeEnd(from, mask, frames - done);
        const StereoFrame* source = history + from;
        float* outLeft = left + done;
        float* outRight = right + done;
        if (ramping) {
            const Ramp ramp = {start_, increments_, blockPosition_ + done};
            mppi::wide_loops::run(
                [&]() ZORVANE_WIDE_LOOP { addRamping<kAdd>(source, count, ramp, outLeft, outRight); });
        } else {
            const Gains g = gains_;
            mppi::wide_loops::run([&]() ZORVANE_WIDE_LOOP { addSteady<kAdd>(source, count, g, outLeft, outRight); });
        }
        done += count;
    }
}

template <bool kAdd>
void TapUnit::renderGlide(const StereoFrame* history, std::uint32_t mask, int frames, float* left, float* right,
                          GlideScratch& scratch)
{
    const std::uint64_t step = motion_.step.fixed;
    const Ramp ramp = {start_, increments_, blockPosition_};
#if defined(ZORVANE_WINDOWED_READS)
    if (mppi::wide_loops::enabled() && step <= windowed_read::kLargestStep) {
        motion_.start.fixed = glideWide<kAdd>(history, mask, frames, motion_.start.fixed, step, ramp, left, right);
        return;
    }
#endif
    // The reads are gathered one by one (each frame and the next in one copy: the guard follows
    // the ring's last), then interpolated and mixed in a loop over frames.
    const std::uint64_t wrap = ReadPosition::wrapOf(mask);
    std::uint64_t position = motion_.start.fixed;
    for (int k = 0; k < frames; ++k) {
        std::memcpy(&scratch.pairs[k], history + ReadPosition::indexOf(position), sizeof(GlideScratch::Pair));
        scratch.weights[k] = ReadPosition::weightOf(position);
        position = ReadPosition::advanced(position, step, wrap);
    }
    motion_.start.fixed = position;
    mppi::wide_loops::run([&]() ZORVANE_WIDE_LOOP { addGliding<kAdd>(scratch, frames, ramp, left, right); });
}

template <bool kAdd>
void TapUnit::renderCrossFade(const StereoFrame* history, std::uint32_t mask, std::uint32_t writeIndex, int frames,
                              float* left, float* right) const
{
    const std::uint32_t oldStart = writeIndex - static_cast<std::uint32_t>(currentDelay_);
    const std::uint32_t newStart = writeIndex - static_cast<std::uint32_t>(targetDelay_);
    // Runs in which neither read wraps around the history's end.
    for (int done = 0; done < frames;) {
        const std::uint32_t before = (oldStart + static_cast<std::uint32_t>(done)) & mask;
        const std::uint32_t after = (newStart + static_cast<std::uint32_t>(done)) & mask;
        const int count = std::min(framesBeforeEnd(before, mask, frames - done), framesBeforeEnd(after, mask, frames - done));
        const Ramp out = {fadeOut_, fadeOutStep_, blockPosition_ + done};
        const Ramp in = {{}, fadeInStep_, blockPosition_ + done};
        const StereoFrame* oldReads = history + before;
        const StereoFrame* newReads = history + after;
        float* outLeft = left + done;
        float* outRight = right + done;
        mppi::wide_loops::run(
            [&]() ZORVANE_WIDE_LOOP { addCrossFading<kAdd>(oldReads, newReads, count, out, in, outLeft, outRight); });
        done += count;
    }
}

void TapUnit::notify(mppi::NotifierInterface*)
{
    dirty_.store(true, std::memory_order_release);
}
