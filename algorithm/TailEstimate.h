#pragma once

namespace mppi {
class PluginInternal;
}

// How long the echoes of the current settings take to fall below -90 dBFS after the input
// ends, at most 30 s: what a host is told to keep processing for. Reads the parameters' real
// values from the registry, each LFO at the end of its swing that lengthens the tail, so it
// may overestimate but never cuts an echo of a full-scale input:
//
//   tail = max(latest tap heard dry, latest tap + longest pass + (90 dB + first echo dB) / decay)
//
// The taps' signal reaches the output through "Predly lvl" and the lines through the feedback
// matrix only (a line with no feedback is never heard). Each pass through line i multiplies by
// the mixer's feedback into it and at most by its filter's peak gain; the decay in dB per
// second is the rate at which that loop falls when every pass takes the line's longest time
// (for one line, -20 log10(feedback * filter peak) / time), and no faster than the distortion's
// RMS followers forget while it shapes (86.9 dB/s). A loop that does not fall, or the
// sustain flag, gives 30 s: the distortion stage's RMS ceiling then holds the loop ringing.
// A resonant filter's peak counts even when its LFO sweeps it away before the loop builds up,
// and the high shelf, which only cuts, is left out: both only lengthen the estimate.
//
// Control thread: no allocation, lock or system call.
class TailEstimate {
public:
    static constexpr double kLongestSeconds = 30.0;
    static constexpr double kQuietDecibels = 90.0;

    explicit TailEstimate(const mppi::PluginInternal& params) : params_(params) {}

    double seconds() const;

private:
    double real(int index) const;
    // A modulated parameter's output at the end of its LFO's swing towards `direction` (+1 or
    // -1), as Modifier combines base, oscillator and depth.
    template <class Modifier>
    double swing(int index, double direction) const;
    double beatsToSeconds(double beats) const;

    const mppi::PluginInternal& params_;
};
