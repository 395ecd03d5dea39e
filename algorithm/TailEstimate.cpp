#include "TailEstimate.h"

#include "Algo.h"
#include "Biquad.h"
#include "DelayLine.h"
#include "DistortionStage.h"
#include "FilterStage.h"
#include "LfoGenerator.h"
#include "ParamIndexes.h"
#include "ParamTable.h"
#include "PluginInternal.h"
#include "TapUnit.h"
#include "params/AlgoParams.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace {

using param_table::Row;

// Registry offset of `row` within its block: a modulated row takes four places, its base and
// its LFO's period, depth and waveform.
template <std::size_t N>
constexpr int offsetOf(const Row (&rows)[N], std::size_t row)
{
    int offset = 0;
    for (std::size_t i = 0; i < row; ++i)
        offset += rows[i].modulated ? 4 : 1;
    return offset;
}

template <std::size_t N>
constexpr int sizeOf(const Row (&rows)[N])
{
    return offsetOf(rows, N);
}

// Every LFO waveform stays within [-1, 1] but the brown noise, whose standard deviation is
// about 0.72: its swing is taken as 4, beyond five deviations.
constexpr double kBrownNoiseReach = 4.0;

// After a modulated base: its LFO's depth and waveform.
constexpr int kLfoDepth = 2;
constexpr int kLfoWaveform = 3;

constexpr int kDryLevel = offsetOf(param_table::kGlobalRows, param_table::kDryLvlRow);
constexpr int kSeparation = offsetOf(param_table::kGlobalRows, param_table::kFdbkSeparationRow);
// A line's filter, distortion and shelf rows follow its own.
constexpr int kFilterOffset = sizeOf(param_table::kLineRows);
constexpr int kDistortionOffset = kFilterOffset + sizeOf(param_table::kFilterRows);
static_assert(sizeOf(param_table::kGlobalRows) == mppi::kFirstTapParam);
static_assert(sizeOf(param_table::kTapRows) == mppi::kTapParams);
static_assert(kDistortionOffset + sizeOf(param_table::kDistortionRows) + sizeOf(param_table::kShelfRows) ==
              mppi::kLineParams);

constexpr int tapParam(int tap, param_table::TapRow row)
{
    return mppi::kFirstTapParam + tap * mppi::kTapParams + offsetOf(param_table::kTapRows, row);
}

constexpr int lineParam(int line, int offset)
{
    return mppi::kFirstLineParam + line * mppi::kLineParams + offset;
}

constexpr int lineRow(int line, param_table::LineRow row)
{
    return lineParam(line, offsetOf(param_table::kLineRows, row));
}

constexpr int filterRow(int line, param_table::FilterRow row)
{
    return lineParam(line, kFilterOffset + offsetOf(param_table::kFilterRows, row));
}

constexpr int distortionRow(int line, param_table::DistortionRow row)
{
    return lineParam(line, kDistortionOffset + offsetOf(param_table::kDistortionRows, row));
}

// While the distortion shapes, its make-up gain holds the loop's RMS level to the level its
// followers saw, so the loop falls no faster than they forget: their power falls by e every
// time constant, the level at half that rate.
constexpr double kFollowerDecibelsPerSecond =
    20.0 / std::numbers::ln10 / (2.0 * static_cast<double>(DistortionStage::kFollowerSeconds));

// The largest gain of the filter over all frequencies: the analog prototype's peak, which the
// bilinear transform keeps (it maps the whole frequency axis below the Nyquist frequency).
double filterPeakGain(int type, double resonance)
{
    switch (type) {
    case Biquad::kLowPass:
    case Biquad::kHighPass:
        // 1 / |1 - w^2 + j w / R| peaks at R / sqrt(1 - 1 / 4R^2) when R^2 > 1/2, else at 1.
        return resonance * resonance > 0.5 ? resonance / std::sqrt(1.0 - 1.0 / (4.0 * resonance * resonance)) : 1.0;
    case Biquad::kBandPass: return resonance;
    default: return std::max(resonance, 1.0);
    }
}

// The Perron root of a non-negative 2 x 2 matrix: its largest eigenvalue.
double perronRoot(const double m[2][2])
{
    const double half = (m[0][0] - m[1][1]) / 2.0;
    return (m[0][0] + m[1][1]) / 2.0 + std::sqrt(half * half + m[0][1] * m[1][0]);
}

// The loop of the delay lines: gain[i][j] carries line j's output to line i's output through
// one pass of line i, which takes seconds[i].
struct Loop {
    double gain[2][2] = {};
    double seconds[2] = {};

    // The Perron root of the gains with each pass through line i weighted by e^(-rate T_i).
    double rootAt(double rate) const
    {
        double weighted[2][2];
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                weighted[i][j] = gain[i][j] > 0.0 ? gain[i][j] * std::exp(-rate * seconds[i]) : 0.0;
        return perronRoot(weighted);
    }

    // For a loop whose Perron root is in (0, 1): its envelope's rate in nepers per second
    // (negative), where the weighted root is 1. Each single line's and the two lines' round
    // trip reach a root of 1 at a rate of their own, log(gain) / time; the loop's lies between
    // the largest of those and 0.
    double decayRate() const
    {
        double low = -HUGE_VAL;
        for (int i = 0; i < 2; ++i)
            if (gain[i][i] > 0.0)
                low = std::max(low, std::log(gain[i][i]) / seconds[i]);
        if (gain[0][1] > 0.0 && gain[1][0] > 0.0)
            low = std::max(low, std::log(gain[0][1] * gain[1][0]) / (seconds[0] + seconds[1]));
        double high = 0.0;
        for (int step = 0; step < 64; ++step) {
            const double middle = (low + high) / 2.0;
            (rootAt(middle) >= 1.0 ? low : high) = middle;
        }
        return high;
    }
};

} // namespace

double TailEstimate::real(int index) const
{
    return params_.registered(index)->real();
}

template <class Modifier>
double TailEstimate::swing(int index, double direction) const
{
    const double base = real(index);
    const double depth = real(index + kLfoDepth);
    if (!(depth > 0.0))
        return base;
    const bool brown = mppi::LfoGenerator::typeOf(real(index + kLfoWaveform)) == mppi::LfoGenerator::kBrownNoise;
    return Modifier::apply(base, direction * (brown ? kBrownNoiseReach : 1.0), depth);
}

double TailEstimate::beatsToSeconds(double beats) const
{
    return beats * 60.0 / real(mppi::kTempoIndex);
}

double TailEstimate::seconds() const
{
    const double flags = real(mppi::kFlagsIndex);
    const bool twoLines = ParamFlags::isSet(flags, ParamFlags::kTwoLines);
    const bool sustain = ParamFlags::isSet(flags, ParamFlags::kSustain);
    const bool mute[] = {ParamFlags::isSet(flags, ParamFlags::kMuteLine1),
                         ParamFlags::isSet(flags, ParamFlags::kMuteLine2)};

    // Each tap passes at most its level of either input channel to either side, so a
    // full-scale input puts at most twice the levels' sum into a line.
    double tapLevels = 0.0;
    double latestTap = 0.0;
    for (int tap = 0; tap < mppi::kTaps; ++tap) {
        const double level = swing<TapUnit::LvlModifier>(tapParam(tap, param_table::kTapLvlRow), 1.0);
        if (!(level > 0.0))
            continue;
        tapLevels += level;
        const double time = swing<TapUnit::TimeModifier>(tapParam(tap, param_table::kTapTimeRow), 1.0);
        latestTap = std::max(latestTap, beatsToSeconds(time));
    }
    if (tapLevels == 0.0)
        return 0.0;
    // Sustain takes the taps out of the output and out of the lines, which keep what they hold.
    double tail = !sustain && real(kDryLevel) > 0.0 ? latestTap : 0.0;

    const int lines = twoLines ? 2 : 1;
    // route[j][i]: the mixer's feedback from line j's output into line i's input, each entry at
    // its largest over the feedback's and the separation's swings.
    double route[2][2] = {};
    double level[2] = {};
    double peak[2] = {};
    double longest[2] = {};
    bool shapes[2] = {};
    const double separationLow = swing<Algo::FdbkSepModifier>(kSeparation, -1.0);
    const double separationHigh = swing<Algo::FdbkSepModifier>(kSeparation, 1.0);
    for (int line = 0; line < lines; ++line) {
        const double feedback = sustain ? 1.0 : swing<DelayLine::FdbkModifier>(lineRow(line, param_table::kDlyFdbkRow), 1.0);
        if (twoLines) {
            route[line][line] = (1.0 - separationLow) * feedback;
            route[line][1 - line] = separationHigh * feedback;
        } else {
            route[line][line] = feedback;
        }
        level[line] = mute[line] ? 0.0 : real(lineRow(line, param_table::kDlyLvlRow));
        const int type = static_cast<int>(std::floor(real(filterRow(line, param_table::kFiltTypeRow)) + 0.5));
        const double resonance = swing<FilterStage::ResoModifier>(filterRow(line, param_table::kFiltResoRow), 1.0);
        peak[line] = filterPeakGain(type, resonance);
        shapes[line] = swing<DistortionStage::LvlModifier>(distortionRow(line, param_table::kDistLvlRow), 1.0) > 0.0;
        longest[line] = beatsToSeconds(swing<DelayLine::TimeModifier>(lineRow(line, param_table::kDlyTimeRow), 1.0));
    }

    // A line's output is heard through the feedback it sends to the lines, at their levels.
    double heard[2] = {};
    for (int j = 0; j < lines; ++j)
        for (int i = 0; i < lines; ++i)
            heard[j] += route[j][i] * level[i];
    // The lines that matter: heard, or feeding one that is.
    bool matters[2] = {};
    bool any = false;
    for (int j = 0; j < lines; ++j) {
        matters[j] = heard[j] > 0.0 || (lines == 2 && route[j][1 - j] > 0.0 && heard[1 - j] > 0.0);
        any = any || matters[j];
    }
    if (!any)
        return std::min(tail, kLongestSeconds);
    if (sustain)
        return kLongestSeconds;

    Loop loop;
    double longestPass = 0.0;
    double firstEcho = 0.0;
    bool shaping = false;
    for (int i = 0; i < lines; ++i) {
        if (!matters[i])
            continue;
        loop.seconds[i] = longest[i];
        for (int j = 0; j < lines; ++j)
            loop.gain[i][j] = matters[j] ? peak[i] * route[j][i] : 0.0;
        longestPass = std::max(longestPass, longest[i]);
        shaping = shaping || shapes[i];
        firstEcho = std::max(firstEcho, 2.0 * tapLevels * peak[i] * heard[i]);
    }
    const double root = perronRoot(loop.gain);
    if (!(root < 1.0))
        return kLongestSeconds;
    double ringing = 0.0;
    if (root > 0.0 && firstEcho > 0.0) {
        double decibelsPerSecond = -loop.decayRate() * 20.0 / std::numbers::ln10;
        if (shaping)
            decibelsPerSecond = std::min(decibelsPerSecond, kFollowerDecibelsPerSecond);
        ringing = std::max(0.0, kQuietDecibels + 20.0 * std::log10(firstEcho)) / decibelsPerSecond;
    }
    tail = std::max(tail, latestTap + longestPass + ringing);
    return std::min(tail, kLongestSeconds);
}
