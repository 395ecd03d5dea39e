#include "TextFormat.h"

#include "Sys.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cctype>

namespace mppi {

namespace {

// Wide enough for the fixed-point text of any double.
constexpr std::size_t kNumberBufferSize = 512;

bool isSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

} // namespace

std::string formatFixed(double value, int decimals)
{
    char buffer[kNumberBufferSize];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::string formatGeneral(double value)
{
    char buffer[kNumberBufferSize];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::string formatInt(long long value)
{
    return std::to_string(value);
}

std::string cutText(std::string text, std::size_t width)
{
    if (text.size() > width)
        text.resize(width);
    return text;
}

NumberRead readNumber(std::string_view text, std::size_t& pos, double& value)
{
    std::size_t at = pos;
    while (at < text.size() && isSpace(text[at]))
        ++at;
    bool negate = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negate = text[at] == '-';
        ++at;
    }
    // After the sign only a digit, a decimal point or the start of "inf" or "nan" may follow.
    if (at >= text.size())
        return NumberRead::kNone;
    const char first = lower(text[at]);
    if (!(std::isdigit(static_cast<unsigned char>(first)) || first == '.' || first == 'i' || first == 'n'))
        return NumberRead::kNone;
    double read = 0.0;
    const char* begin = text.data() + at;
    const char* end = text.data() + text.size();
    auto result = std::from_chars(begin, end, read, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument)
        return NumberRead::kNone;
    if (result.ec == std::errc::result_out_of_range) {
        // Too small rounds to 0, as "%lf" reads it; too large is not finite.
        const std::string_view digits(begin, static_cast<std::size_t>(result.ptr - begin));
        const std::size_t exponent = digits.find_first_of("eE");
        if (exponent == std::string_view::npos || exponent + 1 >= digits.size() || digits[exponent + 1] != '-')
            return NumberRead::kNotFinite;
        read = 0.0;
    }
    if (!std::isfinite(read))
        return NumberRead::kNotFinite;
    value = negate ? -read : read;
    pos = static_cast<std::size_t>(result.ptr - text.data());
    return NumberRead::kFinite;
}

bool scanNumber(std::string_view text, std::size_t& pos, double& value)
{
    return readNumber(text, pos, value) == NumberRead::kFinite;
}

bool scanNumber(std::string_view text, double& value)
{
    std::size_t pos = 0;
    return scanNumber(text, pos, value);
}

bool containsNoCase(std::string_view haystack, std::string_view needle)
{
    return sys::find_no_case(std::string(needle), std::string(haystack)) >= 0;
}

std::string gainText(double gain)
{
    if (gain > 0.00001)
        return cutText(formatFixed(20.0 * std::log10(gain), 1), 5);
    return "-oo";
}

double parseGain(const std::string& text, double maxGain, bool& understood)
{
    if (containsNoCase("-oo", text)) {
        understood = true;
        return 0.0;
    }
    double decibels = 0.0;
    if (!scanNumber(text, decibels))
        return 0.0;
    understood = true;
    return std::min(std::pow(10.0, decibels / 20.0), maxGain);
}

double parsePercent(const std::string& text, bool& understood)
{
    double percent = 0.0;
    if (!scanNumber(text, percent))
        return 0.0;
    understood = true;
    return std::clamp(percent * 0.01, 0.0, 1.0);
}

std::string percentText(double fraction)
{
    return cutText(formatFixed(100.0 * fraction, 2), 6);
}

} // namespace mppi
