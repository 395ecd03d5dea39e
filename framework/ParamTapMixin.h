#pragma once

#include "ParamNumbered.h"

namespace mppi {

// Name prefix of the tap parameters; the blank separates it from the number: "Tap 1 pan".
class ParamTapMixin : public virtual ParamNumbered {
public:
    std::string namePrefix() const override { return "Tap "; }
};

} // namespace mppi
