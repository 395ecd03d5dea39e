#pragma once

#include "ParamIndexes.h"

#include <array>

namespace lv2port {

// The symbol of each parameter's control port, by parameter index. Made once from the
// parameters' names (lower case, each run of other characters an underscore) and frozen here:
// sessions and presets store them, so a renamed parameter keeps its symbol.
extern const std::array<const char*, mppi::kParamCount> kParamSymbols;

} // namespace lv2port
