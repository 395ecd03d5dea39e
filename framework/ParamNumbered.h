#pragma once

#include "NormalizedParamInterface.h"

namespace mppi {

// A parameter of one numbered unit (delay line or tap). Its name is the class prefix, the
// unit number counted from 1 and the class suffix: "D1 fdbk", "Tap 3 time".
class ParamNumbered : public NormalizedParamInterface {
public:
    using NormalizedParamInterface::init;

    // As the plain initialisation, and stores the zero-based unit number.
    virtual void init(double defaultReal, int automationLevel, int unitNumber);
    virtual int unitNumber() const { return unitNumber_; }
    virtual std::string namePrefix() const = 0;
    virtual std::string nameSuffix() const = 0;

    std::string name() const override;

private:
    int unitNumber_ = 0;
};

} // namespace mppi
