#pragma once

// CurveShaper's kernels eight samples at a time, for x86 processors with AVX2: the same
// operations in the same order as the plain loops, so the bits are the same. Only AVX2 is
// asked of the compiler for them, never FMA, which would fuse and round differently.

#include "CurveShaper.h"
#include "HermiteSegments.h"
#include "TableSine.h"
#include "TableTanh.h"
#include "WideLoops.h"

#if defined(__i386__) || defined(__x86_64__)
#include <immintrin.h>
#define ZORVANE_WIDE_KERNELS 1
#define ZORVANE_WIDE ZORVANE_WIDE_TARGET
#endif

namespace curve_shaper_wide {

#ifdef ZORVANE_WIDE_KERNELS

// Each lane's coefficient of x^power for its segment (0 to 15): the segment's low three bits
// pick one of each half's eight by a permute, its bit 3 (moved to the sign in `upper`) the half.
ZORVANE_WIDE inline __m256 coefficientOf(const mppi::HermiteSegments& segments, int power, __m256i segment, __m256 upper)
{
    const float* all = segments.coefficients(power);
    return _mm256_blendv_ps(_mm256_permutevar8x32_ps(_mm256_loadu_ps(all), segment),
                            _mm256_permutevar8x32_ps(_mm256_loadu_ps(all + 8), segment), upper);
}

// Segment `segment` at x: Horner's rule on each lane's own segment, its coefficients chosen
// before the arithmetic, so that one evaluation serves both halves of the table.
ZORVANE_WIDE inline __m256 evaluate(const mppi::HermiteSegments& segments, __m256i segment, __m256 x)
{
    const __m256 upper = _mm256_castsi256_ps(_mm256_slli_epi32(segment, 28));
    __m256 y = _mm256_mul_ps(coefficientOf(segments, 3, segment, upper), x);
    y = _mm256_mul_ps(_mm256_add_ps(y, coefficientOf(segments, 2, segment, upper)), x);
    y = _mm256_mul_ps(_mm256_add_ps(y, coefficientOf(segments, 1, segment, upper)), x);
    return _mm256_add_ps(y, coefficientOf(segments, 0, segment, upper));
}

// TableTanh::operator() on eight samples. max and min answer their second operand for NaN, as
// the scalar comparisons do.
ZORVANE_WIDE inline __m256 tanhOf(const TableTanh& table, __m256 u)
{
    u = _mm256_max_ps(u, _mm256_set1_ps(-TableTanh::kHalfRange));
    u = _mm256_min_ps(u, _mm256_set1_ps(TableTanh::kHalfRange));
    const __m256 shifted = _mm256_add_ps(u, _mm256_set1_ps(TableTanh::kHalfRange));
    const __m256i segment =
        _mm256_min_epi32(_mm256_cvttps_epi32(shifted), _mm256_set1_epi32(TableTanh::kLastSegment));
    return evaluate(table.segments(), segment, shifted);
}

// mppi::TableSine::operator() on eight samples.
ZORVANE_WIDE inline __m256 sineOf(const mppi::TableSine& table, __m256 u)
{
    u = _mm256_max_ps(u, _mm256_set1_ps(-mppi::TableSine::kLargestPhase));
    u = _mm256_min_ps(u, _mm256_set1_ps(mppi::TableSine::kLargestPhase));
    // The clamped u is finite, so its floor is the whole part the scalar path finds by
    // truncating and stepping down for negative fractions.
    const __m256i whole = _mm256_cvttps_epi32(_mm256_floor_ps(u));
    const __m256 inPeriod = _mm256_sub_ps(u, _mm256_cvtepi32_ps(_mm256_and_si256(whole, _mm256_set1_epi32(~15))));
    return evaluate(table.segments(), _mm256_and_si256(whole, _mm256_set1_epi32(15)), inPeriod);
}

// A steady term: weight * curve(scale * x).
ZORVANE_WIDE inline __m256 steadyTanh(const TableTanh& table, const CurveShaper::Term& term, __m256 x)
{
    return _mm256_mul_ps(_mm256_set1_ps(term.weight), tanhOf(table, _mm256_mul_ps(_mm256_set1_ps(term.scale), x)));
}

ZORVANE_WIDE inline __m256 steadySine(const mppi::TableSine& table, const CurveShaper::Term& term, __m256 x)
{
    return _mm256_mul_ps(_mm256_set1_ps(term.weight), sineOf(table, _mm256_mul_ps(_mm256_set1_ps(term.scale), x)));
}

// A fading term's weight at positions k: weight + k * slope.
ZORVANE_WIDE inline __m256 weightAt(const CurveShaper::Term& term, __m256 k)
{
    return _mm256_add_ps(_mm256_set1_ps(term.weight), _mm256_mul_ps(k, _mm256_set1_ps(term.slope)));
}

ZORVANE_WIDE inline __m256 fadingTanh(const TableTanh& table, const CurveShaper::Term& term, __m256 k, __m256 x)
{
    return _mm256_mul_ps(weightAt(term, k), tanhOf(table, _mm256_mul_ps(_mm256_set1_ps(term.scale), x)));
}

ZORVANE_WIDE inline __m256 fadingSine(const mppi::TableSine& table, const CurveShaper::Term& term, __m256 k, __m256 x)
{
    return _mm256_mul_ps(weightAt(term, k), sineOf(table, _mm256_mul_ps(_mm256_set1_ps(term.scale), x)));
}

// Shapes the block's whole groups of eight and answers how many samples it shaped. Terms as
// the plain kernel takes them.
template <bool kTanh, bool kSine, bool kFading>
ZORVANE_WIDE int shape(const TableTanh& tanh, const mppi::TableSine& sine, float* block, int frames,
                       const CurveShaper::Term* terms, int start)
{
    const int whole = frames & ~7;
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    for (int i = 0; i < whole; i += 8) {
        const __m256 x = _mm256_loadu_ps(block + i);
        __m256 y;
        if constexpr (!kFading) {
            if constexpr (kTanh && kSine)
                y = _mm256_add_ps(steadyTanh(tanh, terms[0], x), steadySine(sine, terms[1], x));
            else if constexpr (kTanh)
                y = steadyTanh(tanh, terms[0], x);
            else
                y = steadySine(sine, terms[1], x);
        } else {
            const __m256 k = _mm256_cvtepi32_ps(_mm256_add_epi32(_mm256_set1_epi32(start + i), lane));
            if constexpr (kTanh) {
                y = _mm256_add_ps(fadingTanh(tanh, terms[0], k, x), fadingTanh(tanh, terms[1], k, x));
                if constexpr (kSine) {
                    y = _mm256_add_ps(y, fadingSine(sine, terms[2], k, x));
                    y = _mm256_add_ps(y, fadingSine(sine, terms[3], k, x));
                }
            } else {
                y = _mm256_add_ps(fadingSine(sine, terms[2], k, x), fadingSine(sine, terms[3], k, x));
            }
        }
        _mm256_storeu_ps(block + i, y);
    }
    return whole;
}

#else

template <bool kTanh, bool kSine, bool kFading>
int shape(const TableTanh&, const mppi::TableSine&, float*, int, const CurveShaper::Term*, int)
{
    return 0;
}

#endif

} // namespace curve_shaper_wide
