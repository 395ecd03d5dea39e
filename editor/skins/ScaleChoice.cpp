#include "ScaleChoice.h"

#include <cmath>

namespace skin_layout {

std::optional<float> ScaleChoice::nearest(double factor)
{
    if (!std::isfinite(factor) || factor <= 0.0)
        return std::nullopt;
    // Halfway points between the scales go to the larger one.
    if (factor < 1.25)
        return 1.0f;
    if (factor < 1.75)
        return 1.5f;
    return 2.0f;
}

float ScaleChoice::scale() const
{
    if (musician_)
        return *musician_;
    if (host_)
        return *host_;
    return system_.value_or(1.0f);
}

} // namespace skin_layout
