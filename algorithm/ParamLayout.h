#pragma once

#include "ParamIndexes.h"
#include "ParamTable.h"

#include <array>

// What stands at each index of the host parameter table: the row's kind and, for the three
// parameters that follow a modulated row, which part of its LFO. Derived from the rows, in the
// order the blocks register them, for the adapters that describe each parameter to a host.
namespace param_table {

enum class Role { kBase, kLfoPeriod, kLfoDepth, kLfoWaveform };

struct Slot {
    Kind kind;
    Role role;
};

using Layout = std::array<Slot, mppi::kParamCount>;

const Layout& layout();

} // namespace param_table
