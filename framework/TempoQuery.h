#pragma once

namespace mppi {

// A tempo request from the algorithm to the host services.
struct TempoQuery {
    // Beats per minute, filled when the host's tempo is valid.
    double tempo = 0.0;
    // 1 when the host gave no time information at all.
    unsigned char error = 0;
    // Set by the caller to ask for the tempo; cleared when the host's tempo is not valid.
    unsigned char wanted = 0;
};

} // namespace mppi
