#include "TempoContext.h"

#include "TextFormat.h"

#include <algorithm>
#include <cmath>

namespace mppi {

namespace {

// Denominators tried, in order, when a fraction of a beat is shown.
constexpr int kDenominators[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 20, 24, 32, 48, 64};

// Keeps values that are exact in theory from falling just below a whole number.
constexpr double kRoundingNudge = 1.00001;

// Beat texts print their whole part with "%d"; larger values print with "%g".
constexpr double kLargestWholeBeats = 1e9;

// Longest run of separators between the numbers of a beat text.
constexpr std::size_t kMaxSeparatorRun = 15;

bool isBeatSeparator(char c)
{
    return c == '/' || c == ' ';
}

} // namespace

void TempoContext::setTempo(double beatsPerMinute)
{
    if (std::isfinite(beatsPerMinute) && beatsPerMinute > 0.0)
        tempo_.store(beatsPerMinute, std::memory_order_relaxed);
}

std::string TempoContext::unitName() const
{
    switch (mode()) {
    case kSeconds: return "s";
    case kBeats: return "beat";
    case kMilliseconds: return "ms";
    default: return {};
    }
}

std::string TempoContext::timeText(double seconds, int width) const
{
    const std::size_t cut = width > 0 ? static_cast<std::size_t>(width) : 0;
    switch (mode()) {
    case kBeats: return cutText(beatText(secondsToBeats(seconds) * kRoundingNudge, width), cut);
    case kMilliseconds: return cutText(formatGeneral(seconds * 1000.0 * kRoundingNudge), cut);
    default: return cutText(formatGeneral(seconds * kRoundingNudge), cut);
    }
}

std::string TempoContext::beatText(double beats, int width) const
{
    if (!std::isfinite(beats) || std::fabs(beats) > kLargestWholeBeats)
        return formatGeneral(beats);

    const double wholeBeats = std::floor(beats);
    const long long whole = static_cast<long long>(wholeBeats);
    std::string text = whole >= 1 ? formatInt(whole) : std::string();
    const int printed = static_cast<int>(text.size());

    // Digits left for the numerator and for the denominator.
    const int digits = (width - printed - 1) / 2;
    if (digits <= 0)
        return width < printed ? std::string() : text;

    const double fraction = beats - wholeBeats;
    double bestError = 1.0;
    int bestDenominator = 1;
    long long bestNumerator = 0;
    for (int denominator : kDenominators) {
        if (digits == 1 && denominator >= 10)
            break;
        const long long numerator = static_cast<long long>(std::floor(denominator * fraction + 0.5));
        const double error = std::fabs(fraction - static_cast<double>(numerator) / denominator);
        if (error < bestError) {
            bestError = error;
            bestDenominator = denominator;
            bestNumerator = numerator;
            if (digits > 1 && denominator > 15 && denominator < 2 * numerator)
                break;
        }
    }

    if (whole < 1 && bestNumerator == 0)
        return "0";
    if (bestNumerator == bestDenominator)
        return formatInt(whole + 1);
    if (bestNumerator > 0) {
        const std::string ratio = formatInt(bestNumerator) + "/" + formatInt(bestDenominator);
        return whole >= 1 ? text + " " + ratio : ratio;
    }
    return text;
}

double TempoContext::parseTime(const std::string& text, bool& understood) const
{
    understood = true;
    int readMode = mode();
    if (containsNoCase(text, "ms"))
        readMode = kMilliseconds;
    else if (containsNoCase(text, "s"))
        readMode = kSeconds;

    if (readMode == kBeats)
        return parseBeats(text, understood);

    double number = 0.0;
    if (!scanNumber(text, number) || number < 0.0) {
        understood = false;
        return 0.0;
    }
    return readMode == kMilliseconds ? number * 0.001 : number;
}

double TempoContext::parseTimeInBeats(const std::string& text, double low, double high, bool& understood) const
{
    bool read = false;
    const double seconds = parseTime(text, read);
    if (!read)
        return 0.0;
    understood = true;
    return std::clamp(secondsToBeats(seconds), low, high);
}

double TempoContext::parseBeats(const std::string& text, bool& understood) const
{
    // Up to three numbers separated by runs of slashes and blanks, as "%lf%15[/ ]%lf%15[/ ]%lf"
    // reads them; `items` counts the numbers and separators read.
    auto refuse = [&understood] {
        understood = false;
        return 0.0;
    };
    double numbers[3] = {0.0, 0.0, 0.0};
    int items = 0;
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            std::size_t run = 0;
            while (pos + run < text.size() && run < kMaxSeparatorRun && isBeatSeparator(text[pos + run]))
                ++run;
            if (run == 0)
                break;
            pos += run;
            ++items;
        }
        const NumberRead read = readNumber(text, pos, numbers[i]);
        if (read == NumberRead::kNotFinite)
            return refuse();
        if (read == NumberRead::kNone)
            break;
        if (numbers[i] < 0.0)
            return refuse();
        ++items;
    }

    auto tooSmall = [](double divisor) { return std::fabs(divisor) < 1e-9; };
    double beats = 0.0;
    switch (items) {
    case 1:
    case 2: beats = numbers[0]; break;
    case 3:
    case 4:
        if (tooSmall(numbers[1]))
            return refuse();
        beats = numbers[0] / numbers[1];
        break;
    case 5:
        if (tooSmall(numbers[2]))
            return refuse();
        beats = numbers[0] + numbers[1] / numbers[2];
        break;
    default: return refuse();
    }
    if (!std::isfinite(beats))
        return refuse();
    return beatsToSeconds(beats);
}

} // namespace mppi
