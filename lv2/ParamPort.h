#pragma once

#include "NormalizedParamInterface.h"
#include "PortKinds.h"

#include <optional>

namespace lv2port {

// One parameter as an LV2 control port: the port's range in the unit a musician reads, and the
// conversions between port values and the parameter's normalized values, which the VST 2
// interface and the stored programs carry.
class ParamPort {
public:
    ParamPort(mppi::NormalizedParamInterface& param, const PortKind& kind);

    mppi::NormalizedParamInterface& param() const { return *param_; }
    const PortKind& kind() const { return *kind_; }
    // The range as floats, widened to hold both ends of the parameter's curve.
    float minimum() const { return minimum_; }
    float maximum() const { return maximum_; }

    // The normalized value a port value stands for, the port value held within the range. Any
    // thread: no allocation.
    float normalizedOf(float port) const;
    // The number a port value stands for, as the programs were written: the simplest fraction
    // that gives that float (1/96 beat), else the shortest decimal that does, the number a host
    // shows and a musician types (102.7 BPM is 102.7, not the float next to it).
    static double numberOf(float port);
    // The port value from which normalizedOf gives back exactly `normalized`, found next to
    // the parameter's real value; none when no float in the range does.
    std::optional<float> portValueOf(float normalized) const;

private:
    bool takes(float port, float normalized) const;

    mppi::NormalizedParamInterface* param_;
    const PortKind* kind_;
    float minimum_ = 0.0f;
    float maximum_ = 0.0f;
};

} // namespace lv2port
