#pragma once

// A tap's stereo arithmetic in the lanes of one SSE register: its four gains [ll lr rl rr], a
// stereo frame spread over them, and the left and right outputs in two lanes. Each lane does
// what the scalar expressions do, in their order, so the bits are theirs:
// left += ll * l + rl * r, right += lr * l + rr * r.

#include "TapUnit.h"

#if !defined(__SSE2__)
#error "The taps' lanes need SSE2 (x86-64, or x86 with -msse2)"
#endif
#include <emmintrin.h>

namespace tap_lanes {

inline __m128 gainsOf(const TapUnit::Gains& gains)
{
    return _mm_setr_ps(gains.ll, gains.lr, gains.rl, gains.rr);
}

inline TapUnit::Gains toGains(__m128 lanes)
{
    alignas(16) float values[4];
    _mm_store_ps(values, lanes);
    return {values[0], values[1], values[2], values[3]};
}

// [l r - -] from a frame of the history.
inline __m128 frameOf(const StereoFrame& frame)
{
    return _mm_setr_ps(frame.left, frame.right, 0.0f, 0.0f);
}

// The read at `weight` between two frames: here + (next - here) * weight, per channel.
inline __m128 between(const StereoFrame& here, const StereoFrame& next, float weight)
{
    const __m128 from = frameOf(here);
    return _mm_add_ps(from, _mm_mul_ps(_mm_sub_ps(frameOf(next), from), _mm_set1_ps(weight)));
}

// [ll*l + rl*r, lr*l + rr*r, - -]: what a read [l r - -] adds to the outputs through `gains`.
inline __m128 mixed(__m128 gains, __m128 read)
{
    const __m128 products = _mm_mul_ps(gains, _mm_unpacklo_ps(read, read));
    return _mm_add_ps(products, _mm_movehl_ps(products, products));
}

// The outputs at frame `k` as [left right - -], and back.
inline __m128 outputsAt(const float* left, const float* right, int k)
{
    return _mm_unpacklo_ps(_mm_load_ss(left + k), _mm_load_ss(right + k));
}

inline void storeOutputs(__m128 outputs, float* left, float* right, int k)
{
    _mm_store_ss(left + k, outputs);
    _mm_store_ss(right + k, _mm_shuffle_ps(outputs, outputs, 1));
}

} // namespace tap_lanes
