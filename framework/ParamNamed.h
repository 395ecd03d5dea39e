#pragma once

#include "NormalizedParamInterface.h"

namespace mppi {

// A parameter whose name is a stored text between a class prefix and a class suffix. The LFO
// parameters store the full name of the parameter they modulate.
class ParamNamed : public NormalizedParamInterface {
public:
    using NormalizedParamInterface::init;

    // As the plain initialisation, and stores the name.
    virtual void init(double defaultReal, int automationLevel, const std::string& storedName);
    virtual std::string namePrefix() const { return {}; }
    virtual std::string nameSuffix() const = 0;

    std::string name() const override { return namePrefix() + storedName_ + nameSuffix(); }

private:
    std::string storedName_;
};

} // namespace mppi
