#pragma once

// Eight interpolating reads at a time for AVX2: where eight reads stepping forwards through a
// ring, and the elements after them, lie in the sixteen elements from the first read's, that
// window is loaded whole and each read picked from it by a permute instead of loaded on its
// own. The weights are the ones ReadPosition::weightOf gives, so a caller doing the plain
// loop's arithmetic on them gets the plain loop's bits.

#include "ReadPosition.h"
#include "WideLoops.h"

#include <cstdint>

#if defined(__i386__) || defined(__x86_64__)
#include <immintrin.h>
#define ZORVANE_WINDOWED_READS 1

namespace windowed_read {

// The largest step for which the window holds a group: the eighth read lies less than
// 1 + 7 * step past the first read's element, and its next element must be in the window too.
inline constexpr std::uint64_t kLargestStep = (std::uint64_t{13} << 32) / 7;

// Whether a group whose first read is at element `first` has its window inside a ring of
// `mask` + 1 elements and the guard element after it.
inline bool windowFits(std::uint32_t first, std::uint32_t mask)
{
    return first + 15 <= mask + 1;
}

// The even and the odd elements of `first` then `second`, each in order: a stereo frame's left and
// right samples, or a 64-bit lane's low and high halves. The shuffle leaves elements 0, 1, 4, 5
// and 2, 3, 6, 7 in its halves; the permute puts them back in order.
ZORVANE_WIDE_TARGET inline __m256 evens(__m256 first, __m256 second)
{
    const __m256 shuffled = _mm256_shuffle_ps(first, second, _MM_SHUFFLE(2, 0, 2, 0));
    return _mm256_castsi256_ps(_mm256_permute4x64_epi64(_mm256_castps_si256(shuffled), _MM_SHUFFLE(3, 1, 2, 0)));
}

ZORVANE_WIDE_TARGET inline __m256 odds(__m256 first, __m256 second)
{
    const __m256 shuffled = _mm256_shuffle_ps(first, second, _MM_SHUFFLE(3, 1, 3, 1));
    return _mm256_castsi256_ps(_mm256_permute4x64_epi64(_mm256_castps_si256(shuffled), _MM_SHUFFLE(3, 1, 2, 0)));
}

// The eight reads' distances k * step from the first, k = 0 to 7, in 64-bit lanes.
struct Steps {
    __m256i low, high;
};

ZORVANE_WIDE_TARGET inline Steps stepsOf(std::uint64_t step)
{
    const auto times = [step](std::uint64_t k) { return static_cast<long long>(k * step); };
    return {_mm256_set_epi64x(times(3), times(2), times(1), 0),
            _mm256_set_epi64x(times(7), times(6), times(5), times(4))};
}

// A group of eight reads from `at`: each read's element counted from the first read's (0 to
// 13), and its weight.
struct Group {
    __m256i places;
    __m256 weights;
};

ZORVANE_WIDE_TARGET inline Group groupAt(std::uint64_t at, const Steps& steps)
{
    // Each read's fixed point from the first read's element: the whole part is its place, the
    // low half its fraction.
    const __m256i fraction = _mm256_set1_epi64x(static_cast<long long>(static_cast<std::uint32_t>(at)));
    const __m256 low = _mm256_castsi256_ps(_mm256_add_epi64(fraction, steps.low));
    const __m256 high = _mm256_castsi256_ps(_mm256_add_epi64(fraction, steps.high));
    const __m256i fractions = _mm256_castps_si256(evens(low, high));
    const __m256i places = _mm256_castps_si256(odds(low, high));
    // The 32-bit fraction's float from its two 16-bit halves: both exact, their sum rounds once
    // to the conversion's value.
    const __m256 upperHalf =
        _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_srli_epi32(fractions, 16)), _mm256_set1_ps(65536.0f));
    const __m256 lowerHalf = _mm256_cvtepi32_ps(_mm256_and_si256(fractions, _mm256_set1_epi32(0xFFFF)));
    return {places, _mm256_mul_ps(_mm256_add_ps(upperHalf, lowerHalf), _mm256_set1_ps(1.0f / 4294967296.0f))};
}

// The elements at `places` (0 to 15) of a window held in two halves: each picked from both, the
// upper taken where bit 3 (moved to the sign) is set.
ZORVANE_WIDE_TARGET inline __m256 windowAt(__m256 lower, __m256 upper, __m256i places)
{
    return _mm256_blendv_ps(_mm256_permutevar8x32_ps(lower, places), _mm256_permutevar8x32_ps(upper, places),
                            _mm256_castsi256_ps(_mm256_slli_epi32(places, 28)));
}

} // namespace windowed_read

#endif
