#pragma once

#if !defined(__SSE2__)
#error "Filters in lanes need SSE2 (x86-64, or x86 with -msse2)"
#endif
#include <emmintrin.h>

namespace mppi {

// Two filters in the lanes [first second - -] of an SSE register, where a lane without a filter
// passes its sample untouched. `Filters` is a lanes class of two filters built from two
// pointers, which takes null for a lane without one and stores nothing back for it. Each lane
// gives what its filter gives alone, or its input.
template <class Filters>
class PassingLanes {
public:
    template <class Filter>
    PassingLanes(Filter* first, Filter* second)
        : filters_(first, second),
          filtering_(_mm_castsi128_ps(_mm_setr_epi32(first ? -1 : 0, second ? -1 : 0, 0, 0))),
          any_(first || second)
    {
    }

    // Whether any lane filters.
    bool filtering() const { return any_; }
    __m128 step(__m128 samples)
    {
        const __m128 filtered = filters_.step(samples);
        return _mm_or_ps(_mm_and_ps(filtering_, filtered), _mm_andnot_ps(filtering_, samples));
    }
    void storeBack() const { filters_.storeBack(); }

private:
    Filters filters_;
    // All ones in the lanes that filter.
    __m128 filtering_;
    bool any_;
};

} // namespace mppi
