#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Number texts for parameter values. Printing and scanning never depend on the host process's
// locale, so "0.5" reads and prints the same in every host.
namespace mppi {

// As printf "%.<decimals>f".
std::string formatFixed(double value, int decimals);
// As printf "%g".
std::string formatGeneral(double value);
// As printf "%d".
std::string formatInt(long long value);
// The first `width` characters of `text`.
std::string cutText(std::string text, std::size_t width);

enum class NumberRead { kNone, kFinite, kNotFinite };

// Reads one number at `pos` as scanf "%lf" does: leading white space skipped, then an optional
// sign and a decimal number, "inf", "infinity" or "nan". Answers what stood there; `pos` and
// `value` change only for a finite number. A number too large for a double is not finite.
NumberRead readNumber(std::string_view text, std::size_t& pos, double& value);

// Reads one number at `pos` as scanf "%lf" does: leading white space skipped, then an
// optional sign and a decimal number. Answers false, leaving `pos` and `value` unchanged,
// when no number stands there or the number is not finite ("nan", "inf", "1e999").
bool scanNumber(std::string_view text, std::size_t& pos, double& value);
// Reads one number at the start of `text`; see scanNumber.
bool scanNumber(std::string_view text, double& value);

// Whether `needle` occurs in `haystack`, letters compared without regard to case.
bool containsNoCase(std::string_view haystack, std::string_view needle);

// Text of a linear gain in decibels: "%.1f" cut to 5 characters, or "-oo" at or below 1e-5.
std::string gainText(double gain);
// Parses a gain typed in decibels. A text that is a piece of "-oo" (ignoring case, the empty
// text included) is silence, 0. The gain is limited to at most `maxGain`.
double parseGain(const std::string& text, double maxGain, bool& understood);
// Parses a percentage into [0, 1].
double parsePercent(const std::string& text, bool& understood);
// Text of a value in [0, 1] as a percentage: "%.2f" of 100 times it, cut to 6 characters.
std::string percentText(double fraction);

} // namespace mppi
