#pragma once

#include <stdexcept>

namespace mppi {

// How many octaves `ratio` spans, at compile time, for the exponential curves whose limits are
// powers of two apart; a ratio that is no power of two does not compile.
constexpr double octavesIn(double ratio)
{
    double octaves = 0.0;
    while (ratio > 1.0) {
        ratio /= 2.0;
        octaves += 1.0;
    }
    while (ratio < 1.0) {
        ratio *= 2.0;
        octaves -= 1.0;
    }
    if (ratio != 1.0)
        throw std::logic_error("not a power of two");
    return octaves;
}

} // namespace mppi
