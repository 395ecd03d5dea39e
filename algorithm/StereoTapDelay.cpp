#include "StereoTapDelay.h"

#include "RingSize.h"
#include "WideLoops.h"

#include <algorithm>
#include <cmath>
#include <immintrin.h>

void StereoTapDelay::init(mppi::PluginInternal& registry)
{
    for (int number = 0; number < kTaps; ++number)
        taps_[static_cast<std::size_t>(number)].init(number, registry);
    sizeHistory();
}

void StereoTapDelay::setDefaults()
{
    for (TapUnit& tap : taps_)
        tap.setDefaults();
    reset();
}

void StereoTapDelay::reset()
{
    clearHistory();
    for (TapUnit& tap : taps_)
        tap.reset();
}

void StereoTapDelay::setSampleRate(float sampleRate)
{
    clearHistory();
    for (TapUnit& tap : taps_) {
        tap.reset();
        tap.setSampleRate(sampleRate);
    }
    sampleRate_ = sampleRate;
    sizeHistory();
}

void StereoTapDelay::tempoChanged()
{
    for (TapUnit& tap : taps_)
        tap.tempoChanged();
}

void StereoTapDelay::updateBlock(int samples)
{
    for (TapUnit& tap : taps_)
        tap.updateBlock(samples, writeIndex_, historyLength());
}

namespace {

// What of an input sample enters the history: NaN and infinity as silence (x - x is 0 only for
// finite x), and finite samples held within the input ceiling.
inline float admitted(float x)
{
    const float finite = x - x == 0.0f ? x : 0.0f;
    return std::clamp(finite, -StereoTapDelay::kInputCeiling, StereoTapDelay::kInputCeiling);
}

// Four frames at a time in the lanes of SSE registers, then one by one. Each lane follows the
// rule above: the maximum and the minimum answer as the clamp does for the finite samples
// they are given.
inline void admitNarrow(StereoFrame* destination, const float* left, const float* right, int count)
{
    const __m128 zero = _mm_setzero_ps();
    const __m128 lowest = _mm_set1_ps(-StereoTapDelay::kInputCeiling);
    const __m128 highest = _mm_set1_ps(StereoTapDelay::kInputCeiling);
    auto admittedLanes = [&](__m128 x) {
        const __m128 finite = _mm_and_ps(_mm_cmpeq_ps(_mm_sub_ps(x, x), zero), x);
        return _mm_min_ps(_mm_max_ps(finite, lowest), highest);
    };
    int k = 0;
    for (; k + 4 <= count; k += 4) {
        const __m128 l = admittedLanes(_mm_loadu_ps(left + k));
        const __m128 r = admittedLanes(_mm_loadu_ps(right + k));
        float* frames = &destination[k].left;
        _mm_storeu_ps(frames, _mm_unpacklo_ps(l, r));
        _mm_storeu_ps(frames + 4, _mm_unpackhi_ps(l, r));
    }
    for (; k < count; ++k)
        destination[k] = {admitted(left[k]), admitted(right[k])};
}

// Eight frames at a time in AVX2 registers, the same lanes' rule; the rest as above.
ZORVANE_WIDE_TARGET void admitWide(StereoFrame* destination, const float* left, const float* right, int count)
{
    const __m256 zero = _mm256_setzero_ps();
    const __m256 lowest = _mm256_set1_ps(-StereoTapDelay::kInputCeiling);
    const __m256 highest = _mm256_set1_ps(StereoTapDelay::kInputCeiling);
    int k = 0;
    for (; k + 8 <= count; k += 8) {
        const __m256 l = _mm256_loadu_ps(left + k), r = _mm256_loadu_ps(right + k);
        const __m256 finiteLeft = _mm256_and_ps(_mm256_cmp_ps(_mm256_sub_ps(l, l), zero, _CMP_EQ_OQ), l);
        const __m256 finiteRight = _mm256_and_ps(_mm256_cmp_ps(_mm256_sub_ps(r, r), zero, _CMP_EQ_OQ), r);
        const __m256 heldLeft = _mm256_min_ps(_mm256_max_ps(finiteLeft, lowest), highest);
        const __m256 heldRight = _mm256_min_ps(_mm256_max_ps(finiteRight, lowest), highest);
        // Frames 0, 1, 4, 5 and 2, 3, 6, 7, put back in order.
        const __m256 low = _mm256_unpacklo_ps(heldLeft, heldRight), high = _mm256_unpackhi_ps(heldLeft, heldRight);
        float* frames = &destination[k].left;
        _mm256_storeu_ps(frames, _mm256_permute2f128_ps(low, high, 0x20));
        _mm256_storeu_ps(frames + 8, _mm256_permute2f128_ps(low, high, 0x31));
    }
    admitNarrow(destination + k, left + k, right + k, count - k);
}

inline void admit(StereoFrame* destination, const float* left, const float* right, int count)
{
#if defined(__i386__) || defined(__x86_64__)
    if (mppi::wide_loops::enabled()) {
        admitWide(destination, left, right, count);
        return;
    }
#endif
    admitNarrow(destination, left, right, count);
}

} // namespace

void StereoTapDelay::process(float* outLeft, float* outRight, const float* inLeft, const float* inRight, int frames)
{
    // Two contiguous runs at most, up to the history's end and then from its start, so neither
    // write wraps; the second only when the block does.
    const int firstRun = std::min(frames, static_cast<int>(mask_ + 1 - writeIndex_));
    admit(history_.data() + writeIndex_, inLeft, inRight, firstRun);
    if (firstRun < frames)
        admit(history_.data(), inLeft + firstRun, inRight + firstRun, frames - firstRun);
    // The guard after the ring repeats its first frame for the taps' interpolating reads.
    history_[historyLength()] = history_[0];
    // Tap by tap, so each frame's sum takes the taps in their order: the first heard writes the
    // buffers, the others add to them.
    TapUnit::Mix mix = TapUnit::Mix::kReplace;
    for (TapUnit& tap : taps_) {
        if (tap.audible()) {
            tap.render(history_.data(), mask_, writeIndex_, frames, outLeft, outRight, glideScratch_, mix);
            mix = TapUnit::Mix::kAdd;
        }
    }
    if (mix == TapUnit::Mix::kReplace) {
        std::fill(outLeft, outLeft + frames, 0.0f);
        std::fill(outRight, outRight + frames, 0.0f);
    }
    writeIndex_ = (writeIndex_ + static_cast<std::uint32_t>(frames)) & mask_;
}

void StereoTapDelay::sizeHistory()
{
    maxDelay_ = ring_size::resize(history_, sampleRate_, mask_, writeIndex_);
    for (TapUnit& tap : taps_)
        tap.setMaxDelay(maxDelay_);
}

void StereoTapDelay::clearHistory()
{
    std::fill(history_.begin(), history_.end(), StereoFrame{});
    writeIndex_ = 0;
}
