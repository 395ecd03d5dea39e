#pragma once

#include "ParamNumbered.h"

namespace mppi {

// Name prefix of the delay-line parameters: "D1 time", "D2 level".
class ParamDlyMixin : public virtual ParamNumbered {
public:
    std::string namePrefix() const override { return "D"; }
};

} // namespace mppi
