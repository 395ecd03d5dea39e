#pragma once

#include "NormalizedParamInterface.h"
#include "TempoContext.h"

#include <memory>
#include <vector>

namespace mppi {

// The parameter registry. The order in which parameters are added is their index: the host's
// parameter number and the position of the value in a program.
class PluginInternal {
public:
    virtual ~PluginInternal() = default;

    // Appends a parameter; it keeps its registry index for the life of the plug-in.
    virtual void addParam(std::shared_ptr<NormalizedParamInterface> param);
    // The tempo and time-display mode shared by every time-valued parameter.
    virtual TempoContext& tempoContext() { return tempo_; }

    int registeredCount() const { return static_cast<int>(params_.size()); }
    // The parameter at `index`, or null for an index outside the registry.
    NormalizedParamInterface* registered(int index) const;

private:
    std::vector<std::shared_ptr<NormalizedParamInterface>> params_;
    TempoContext tempo_;
};

} // namespace mppi
