#pragma once

#include <algorithm>

// Filter cutoffs stay below the Nyquist frequency, at most 0.49 times the sample rate, so that
// the prewarping of the bilinear transform stays finite.
inline float limitedCutoff(float cutoff, float sampleRate)
{
    return std::min(cutoff, 0.49f * sampleRate);
}
