#include "StereoTapDelay.h"

#include "RingSize.h"

#include <algorithm>
#include <cmath>

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

} // namespace

void StereoTapDelay::process(float* outLeft, float* outRight, const float* inLeft, const float* inRight, int frames)
{
    for (int k = 0; k < frames; ++k) {
        StereoFrame& frame = history_[(writeIndex_ + static_cast<std::uint32_t>(k)) & mask_];
        frame.left = admitted(inLeft[k]);
        frame.right = admitted(inRight[k]);
    }
    std::fill(outLeft, outLeft + frames, 0.0f);
    std::fill(outRight, outRight + frames, 0.0f);
    for (TapUnit& tap : taps_) {
        if (tap.audible())
            tap.render(history_.data(), mask_, writeIndex_, frames, outLeft, outRight);
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
