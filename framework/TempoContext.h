#pragma once

#include "LockFreeAtomics.h"

#include <atomic>
#include <string>

namespace mppi {

// The tempo and the time-display mode shared by every time-valued parameter. Times are stored
// in beats; seconds = beats * 60 / tempo. Written by the "Tempo" and "Flags" hooks on any
// thread, read by the audio thread, hence relaxed atomics.
class TempoContext {
public:
    enum Mode { kSeconds = 0, kBeats = 1, kMilliseconds = 2 };

    TempoContext() = default;
    TempoContext(int mode, double beatsPerMinute) : mode_(mode) { setTempo(beatsPerMinute); }

    void setMode(int mode) { mode_.store(mode, std::memory_order_relaxed); }
    int mode() const { return mode_.load(std::memory_order_relaxed); }
    // A tempo that is not finite and positive is ignored, so conversions stay finite.
    void setTempo(double beatsPerMinute);
    double tempo() const { return tempo_.load(std::memory_order_relaxed); }

    // "s", "beat" or "ms" for the current mode.
    std::string unitName() const;
    double beatsToSeconds(double beats) const { return beats * 60.0 / tempo(); }
    double secondsToBeats(double seconds) const { return seconds * tempo() / 60.0; }

    // Text of a time in seconds, shown in the current mode in at most `width` characters:
    // "%g" seconds or milliseconds, or beats as a whole number and a fraction ("1 1/2").
    std::string timeText(double seconds, int width) const;
    // Reads a typed time and answers seconds. A text containing "ms" is milliseconds, else one
    // containing "s" is seconds, else it is read in the current mode; beats may be typed as
    // "3", "3/4" or "1 1/2". Sets `understood` to whether the text was read; negative numbers,
    // non-finite numbers and divisors near 0 are refused.
    double parseTime(const std::string& text, bool& understood) const;

    // Reads a typed time, as parseTime does, into beats within [low, high]. On success sets
    // `understood`; on failure leaves it untouched.
    double parseTimeInBeats(const std::string& text, double low, double high, bool& understood) const;

private:
    std::string beatText(double beats, int width) const;
    double parseBeats(const std::string& text, bool& understood) const;

    std::atomic<int> mode_{kMilliseconds};
    std::atomic<double> tempo_{120.0};
};

} // namespace mppi
