#include "StageParams.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kFilterTypeNames[] = {"Low-pass", "High-pass", "Resonator", "Band-pass"};

} // namespace

double ParamDlyFiltType::toReal(float normalized) const
{
    return std::floor(3.0 * mppi::clampUnit(normalized) + 0.5);
}

std::string ParamDlyFiltType::valueText(double real) const
{
    return real >= 0.0 && real < 4.0 ? kFilterTypeNames[static_cast<int>(real)] : "";
}

double ParamDlyFiltType::parse(const std::string&, bool&) const
{
    return 0.0;
}

double ParamDlyFiltCutoff::toReal(float normalized) const
{
    return kMin * std::exp2(kOctaves * mppi::clampUnit(normalized));
}

float ParamDlyFiltCutoff::toNormalized(double real) const
{
    return static_cast<float>(std::log2(real / kMin) / kOctaves);
}

std::string ParamDlyFiltCutoff::valueText(double real) const
{
    return algo_text::frequencyText(real);
}

double ParamDlyFiltCutoff::parse(const std::string& text, bool& understood) const
{
    return algo_text::parseClamped(text, kMin, kMax, understood);
}

double ParamDlyFiltReso::toReal(float normalized) const
{
    // Geometric around unity, the middle of the range.
    return std::pow(kMax / kMin, mppi::clampUnit(normalized) - 0.5);
}

float ParamDlyFiltReso::toNormalized(double real) const
{
    return static_cast<float>(std::log(real) / (kOctaves * std::log(2.0)) + 0.5);
}

std::string ParamDlyFiltReso::valueText(double real) const
{
    return mppi::cutText(mppi::formatFixed(20.0 * std::log10(real), 1), 5);
}

double ParamDlyFiltReso::parse(const std::string& text, bool& understood) const
{
    double decibels = 0.0;
    if (!mppi::scanNumber(text, decibels))
        return 0.0;
    understood = true;
    return std::clamp(std::pow(10.0, decibels / 20.0), kMin, kMax);
}

double ParamDlyFiltQ::toReal(float normalized) const
{
    return std::pow(10.0, kDecades * mppi::clampUnit(normalized) + kLowestDecade);
}

float ParamDlyFiltQ::toNormalized(double real) const
{
    return static_cast<float>((std::log10(real) - kLowestDecade) / kDecades);
}

std::string ParamDlyFiltQ::valueText(double real) const
{
    return mppi::cutText(mppi::formatFixed(real, 2), 5);
}

double ParamDlyFiltQ::parse(const std::string& text, bool& understood) const
{
    return algo_text::parseClamped(text, kMin, kMax, understood);
}

std::string ParamDlyDistType::valueText(double real) const
{
    return std::floor(real + 0.5) >= 1.0 ? "Puncher" : "Overdrive";
}

double ParamDlyDistType::parse(const std::string&, bool&) const
{
    return 0.0;
}

double ParamDlyHsCutoff::toReal(float normalized) const
{
    return kMin * std::pow(10.0, kDecades * mppi::clampUnit(normalized));
}

float ParamDlyHsCutoff::toNormalized(double real) const
{
    return static_cast<float>(std::log10(real / kMin) / kDecades);
}

std::string ParamDlyHsCutoff::valueText(double real) const
{
    return algo_text::frequencyText(real);
}

double ParamDlyHsCutoff::parse(const std::string& text, bool& understood) const
{
    return algo_text::parseClamped(text, kMin, kMax, understood);
}

double ParamDlyHsLvl::parse(const std::string& text, bool& understood) const
{
    return mppi::parseGain(text, 1.0, understood);
}
