#pragma once

// Loops compiled twice: for the AVX2 units of processors that have them, and for the baseline
// instruction set. A loop is a lambda marked ZORVANE_WIDE_LOOP, so that it is compiled inside
// each variant. Element-wise arithmetic gives the same bits at every vector width (floating
// sums are never reordered and FMA is never asked for), so the path taken changes only speed.

#if defined(__i386__) || defined(__x86_64__)
#define ZORVANE_WIDE_TARGET __attribute__((target("avx2")))
#define ZORVANE_WIDE_LOOP __attribute__((always_inline))
#else
#define ZORVANE_WIDE_TARGET
#define ZORVANE_WIDE_LOOP
#endif

#include <atomic>

namespace mppi::wide_loops {

namespace detail {
extern std::atomic<bool> wideEnabled;
} // namespace detail

// Whether the processor and the system (which must save the wide registers) support AVX2.
bool available();
// Whether the wide variants run: available, and not turned off. Any thread; no system call.
inline bool enabled()
{
    return detail::wideEnabled.load(std::memory_order_relaxed);
}
// Turns the wide variants off (or back on where available), for every loop and every shaper
// built afterwards: tests compare the two paths' bits with it. Not while audio runs.
void setEnabled(bool enabled);

template <class Loop>
ZORVANE_WIDE_TARGET void runWide(const Loop& loop)
{
    loop();
}

// Runs `loop` in the variant the processor takes.
template <class Loop>
inline void run(const Loop& loop)
{
    if (enabled())
        runWide(loop);
    else
        loop();
}

} // namespace mppi::wide_loops
