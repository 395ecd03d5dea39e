#pragma once

#if !defined(__SSE2__)
#error "Two filters in lanes need SSE2 (x86-64, or x86 with -msse2)"
#endif
#include <emmintrin.h>

namespace mppi {

// Runs a filter's recursion over a block through `Running`, which holds the filter's
// coefficients and state in locals: constructed from the filter, `step` per sample, `storeTo`
// to write the state back. Locals cannot alias the block, so they stay in registers.
template <class Running, class Filter>
void runRecursion(Filter& filter, float* block, int frames)
{
    Running running(filter);
    for (int i = 0; i < frames; ++i)
        block[i] = running.step(block[i]);
    running.storeTo(filter);
}

// Two filters' recursions over two blocks in one pass, one filter per lane of an SSE register
// through `Lanes`: constructed from pointers to both filters, `step` per
// pair of samples [first second - -], `storeBack` to write both states back. Each lane does the single filter's operations, so each
// filter's samples are the ones it gives alone.
template <class Lanes, class Filter>
void runRecursions(Filter& first, float* firstBlock, Filter& second, float* secondBlock, int frames)
{
    Lanes lanes(&first, &second);
    for (int i = 0; i < frames; ++i) {
        const __m128 y = lanes.step(_mm_unpacklo_ps(_mm_load_ss(firstBlock + i), _mm_load_ss(secondBlock + i)));
        _mm_store_ss(firstBlock + i, y);
        _mm_store_ss(secondBlock + i, _mm_shuffle_ps(y, y, 1));
    }
    lanes.storeBack();
}

} // namespace mppi
