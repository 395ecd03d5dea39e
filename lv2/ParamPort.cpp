#include "ParamPort.h"

#include "UnitRange.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace lv2port {

namespace {

// Room for the shortest text of any float.
constexpr std::size_t kFloatText = 32;

// The fractions a port value may stand for, by their common denominators: a 128th of a beat
// times 3, 5, 7 or 9, which holds every fraction with a power of two up to 128 below, or that
// times one of those (1/96, 5/384, 3/80).
constexpr double kDenominators[] = {384.0, 640.0, 896.0, 1152.0};

// How many neighbouring floats on each side of the nearest port value are tried.
constexpr int kNeighbours = 64;

// `value` as a float no greater (`down`) or no smaller than it.
float roundedOutward(double value, bool down)
{
    const float nearest = static_cast<float>(value);
    if (down && static_cast<double>(nearest) > value)
        return std::nextafter(nearest, -std::numeric_limits<float>::infinity());
    if (!down && static_cast<double>(nearest) < value)
        return std::nextafter(nearest, std::numeric_limits<float>::infinity());
    return nearest;
}

} // namespace

ParamPort::ParamPort(mppi::NormalizedParamInterface& param, const PortKind& kind) : param_(&param), kind_(&kind)
{
    if (kind.bits > 0) {
        maximum_ = static_cast<float>((1 << kind.bits) - 1);
        return;
    }
    const double low = kind.scale.toPort(param.toReal(0.0f));
    const double high = kind.scale.toPort(param.toReal(1.0f));
    minimum_ = roundedOutward(std::min(low, high), true);
    maximum_ = roundedOutward(std::max(low, high), false);
}

double ParamPort::numberOf(float port)
{
    for (double denominator : kDenominators) {
        const double numerator = std::round(static_cast<double>(port) * denominator);
        if (static_cast<float>(numerator / denominator) == port)
            return numerator / denominator;
    }
    char text[kFloatText];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, port);
    double decimal = port;
    std::from_chars(text, written.ptr, decimal);
    return decimal;
}

float ParamPort::normalizedOf(float port) const
{
    const double held = numberOf(std::clamp(port, minimum_, maximum_));
    return mppi::clampUnit(param_->toNormalized(kind_->scale.toReal(held)));
}

bool ParamPort::takes(float port, float normalized) const
{
    return port >= minimum_ && port <= maximum_ &&
           std::bit_cast<std::uint32_t>(normalizedOf(port)) == std::bit_cast<std::uint32_t>(normalized);
}

std::optional<float> ParamPort::portValueOf(float normalized) const
{
    const double target = std::clamp(kind_->scale.toPort(param_->toReal(normalized)), static_cast<double>(minimum_),
                                     static_cast<double>(maximum_));
    const float nearest = static_cast<float>(target);
    if (takes(nearest, normalized))
        return nearest;
    if (kind_->properties & kInteger)
        return std::nullopt;
    float below = nearest;
    float above = nearest;
    for (int step = 0; step < kNeighbours; ++step) {
        below = std::nextafter(below, -std::numeric_limits<float>::infinity());
        above = std::nextafter(above, std::numeric_limits<float>::infinity());
        if (takes(below, normalized))
            return below;
        if (takes(above, normalized))
            return above;
    }
    return std::nullopt;
}

} // namespace lv2port
