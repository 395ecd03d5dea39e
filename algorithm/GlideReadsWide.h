#pragma once

// Interpolating reads at gliding positions, for x86 processors with AVX2: a delay line's read
// four samples at a time and four taps' reads side by side, one tap per lane. Each lane does
// the plain loops' operations in their order (the taps' sum too), so the bits are the same.
// Positions are 64-bit fixed point (index above, fraction below), whose integer steps carry
// the fraction exactly as ReadPosition::advance does.

#include "ReadPosition.h"
#include "TapUnit.h"
#include "WideLoops.h"

#include <cstdint>

#if defined(__i386__) || defined(__x86_64__)
#include <immintrin.h>
#define ZORVANE_WIDE_GLIDES 1
#endif

namespace glide_reads_wide {

#ifdef ZORVANE_WIDE_GLIDES

inline long long fixedOf(ReadPosition position)
{
    return static_cast<long long>((static_cast<std::uint64_t>(position.index) << 32) | position.fraction);
}

inline ReadPosition positionOf(std::uint64_t fixed, std::uint32_t mask)
{
    return {static_cast<std::uint32_t>(fixed >> 32) & mask, static_cast<std::uint32_t>(fixed)};
}

// ReadPosition::weight of four fractions: each converted exactly in two 16-bit halves and
// summed with one rounding, as a direct conversion rounds.
ZORVANE_WIDE_TARGET inline __m128 weightsOf(__m128i fractions)
{
    const __m128 high = _mm_cvtepi32_ps(_mm_srli_epi32(fractions, 16));
    const __m128 low = _mm_cvtepi32_ps(_mm_and_si128(fractions, _mm_set1_epi32(0xffff)));
    const __m128 whole = _mm_add_ps(_mm_mul_ps(high, _mm_set1_ps(65536.0f)), low);
    return _mm_mul_ps(whole, _mm_set1_ps(1.0f / 4294967296.0f));
}

// The fractions (low halves) of four fixed-point positions.
ZORVANE_WIDE_TARGET inline __m128i fractionsOf(__m256i positions)
{
    return _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(positions, _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7)));
}

// FilterStage::interpolate's whole groups of four samples; answers how many it read and leaves
// `position` after them.
ZORVANE_WIDE_TARGET inline int interpolate(float* destination, const float* buffer, int frames, std::uint32_t mask,
                                           ReadPosition& position, ReadPosition step)
{
    const int whole = frames & ~3;
    if (whole == 0)
        return 0;
    const long long start = fixedOf(position);
    const long long stride = fixedOf(step);
    __m256i at = _mm256_add_epi64(_mm256_set1_epi64x(start),
                                  _mm256_setr_epi64x(0, stride, 2 * static_cast<long long>(static_cast<std::uint64_t>(stride)),
                                                     3 * static_cast<long long>(static_cast<std::uint64_t>(stride))));
    const __m256i fourSteps = _mm256_set1_epi64x(static_cast<long long>(static_cast<std::uint64_t>(stride) * 4));
    const __m256i indexMask = _mm256_set1_epi64x(mask);
    const __m256i one = _mm256_set1_epi64x(1);
    for (int i = 0; i < whole; i += 4) {
        const __m256i index = _mm256_and_si256(_mm256_srli_epi64(at, 32), indexMask);
        const __m256i nextIndex = _mm256_and_si256(_mm256_add_epi64(index, one), indexMask);
        const __m128 here = _mm256_i64gather_ps(buffer, index, 4);
        const __m128 next = _mm256_i64gather_ps(buffer, nextIndex, 4);
        const __m128 weight = weightsOf(fractionsOf(at));
        _mm_storeu_ps(destination + i, _mm_add_ps(here, _mm_mul_ps(_mm_sub_ps(next, here), weight)));
        at = _mm256_add_epi64(at, fourSteps);
    }
    const std::uint64_t end = static_cast<std::uint64_t>(start) + static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(whole);
    position = positionOf(end, mask);
    return whole;
}

// TapUnit's glide of four taps: gains, steps, positions and strides per tap; the gains and
// positions are left where the taps' reads end.
ZORVANE_WIDE_TARGET inline void renderFourTaps(const StereoFrame* history, std::uint32_t mask, int frames, float* left,
                                               float* right, TapUnit::Gains* gains, const TapUnit::Gains* steps,
                                               ReadPosition* positions, const ReadPosition* strides)
{
    const TapUnit::Gains* g = gains;
    const TapUnit::Gains* s = steps;
    // Lanes 0-3 feed the left output, 4-7 the right: [ll | lr] and [rl | rr] per tap.
    __m256 fromLeft = _mm256_setr_ps(g[0].ll, g[1].ll, g[2].ll, g[3].ll, g[0].lr, g[1].lr, g[2].lr, g[3].lr);
    __m256 fromRight = _mm256_setr_ps(g[0].rl, g[1].rl, g[2].rl, g[3].rl, g[0].rr, g[1].rr, g[2].rr, g[3].rr);
    const __m256 fromLeftStep = _mm256_setr_ps(s[0].ll, s[1].ll, s[2].ll, s[3].ll, s[0].lr, s[1].lr, s[2].lr, s[3].lr);
    const __m256 fromRightStep = _mm256_setr_ps(s[0].rl, s[1].rl, s[2].rl, s[3].rl, s[0].rr, s[1].rr, s[2].rr, s[3].rr);
    __m256i at = _mm256_setr_epi64x(fixedOf(positions[0]), fixedOf(positions[1]), fixedOf(positions[2]),
                                    fixedOf(positions[3]));
    const __m256i stride = _mm256_setr_epi64x(fixedOf(strides[0]), fixedOf(strides[1]), fixedOf(strides[2]),
                                              fixedOf(strides[3]));
    const __m256i indexMask = _mm256_set1_epi64x(mask);
    const __m256i one = _mm256_set1_epi64x(1);
    // A gathered frame pair per lane, [l0 r0 l1 r1 | l2 r2 l3 r3], becomes [l0-l3 | r0-r3].
    const __m256i channels = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const auto* frames64 = reinterpret_cast<const long long*>(history);
    for (int k = 0; k < frames; ++k) {
        const __m256i index = _mm256_and_si256(_mm256_srli_epi64(at, 32), indexMask);
        const __m256i nextIndex = _mm256_and_si256(_mm256_add_epi64(index, one), indexMask);
        const __m256 here = _mm256_permutevar8x32_ps(
            _mm256_castsi256_ps(_mm256_i64gather_epi64(frames64, index, 8)), channels);
        const __m256 next = _mm256_permutevar8x32_ps(
            _mm256_castsi256_ps(_mm256_i64gather_epi64(frames64, nextIndex, 8)), channels);
        const __m128 weight = weightsOf(fractionsOf(at));
        const __m256 read = _mm256_add_ps(here, _mm256_mul_ps(_mm256_sub_ps(next, here), _mm256_set_m128(weight, weight)));
        const __m256 leftRead = _mm256_permute2f128_ps(read, read, 0x00);
        const __m256 rightRead = _mm256_permute2f128_ps(read, read, 0x11);
        const __m256 terms = _mm256_add_ps(_mm256_mul_ps(fromLeft, leftRead), _mm256_mul_ps(fromRight, rightRead));
        fromLeft = _mm256_add_ps(fromLeft, fromLeftStep);
        fromRight = _mm256_add_ps(fromRight, fromRightStep);
        at = _mm256_add_epi64(at, stride);
        // The taps' terms join the outputs one after another, in the taps' order.
        const __m128 toLeft = _mm256_castps256_ps128(terms);
        const __m128 toRight = _mm256_extractf128_ps(terms, 1);
        const __m128 firstPair = _mm_unpacklo_ps(toLeft, toRight);
        const __m128 secondPair = _mm_unpackhi_ps(toLeft, toRight);
        __m128 sum = _mm_unpacklo_ps(_mm_load_ss(left + k), _mm_load_ss(right + k));
        sum = _mm_add_ps(sum, firstPair);
        sum = _mm_add_ps(sum, _mm_movehl_ps(firstPair, firstPair));
        sum = _mm_add_ps(sum, secondPair);
        sum = _mm_add_ps(sum, _mm_movehl_ps(secondPair, secondPair));
        _mm_store_ss(left + k, sum);
        _mm_store_ss(right + k, _mm_shuffle_ps(sum, sum, 1));
    }
    alignas(32) float fromLeftLanes[8];
    alignas(32) float fromRightLanes[8];
    alignas(32) std::uint64_t atLanes[4];
    _mm256_store_ps(fromLeftLanes, fromLeft);
    _mm256_store_ps(fromRightLanes, fromRight);
    _mm256_store_si256(reinterpret_cast<__m256i*>(atLanes), at);
    for (int t = 0; t < 4; ++t) {
        gains[t] = {fromLeftLanes[t], fromLeftLanes[4 + t], fromRightLanes[t], fromRightLanes[4 + t]};
        positions[t] = positionOf(atLanes[t], mask);
    }
}

#endif

} // namespace glide_reads_wide
