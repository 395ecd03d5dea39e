#pragma once

// The signal path's control rate: parameters, LFOs and glides take new values once per control
// block of this many samples and ramp between them, and no processing piece is longer.
inline constexpr int kControlBlock = 256;
