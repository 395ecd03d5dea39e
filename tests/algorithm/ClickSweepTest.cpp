// No parameter clicks: each of the 121 parameters is stepped far from its default in the middle
// of a steady signal through both lines, and the largest sample-to-sample jump around the step
// is compared with the steady states' before and after it. A glide may raise the jump by its
// speed, so the bound leaves room for that; a click is a step far beyond.
#include "AlgoHarness.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using harness::Harness;
using harness::Stereo;

namespace {

constexpr double kRate = 44100.0;
constexpr std::size_t kSettle = 3 * 44100;
constexpr std::size_t kWindow = 22050;
// Jumps up to this many times the larger steady state's are motion, not clicks.
constexpr double kAllowance = 3.0;

// Parameters whose step is not smoothed, with the reason.
const std::map<std::string, std::string> kUnsmoothedSteps = {
    {"Flags", "its bits clear a line's buffer at once, mute a line and switch the second line in"},
    {"D1 filt type", "a new filter kind starts at the block's start: kinds cannot glide into each other"},
    {"D2 filt type", "a new filter kind starts at the block's start: kinds cannot glide into each other"},
    {"D1 disto type", "a change of type alone switches the curves at the block's start"},
    {"D2 disto type", "a change of type alone switches the curves at the block's start"},
};

double largestJump(const Stereo& signal, std::size_t from, std::size_t to)
{
    double jump = 0.0;
    for (std::size_t i = from + 1; i < to; ++i) {
        jump = std::max(jump, static_cast<double>(std::fabs(signal.left[i] - signal.left[i - 1])));
        jump = std::max(jump, static_cast<double>(std::fabs(signal.right[i] - signal.right[i - 1])));
    }
    return jump;
}

// A 220 Hz sine on the left and 330 Hz on the right, continuous over `frames`.
Stereo steadyInput(std::size_t frames)
{
    Stereo input(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        input.left[i] = 0.25f * static_cast<float>(std::sin(2.0 * 3.14159265358979323846 * 220.0 * t));
        input.right[i] = 0.25f * static_cast<float>(std::sin(2.0 * 3.14159265358979323846 * 330.0 * t));
    }
    return input;
}

Stereo slice(const Stereo& signal, std::size_t from, std::size_t to)
{
    Stereo part(to - from);
    std::copy(signal.left.begin() + static_cast<long>(from), signal.left.begin() + static_cast<long>(to), part.left.begin());
    std::copy(signal.right.begin() + static_cast<long>(from), signal.right.begin() + static_cast<long>(to),
              part.right.begin());
    return part;
}

void append(Stereo& to, const Stereo& more)
{
    to.left.insert(to.left.end(), more.left.begin(), more.left.end());
    to.right.insert(to.right.end(), more.right.begin(), more.right.end());
}

} // namespace

TEST(ClickSweepTest, NoParameterStepJumpsFarBeyondTheSteadyStates)
{
    const std::size_t total = 2 * kSettle;
    const Stereo input = steadyInput(total);
    int swept = 0;
    for (int index = 0; index < 121; ++index) {
        Harness h(static_cast<float>(kRate));
        // Two lines, so that line 2's parameters are heard; the other flag bits as by default.
        h.setReal("Flags", 64.0 + 32.0);
        mppi::NormalizedParamInterface& param = *h.algo().param(index);
        const std::string name = param.name();
        if (kUnsmoothedSteps.count(name))
            continue;
        // Every tap audible, so that the taps' parameters are heard too.
        for (int tap = 1; tap <= 4; ++tap)
            h.setText("Tap " + std::to_string(tap) + " level", "-6");

        Stereo output = h.render(slice(input, 0, kSettle), 500);
        const float target = param.normalized() < 0.5f ? 0.9f : 0.1f;
        param.setNormalized(target);
        append(output, h.render(slice(input, kSettle, total), 500));

        const double before = largestJump(output, kSettle - kWindow, kSettle);
        const double around = largestJump(output, kSettle, kSettle + kWindow);
        const double after = largestJump(output, total - kWindow, total);
        EXPECT_LE(around, kAllowance * std::max(before, after) + 1e-3)
            << name << " stepped to " << target << ": before " << before << ", around " << around << ", after " << after;
        ++swept;
    }
    EXPECT_EQ(swept, 121 - static_cast<int>(kUnsmoothedSteps.size()));
}
