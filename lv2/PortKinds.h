#pragma once

#include "ParamLayout.h"
#include "PortScale.h"

namespace lv2port {

// Properties of a parameter's control port, as the bundle's description declares them.
enum PortProperty : unsigned {
    // Whole numbers only.
    kInteger = 1u << 0,
    // One of the labelled values only.
    kEnumeration = 1u << 1,
    // A host's control moves it on a logarithmic scale: only where the parameter's curve is a
    // pure exponential with a minimum above 0, so the control's travel is the normalized value.
    kLogarithmic = 1u << 2,
    // Not for a host's automation lanes.
    kNotAutomatic = 1u << 3,
    // Each whole value in the range is labelled with the text the parameter shows for it.
    kLabelled = 1u << 4,
};

struct PortKind {
    // The local name in the LV2 units vocabulary, empty for none.
    const char* unit;
    PortScale scale;
    unsigned properties;
    // A field of this many bits, from 0 to 2^bits - 1; 0 for the range of the parameter's curve.
    int bits;
};

// The port kind of a parameter, by its place in the table.
const PortKind& port_kind(const param_table::Slot& slot);

} // namespace lv2port
