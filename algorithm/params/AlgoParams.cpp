#include "AlgoParams.h"

#include "ParamTexts.h"

#include <cmath>

namespace {

struct FlagCode {
    ParamFlags::Bit bit;
    const char* set;
    const char* clear;
};

// Shown from bit 6 down to bit 0; bits 4 to 0 show nothing when clear.
constexpr FlagCode kFlagCodes[] = {
    {ParamFlags::kBeatUnit, "BT", "MS"},   {ParamFlags::kTwoLines, "2", "1"},  {ParamFlags::kSustain, "SL", ""},
    {ParamFlags::kMuteLine1, "M1", ""},    {ParamFlags::kMuteLine2, "M2", ""}, {ParamFlags::kClearLine1, "F1", ""},
    {ParamFlags::kClearLine2, "F2", ""},
};

constexpr int kFlagValues = 256;

} // namespace

void ParamFlags::valueChanged()
{
    tempo_.setMode(isSet(real(), kBeatUnit) ? mppi::TempoContext::kBeats : mppi::TempoContext::kSeconds);
}

double ParamFlags::toReal(float normalized) const
{
    const double stepped = std::floor(kFlagValues * static_cast<double>(normalized) + 0.5);
    if (!std::isfinite(stepped))
        return 0.0;
    const double wrapped = std::fmod(stepped, kFlagValues);
    return wrapped < 0.0 ? wrapped + kFlagValues : wrapped;
}

std::string ParamFlags::valueText(double real) const
{
    std::string text;
    for (const FlagCode& code : kFlagCodes) {
        const std::string shown = isSet(real, code.bit) ? code.set : code.clear;
        if (shown.empty())
            continue;
        if (!text.empty())
            text += ' ';
        text += shown;
    }
    return text;
}

double ParamFlags::parse(const std::string&, bool&) const
{
    return 0.0;
}

void ParamTempo::valueChanged()
{
    tempo_.setTempo(real());
}

std::string ParamTempo::valueText(double real) const
{
    return mppi::cutText(mppi::formatFixed(real, 3), 7);
}

double ParamTempo::parse(const std::string& text, bool& understood) const
{
    return algo_text::parseClamped(text, kMin, kMax, understood);
}
