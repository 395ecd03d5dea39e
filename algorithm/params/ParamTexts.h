#pragma once

#include <string>

// Texts and parsers shared by several of the algorithm's parameter classes.
namespace algo_text {

// A frequency in Hz: whole hertz ("2500") from 999.5 up, otherwise "%f" cut to 5 ("440.0").
std::string frequencyText(double hertz);
// A pan position: "Mid" near the centre, otherwise "L 50" or "R 100".
std::string panText(double pan);
// Reads a typed pan: a piece of "mid" is the centre; otherwise the number after the later of
// the first "l" and the first "r" is a percentage to that side.
double parsePan(const std::string& text, bool& understood);
// Reads one number, clamped to [low, high].
double parseClamped(const std::string& text, double low, double high, bool& understood);
// A fraction of 1 as a percentage with one decimal, cut to 5 characters.
std::string percentOneDecimalText(double fraction);

} // namespace algo_text
