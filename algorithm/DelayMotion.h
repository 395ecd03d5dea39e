#pragma once

#include "ReadPosition.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// How a read position moves from one delay to another across a control block, for the taps and
// the delay lines alike. Reading from the current delay to the target delay in `samples` reads
// at speed 1 - (target - current) / samples: within the glide limit the read glides there,
// resampled; faster, it jumps (each user hides the jump its own way).
struct DelayMotion {
    enum class Kind { kSteady, kGlide, kJump };

    Kind kind = Kind::kSteady;
    // A glide's read position at the block's start and its advance per sample.
    ReadPosition start;
    ReadPosition step;

    // The motion for a block of `samples` in a ring of `length` (a power of two) written at
    // `writeIndex`; a glide when |speed| <= `maxGlideSpeed`.
    static DelayMotion plan(int currentDelay, int targetDelay, int samples, std::uint32_t writeIndex,
                            std::uint32_t length, double maxGlideSpeed)
    {
        DelayMotion motion;
        if (targetDelay == currentDelay)
            return motion;
        const double speed = 1.0 - static_cast<double>(targetDelay - currentDelay) / samples;
        if (std::fabs(speed) > maxGlideSpeed) {
            motion.kind = Kind::kJump;
            return motion;
        }
        motion.kind = Kind::kGlide;
        motion.start = ReadPosition::fromSamples(static_cast<double>(writeIndex) + length - currentDelay, length - 1);
        motion.step = ReadPosition::fromSamples(speed, 0xFFFFFFFFu);
        return motion;
    }

    // A delay of `seconds` in whole samples at `sampleRate`, rounded to the nearest, within
    // `shortest` .. `longest`.
    static int samplesOf(double seconds, double sampleRate, int shortest, int longest)
    {
        const double samples = std::floor(seconds * sampleRate + 0.5);
        return static_cast<int>(std::clamp(samples, static_cast<double>(shortest), static_cast<double>(longest)));
    }
};
