#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <time.h>

// The share of one core that a benchmark's iteration costs when it runs `perSecond` times a
// second, in percent: the benchmark thread's CPU time from construction, per iteration.
class CoreShare {
public:
    CoreShare() : start_(threadSeconds()) {}

    benchmark::Counter percent(const benchmark::State& state, double perSecond) const
    {
        const double perIteration = (threadSeconds() - start_) / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
        return benchmark::Counter(100.0 * perIteration * perSecond);
    }

private:
    static double threadSeconds()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
    }

    double start_;
};
