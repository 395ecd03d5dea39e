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

void StereoTapDelay::process(float* outLeft, float* outRight, const float* inLeft, const float* inRight, int frames)
{
    for (int k = 0; k < frames; ++k) {
        StereoFrame& frame = history_[(writeIndex_ + static_cast<std::uint32_t>(k)) & mask_];
        // x - x is 0 only for finite x: NaN and infinity enter the history as silence.
        frame.left = inLeft[k] - inLeft[k] == 0.0f ? inLeft[k] : 0.0f;
        frame.right = inRight[k] - inRight[k] == 0.0f ? inRight[k] : 0.0f;
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
