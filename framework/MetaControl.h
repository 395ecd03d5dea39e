#pragma once

#include "LockFreeAtomics.h"

#include <atomic>

namespace mppi {

class ListenerBase;

// The editor's entry for one parameter index: the listener that binds the parameter to its
// control. A change of the parameter may be reported on any thread (hosts automate from their
// audio thread), but controls belong to the editor's thread: the change is recorded here and
// shown when the editor applies what is pending, on its own thread. Only the last value of a
// burst is shown; none is lost.
class MetaControl {
public:
    MetaControl() = default;
    MetaControl(const MetaControl&) = delete;
    MetaControl& operator=(const MetaControl&) = delete;

    // Editor thread, while the editor is built.
    void bind(ListenerBase* listener) { listener_ = listener; }
    ListenerBase* listener() const { return listener_; }

    // Any thread: the parameter took `normalized` with `priority`. Never blocks or allocates.
    void record(float normalized, int priority);
    bool pending() const { return dirty_.load(std::memory_order_acquire); }
    // Editor thread: shows the recorded change on the control; answers whether one was pending.
    bool applyRecorded();
    // Editor thread: shows a change now; answers whether a control took it.
    bool show(double normalized, int priority);
    // Editor thread: shows the parameter's current value, with priority 1. A recorded change
    // stays pending: a change of higher priority may refuse the refresh.
    void refresh();

private:
    ListenerBase* listener_ = nullptr;
    std::atomic<float> value_{0.0f};
    std::atomic<int> priority_{0};
    std::atomic<bool> dirty_{false};
};

} // namespace mppi
