#pragma once

#include "ControlBlock.h"

#include <cmath>
#include <cstdint>
#include <vector>

// Sizes of the ring buffers of the taps and the delay lines: room for four seconds of delay,
// one control block more and at least 44100 samples, rounded up to a power of two. Each buffer
// holds one guard element after its ring, which its owner keeps a copy of the ring's first: an
// interpolating read takes an element and its successor with no wrap between them.
namespace ring_size {

constexpr double kMaxDelaySeconds = 4.0;
constexpr std::uint32_t kMinimumLength = 44100;

inline int maxDelay(float sampleRate)
{
    return static_cast<int>(std::ceil(kMaxDelaySeconds * sampleRate));
}

inline std::uint32_t length(int maxDelay)
{
    const std::uint32_t wanted = static_cast<std::uint32_t>(maxDelay + kControlBlock);
    std::uint32_t length = 1;
    while (length < wanted || length < kMinimumLength)
        length <<= 1;
    return length;
}

// Sizes `buffer` for `sampleRate` (an existing prefix kept, new samples zero), its ring and
// the guard, and answers the maximum delay; `mask` wraps indexes and `writeIndex` moves to 0
// when it falls outside.
template <class Sample>
int resize(std::vector<Sample>& buffer, float sampleRate, std::uint32_t& mask, std::uint32_t& writeIndex)
{
    const int longest = maxDelay(sampleRate);
    const std::uint32_t size = length(longest);
    if (size + 1 != buffer.size())
        buffer.resize(size + 1);
    buffer[size] = buffer[0];
    mask = size - 1;
    if (writeIndex >= size)
        writeIndex = 0;
    return longest;
}

} // namespace ring_size
