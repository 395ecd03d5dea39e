#pragma once

namespace mppi {

// A normalized value brought into [0, 1]; NaN becomes 0. Parameter conversions use it so that
// a careless caller can never push a real value outside its class's range.
inline float clampUnit(float normalized)
{
    return normalized > 0.0f ? (normalized < 1.0f ? normalized : 1.0f) : 0.0f;
}

} // namespace mppi
