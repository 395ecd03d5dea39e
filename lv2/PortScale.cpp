#include "PortScale.h"

#include <algorithm>
#include <cmath>

namespace lv2port {

double PortScale::toReal(double port) const
{
    switch (kind_) {
    case kPercent: return port / 100.0;
    case kDecibels: return port <= kSilenceDecibels ? 0.0 : std::pow(10.0, port / 20.0);
    case kPlain: break;
    }
    return port;
}

double PortScale::toPort(double real) const
{
    switch (kind_) {
    case kPercent: return real * 100.0;
    case kDecibels: return real > 0.0 ? std::max(20.0 * std::log10(real), kSilenceDecibels) : kSilenceDecibels;
    case kPlain: break;
    }
    return real;
}

} // namespace lv2port
