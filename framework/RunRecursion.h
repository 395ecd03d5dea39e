#pragma once

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

// Two filters' recursions over two blocks in one pass, so that they overlap. Each filter's
// samples are the ones it gives alone.
template <class Running, class Filter>
void runRecursions(Filter& first, float* firstBlock, Filter& second, float* secondBlock, int frames)
{
    Running a(first);
    Running b(second);
    for (int i = 0; i < frames; ++i) {
        firstBlock[i] = a.step(firstBlock[i]);
        secondBlock[i] = b.step(secondBlock[i]);
    }
    a.storeTo(first);
    b.storeTo(second);
}

} // namespace mppi
