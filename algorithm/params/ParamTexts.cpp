#include "ParamTexts.h"

#include "TextFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace algo_text {

namespace {

// Position of the first `letter` in `text`, either case; npos when there is none.
std::size_t findLetter(const std::string& text, char letter)
{
    auto found = std::find_if(text.begin(), text.end(), [letter](char c) {
        return std::tolower(static_cast<unsigned char>(c)) == letter;
    });
    return found == text.end() ? std::string::npos : static_cast<std::size_t>(found - text.begin());
}

} // namespace

std::string frequencyText(double hertz)
{
    if (hertz >= 999.5)
        return mppi::cutText(mppi::formatInt(static_cast<long long>(std::floor(hertz + 0.5))), 5);
    return mppi::cutText(mppi::formatFixed(hertz, 6), 5);
}

std::string panText(double pan)
{
    if (std::fabs(pan) <= 0.005)
        return "Mid";
    const long long percent = static_cast<long long>(std::floor(100.0 * std::fabs(pan) + 0.5));
    return (pan > 0.0 ? "R " : "L ") + mppi::formatInt(percent);
}

double parsePan(const std::string& text, bool& understood)
{
    if (mppi::containsNoCase("mid", text)) {
        understood = true;
        return 0.0;
    }
    const std::size_t left = findLetter(text, 'l');
    const std::size_t right = findLetter(text, 'r');
    if (left == std::string::npos && right == std::string::npos)
        return 0.0;
    const bool toLeft = right == std::string::npos || (left != std::string::npos && left > right);
    std::size_t pos = (toLeft ? left : right) + 1;
    double percent = 0.0;
    if (!mppi::scanNumber(text, pos, percent))
        return 0.0;
    understood = true;
    return std::clamp((toLeft ? -percent : percent) * 0.01, -1.0, 1.0);
}

double parseClamped(const std::string& text, double low, double high, bool& understood)
{
    double value = 0.0;
    if (!mppi::scanNumber(text, value))
        return 0.0;
    understood = true;
    return std::clamp(value, low, high);
}

std::string percentOneDecimalText(double fraction)
{
    return mppi::cutText(mppi::formatFixed(100.0 * fraction, 1), 5);
}

} // namespace algo_text
