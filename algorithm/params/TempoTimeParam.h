#pragma once

#include "TempoContext.h"

#include <string>

// A time in beats shown in the tempo context's unit, 5 characters wide, and typed in any unit
// the tempo context reads. The derived class gives the curve and the range.
template <class Base>
class TempoTimeParam : public Base {
public:
    static constexpr int kTextWidth = 5;

    explicit TempoTimeParam(const mppi::TempoContext& tempo) : tempo_(tempo) {}

    std::string unitLabel() const override { return tempo_.unitName(); }
    std::string valueText(double real) const override
    {
        return tempo_.timeText(tempo_.beatsToSeconds(real), kTextWidth);
    }

protected:
    // Reads a typed time into beats within [low, high].
    double parseBeats(const std::string& text, double low, double high, bool& understood) const
    {
        return tempo_.parseTimeInBeats(text, low, high, understood);
    }

private:
    const mppi::TempoContext& tempo_;
};
