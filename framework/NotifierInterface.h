#pragma once

namespace mppi {

// Base of every object that announces changes; parameters and LFO groups are notifiers.
class NotifierInterface {
public:
    virtual ~NotifierInterface() = default;
};

} // namespace mppi
