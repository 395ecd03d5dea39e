#pragma once

#include <cmath>
#include <cstdint>

// A position in a power-of-two ring buffer, or a step through one, in fixed point: one 64-bit
// number with the whole samples in its upper half and a 32-bit fraction in its lower. Integer
// stepping keeps interpolating reads exact and independent of how a control block is split
// into pieces; a step is one addition, which a loop carries in one register.
struct ReadPosition {
    std::uint64_t fixed = 0;

    // `samples` may be negative (a step backwards) or beyond the buffer; `mask` wraps the index.
    static ReadPosition fromSamples(double samples, std::uint32_t mask)
    {
        const double whole = std::floor(samples);
        const double fraction = std::fmin((samples - whole) * 4294967296.0, 4294967295.0);
        const auto wrapped = static_cast<std::uint32_t>(static_cast<std::int64_t>(whole)) & mask;
        return {static_cast<std::uint64_t>(wrapped) << 32 | static_cast<std::uint32_t>(fraction)};
    }

    // What a position is masked with after each step, for a ring's `mask`.
    static std::uint64_t wrapOf(std::uint32_t mask) { return static_cast<std::uint64_t>(mask) << 32 | 0xFFFFFFFFu; }

    static std::uint32_t indexOf(std::uint64_t fixed) { return static_cast<std::uint32_t>(fixed >> 32); }
    // The fraction as a weight in [0, 1).
    static float weightOf(std::uint64_t fixed)
    {
        return static_cast<float>(static_cast<std::uint32_t>(fixed)) * (1.0f / 4294967296.0f);
    }
    static std::uint64_t advanced(std::uint64_t fixed, std::uint64_t step, std::uint64_t wrap)
    {
        return (fixed + step) & wrap;
    }

    std::uint32_t index() const { return indexOf(fixed); }
};
