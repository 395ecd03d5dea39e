#pragma once

#include <cmath>
#include <cstdint>

// A position in a power-of-two ring buffer, or a step through one, in fixed point: whole
// samples and a 32-bit fraction. Integer stepping keeps interpolating reads exact and
// independent of how a control block is split into pieces.
struct ReadPosition {
    std::uint32_t index = 0;
    std::uint32_t fraction = 0;

    // `samples` may be negative (a step backwards) or beyond the buffer; `mask` wraps the index.
    static ReadPosition fromSamples(double samples, std::uint32_t mask)
    {
        const double whole = std::floor(samples);
        const double fraction = std::fmin((samples - whole) * 4294967296.0, 4294967295.0);
        const auto wrapped = static_cast<std::int64_t>(whole);
        return {static_cast<std::uint32_t>(wrapped) & mask, static_cast<std::uint32_t>(fraction)};
    }

    // The fraction as a weight in [0, 1).
    float weight() const { return static_cast<float>(fraction) * (1.0f / 4294967296.0f); }

    // Moves on by `step`, carrying the fraction into the index.
    void advance(ReadPosition step, std::uint32_t mask)
    {
        const std::uint32_t advanced = fraction + step.fraction;
        index = (index + step.index + (advanced < fraction ? 1u : 0u)) & mask;
        fraction = advanced;
    }
};
