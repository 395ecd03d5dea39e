#pragma once

#include "LockFreeAtomics.h"

#include <atomic>

namespace mppi {

// Arbitration of one parameter between host automation, program changes and the editor: a
// lower priority is refused for `hold` seconds after a higher one was taken, unless that one
// was released. Callers on different threads may race; each field is a relaxed atomic.
class ParamPriority {
public:
    static constexpr double kHoldSeconds = 0.5;

    // Whether a change with `priority` at time `now` would be taken; records nothing.
    bool test(int priority, double now) const;
    // Takes the change when the test allows it, recording its time and priority.
    bool accept(int priority, double now);
    // Gives up `priority` if it is the one held.
    void release(int priority);

    int priority() const { return priority_.load(std::memory_order_relaxed); }

private:
    std::atomic<double> lastTime_{0.0};
    std::atomic<int> priority_{0};
};

} // namespace mppi
