#pragma once

#include "ParamNamed.h"
#include "TempoContext.h"
#include "UnitRange.h"
#include "ParamCurves.h"

#include <cmath>

namespace mppi {

// LFO period in beats, 1/64 to 256 on an exponential scale, shown and typed in the time unit
// of the shared tempo context. `Sync` 1 is the tempo-synchronised period, the only kind.
template <int Sync>
class ParamLfoPer : public ParamNamed {
    static_assert(Sync == 1, "LFO periods are tempo-synchronised");

public:
    static constexpr double kMinBeats = 1.0 / 64.0;
    static constexpr double kMaxBeats = 256.0;
    // Characters of the value text.
    static constexpr int kTextWidth = 6;

    explicit ParamLfoPer(const TempoContext& tempo) : tempo_(tempo) {}

    std::string nameSuffix() const override { return " LFO period"; }
    std::string unitLabel() const override { return tempo_.unitName(); }
    // Exponential: the normalized range covers the octaves from the shortest to the longest.
    static constexpr double kLowestOctave = octavesIn(kMinBeats);
    static constexpr double kOctaves = octavesIn(kMaxBeats / kMinBeats);

    double toReal(float normalized) const override { return std::exp2(kOctaves * clampUnit(normalized) + kLowestOctave); }
    float toNormalized(double real) const override
    {
        return static_cast<float>((std::log2(real) - kLowestOctave) / kOctaves);
    }
    std::string valueText(double real) const override
    {
        return tempo_.timeText(tempo_.beatsToSeconds(real), kTextWidth);
    }
    double parse(const std::string& text, bool& understood) const override
    {
        return tempo_.parseTimeInBeats(text, kMinBeats, kMaxBeats, understood);
    }

private:
    const TempoContext& tempo_;
};

} // namespace mppi
