#pragma once

#include "ParamPriority.h"

#include <memory>

namespace mppi {

// One priority per host parameter.
class ParamPriorityList {
public:
    // Priorities used across the plug-in.
    static constexpr int kHostAutomation = 100;
    static constexpr int kPresetGlide = 150;
    static constexpr int kProgramChange = 200;

    explicit ParamPriorityList(int count);

    int count() const { return count_; }
    // The priority of parameter `index`, or null outside the list.
    ParamPriority* at(int index);

private:
    int count_;
    std::unique_ptr<ParamPriority[]> priorities_;
};

} // namespace mppi
