#include "TurtleText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace turtle {

std::string number(float value)
{
    if (!std::isfinite(value))
        throw std::runtime_error("a port value that is not finite");
    char buffer[32];
    const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, written.ptr);
    // Shortest form that reads back exactly; without a point or exponent Turtle reads an integer.
    if (text.find_first_of(".e") == std::string::npos)
        text += ".0";
    return text;
}

std::string quoted(const std::string& text)
{
    std::string result = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            result += '\\';
        result += c;
    }
    return result + "\"";
}

std::string slug(const std::string& name)
{
    std::string result;
    bool gap = false;
    for (unsigned char c : name) {
        if (std::isalnum(c)) {
            if (gap && !result.empty())
                result += '-';
            result += static_cast<char>(std::tolower(c));
            gap = false;
        } else {
            gap = true;
        }
    }
    return result;
}

} // namespace turtle
