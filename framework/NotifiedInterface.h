#pragma once

namespace mppi {

class NotifierInterface;

// Receiver of change notifications. A notifier holds at most one receiver and does not own it.
class NotifiedInterface {
public:
    virtual ~NotifiedInterface() = default;

    // Called after `source` changed. May run on any thread: implementations only set flags
    // or ramp targets and never recompute anything on the caller's thread.
    virtual void notify(NotifierInterface* source) = 0;
};

} // namespace mppi
