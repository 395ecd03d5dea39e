#pragma once

#include "TempoContext.h"

#include <algorithm>
#include <string>

// Texts of the line and tap times: beats shown through the tempo context in 5 characters, and
// typed times turned back into beats within the class's range.
namespace time_text {

constexpr int kWidth = 5;

inline std::string beatsText(const mppi::TempoContext& tempo, double beats)
{
    return tempo.timeText(tempo.beatsToSeconds(beats), kWidth);
}

inline double parseBeats(const mppi::TempoContext& tempo, const std::string& text, double low, double high,
                         bool& understood)
{
    bool read = false;
    const double seconds = tempo.parseTime(text, read);
    if (!read)
        return 0.0;
    understood = true;
    return std::clamp(tempo.secondsToBeats(seconds), low, high);
}

} // namespace time_text
