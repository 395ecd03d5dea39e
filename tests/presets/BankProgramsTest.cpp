// The built-in programs do what their names say, measured on rendered audio.
#include "AlgoHarness.h"
#include "StaticBank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>

using harness::Harness;
using harness::Stereo;

namespace {

constexpr std::size_t kSecond = 44100;
// One beat at 120 BPM.
constexpr double kBeat = 22050.0;

std::size_t beats(double count)
{
    return static_cast<std::size_t>(std::floor(count * kBeat + 0.5));
}

// A fresh algorithm playing the program `name`.
std::unique_ptr<Harness> playing(const std::string& name)
{
    auto h = std::make_unique<Harness>();
    const mppi::BankManager& bank = staticBank();
    for (int i = 0; i < bank.count(); ++i) {
        if (bank.program(i).name() == name) {
            h->algo().applyProgram(bank.program(i));
            return h;
        }
    }
    throw std::runtime_error("no program " + name);
}

// Position of the largest magnitude in [from, to).
std::size_t loudest(const std::vector<float>& signal, std::size_t from, std::size_t to)
{
    std::size_t best = from;
    for (std::size_t i = from; i < to; ++i)
        if (std::fabs(signal[i]) > std::fabs(signal[best]))
            best = i;
    return best;
}

float peak(const std::vector<float>& signal, std::size_t from, std::size_t to)
{
    return std::fabs(signal[loudest(signal, from, to)]);
}

// Fraction of the steps in [from, to) that fall, counting only steps that move.
double fallingShare(const std::vector<float>& signal, std::size_t from, std::size_t to)
{
    std::size_t falling = 0;
    std::size_t moving = 0;
    for (std::size_t i = from + 1; i < to; ++i) {
        const float step = signal[i] - signal[i - 1];
        if (std::fabs(step) < 1e-9f || std::fabs(step) > 0.01f)
            continue;
        ++moving;
        falling += step < 0.0f ? 1 : 0;
    }
    return moving == 0 ? 0.0 : static_cast<double>(falling) / static_cast<double>(moving);
}

// Distance from each impulse to the first echo at least `threshold` loud.
std::vector<std::size_t> firstEchoes(Harness& h, std::size_t spacing, int impulses, float threshold)
{
    Stereo input(spacing * static_cast<std::size_t>(impulses));
    for (int k = 0; k < impulses; ++k)
        input.left[static_cast<std::size_t>(k) * spacing] = input.right[static_cast<std::size_t>(k) * spacing] = 1.0f;
    h.setText("Predly lvl", "-oo");
    const Stereo out = h.render(input);
    std::vector<std::size_t> delays;
    for (int k = 0; k < impulses; ++k) {
        const std::size_t start = static_cast<std::size_t>(k) * spacing;
        for (std::size_t i = start + 1; i < start + spacing; ++i) {
            if (std::fabs(out.left[i]) > threshold || std::fabs(out.right[i]) > threshold) {
                delays.push_back(i - start);
                break;
            }
        }
    }
    return delays;
}

} // namespace

TEST(BankProgramsTest, SimpleDelayEchoesAfterThreeQuartersOfABeat)
{
    auto h = playing("Simple delay - 3/4 beat");
    const Stereo out = h->render(harness::impulse(3 * kSecond));
    EXPECT_FLOAT_EQ(out.left[0], 1.0f);
    EXPECT_EQ(loudest(out.left, 1000, beats(1.2)), beats(0.75));
    EXPECT_EQ(loudest(out.left, beats(1.2), beats(1.9)), 2 * beats(0.75));
    EXPECT_LT(peak(out.left, beats(1.2), beats(1.9)), peak(out.left, 1000, beats(1.2)));
}

TEST(BankProgramsTest, DampedDelayRunsAtItsOwnTempoAndLosesTreble)
{
    auto h = playing("Simple delay - Damped");
    EXPECT_NEAR(h->param("Tempo").real(), 102.7, 1e-3);
    const Stereo out = h->render(harness::impulse(3 * kSecond));
    const std::size_t echo = static_cast<std::size_t>(std::floor(0.75 * 60.0 / 102.7 * 44100.0 + 0.5));
    const std::size_t found = loudest(out.left, 1000, echo + 2000);
    // Filtered echoes spread a little around their delay.
    EXPECT_NEAR(static_cast<double>(found), static_cast<double>(echo), 40.0);
    EXPECT_LT(peak(out.left, found - 100, found + 100), 0.5f);
}

TEST(BankProgramsTest, PingPongProgramsAlternateLeftAndRightAtTheirBeat)
{
    for (auto [name, beat] : {std::pair{"Ping-pong delay - 3/4 beat", 0.75}, std::pair{"Ping-pong delay - 1/4 beat", 0.25}}) {
        auto h = playing(name);
        const std::size_t d = beats(beat);
        const Stereo out = h->render(harness::impulse(4 * d + 100));
        for (int k = 1; k <= 4; ++k) {
            const std::size_t at = static_cast<std::size_t>(k) * d;
            const std::vector<float>& loud = k % 2 == 1 ? out.right : out.left;
            const std::vector<float>& quiet = k % 2 == 1 ? out.left : out.right;
            EXPECT_GT(std::fabs(loud[at]), 0.05f) << name << " echo " << k;
            EXPECT_LT(std::fabs(quiet[at]), 1e-6f) << name << " echo " << k;
        }
    }
}

TEST(BankProgramsTest, PredelaysFallOnQuarterBeats)
{
    auto h = playing("Predelays 1/4");
    const Stereo out = h->render(harness::impulse(2 * kSecond));
    const std::vector<std::size_t> taps = {0, beats(0.25), beats(0.5), beats(0.75)};
    for (std::size_t i = 0; i < out.size(); ++i) {
        const bool tap = std::find(taps.begin(), taps.end(), i) != taps.end();
        const float level = std::max(std::fabs(out.left[i]), std::fabs(out.right[i]));
        if (tap)
            EXPECT_GT(level, 0.1f) << "tap at " << i;
        else
            ASSERT_LT(level, 1e-6f) << "sound at " << i;
    }
}

TEST(BankProgramsTest, ReverseProgramsPlayTheDelayedSignalBackwards)
{
    for (const char* name : {"Reverse - 2 beats", "Reverse - 1 beat", "Reverse - 1/2 beat"}) {
        auto h = playing(name);
        h->setText("Predly lvl", "-oo");
        // A rising input: read backwards, it falls.
        Stereo input(6 * kSecond);
        for (std::size_t i = 0; i < input.size(); ++i)
            input.left[i] = input.right[i] = static_cast<float>(i) * 1e-6f;
        const Stereo out = h->render(input);
        EXPECT_GT(fallingShare(out.left, 2 * kSecond, out.size()), 0.6) << name;
    }
}

TEST(BankProgramsTest, ChorusAndFlangerProgramsModulateShortDelays)
{
    struct Case {
        const char* name;
        std::size_t longest;
    };
    // Chorus delays stay within 40 ms, flanger delays within 15 ms.
    for (Case c : {Case{"Chorus - Light", 1764}, Case{"Chorus - Medium", 1764}, Case{"Chorus - Heavy", 1764},
                   Case{"Chorus - Fast", 1764}, Case{"Flanger - Slow", 662}, Case{"Flanger - Fast", 662}}) {
        auto h = playing(c.name);
        const std::vector<std::size_t> delays = firstEchoes(*h, kSecond / 3, 24, 0.02f);
        ASSERT_EQ(delays.size(), 24u) << c.name;
        const auto [shortest, longest] = std::minmax_element(delays.begin(), delays.end());
        EXPECT_LE(*longest, c.longest) << c.name;
        EXPECT_GT(*longest - *shortest, 20u) << c.name << ": the delay does not move";
    }
}

TEST(BankProgramsTest, VibratoIsWetOnlyPitchModulation)
{
    auto h = playing("Vibrato");
    const Stereo click = h->render(harness::impulse(kSecond / 2));
    EXPECT_EQ(click.left[0], 0.0f);
    EXPECT_EQ(click.right[0], 0.0f);

    auto tone = playing("Vibrato");
    const Stereo out = tone->render(harness::sine(4 * kSecond, 440.0, 44100.0, 0.5f));
    // Periods between rising zero crossings, in samples.
    double shortest = 1e9;
    double longest = 0.0;
    double previous = -1.0;
    for (std::size_t i = kSecond; i < out.size(); ++i) {
        if (out.left[i - 1] < 0.0f && out.left[i] >= 0.0f) {
            const double crossing = static_cast<double>(i - 1) + out.left[i - 1] / (out.left[i - 1] - out.left[i]);
            if (previous >= 0.0) {
                shortest = std::min(shortest, crossing - previous);
                longest = std::max(longest, crossing - previous);
            }
            previous = crossing;
        }
    }
    const double period = 44100.0 / 440.0;
    EXPECT_LT(shortest, period * 0.98);
    EXPECT_GT(longest, period * 1.02);
    EXPECT_GT(harness::rms(out.left, kSecond, out.size()), 0.1);
}

TEST(BankProgramsTest, ToneFascinationProgramsResonateAtTheirIntervals)
{
    struct Case {
        const char* name;
        double ratio;
    };
    for (Case c : {Case{"Tone fascination 3 - Major third", 5.0 / 4.0}, Case{"Tone fascination 4 - Minor third", 6.0 / 5.0}}) {
        auto h = playing(c.name);
        h->setText("Predly lvl", "-oo");
        const Stereo out = h->render(harness::impulse(kSecond / 4));
        // Line 1 rings on the left, line 2 on the right; each rings at 1 / its delay.
        const std::size_t left = loudest(out.left, 1, 1000);
        const std::size_t right = loudest(out.right, 1, 1000);
        EXPECT_NEAR(static_cast<double>(left) / static_cast<double>(right), c.ratio, 0.01 * c.ratio) << c.name;
        // The low-pass in the loop delays each pass by a few samples.
        EXPECT_NEAR(static_cast<double>(loudest(out.left, left + 100, 2 * left + 100)), 2.0 * left, 3.0) << c.name;
    }

    // One tone at 1/64 beat: 128 Hz at 120 BPM, a little lower for the low-pass in the loop.
    auto single = playing("Tone fascination 1");
    single->setText("Predly lvl", "-oo");
    const Stereo out = single->render(harness::impulse(kSecond / 4));
    EXPECT_NEAR(44100.0 / static_cast<double>(loudest(out.left, 1, 1000)), 128.0, 128.0 * 0.03);

    // Line 2 moves between the minor and the major third every beat.
    auto both = playing("Tone fascination 5 - Min/maj");
    both->setText("Predly lvl", "-oo");
    Stereo twoClicks(2 * kSecond);
    twoClicks.left[beats(0.1)] = twoClicks.right[beats(0.1)] = 1.0f;
    twoClicks.left[beats(1.1)] = twoClicks.right[beats(1.1)] = 1.0f;
    const Stereo rung = both->render(twoClicks);
    const double line1 = static_cast<double>(loudest(rung.left, beats(0.1) + 1, beats(0.1) + 1000) - beats(0.1));
    const double first = static_cast<double>(loudest(rung.right, beats(0.1) + 1, beats(0.1) + 1000) - beats(0.1));
    const double second = static_cast<double>(loudest(rung.right, beats(1.1) + 1, beats(1.1) + 1000) - beats(1.1));
    EXPECT_NEAR(line1 / first, 6.0 / 5.0, 0.012);
    EXPECT_NEAR(line1 / second, 5.0 / 4.0, 0.0125);
}

TEST(BankProgramsTest, EveryProgramPlaysFiniteAndBounded)
{
    const mppi::BankManager& bank = staticBank();
    const Stereo input = harness::noise(2 * kSecond, 0.5f);
    for (int i = 0; i < bank.count(); ++i) {
        Harness h;
        h.algo().applyProgram(bank.program(i));
        const Stereo out = h.render(input);
        double energy = 0.0;
        for (std::size_t k = 0; k < out.size(); ++k) {
            ASSERT_TRUE(std::isfinite(out.left[k]) && std::isfinite(out.right[k])) << bank.program(i).name();
            ASSERT_LT(std::fabs(out.left[k]) + std::fabs(out.right[k]), 20.0f) << bank.program(i).name();
            energy += out.left[k] * out.left[k] + out.right[k] * out.right[k];
        }
        EXPECT_GT(energy, 1.0) << bank.program(i).name() << " is silent";
    }
}

namespace {

// Input bursts at the very top of the float range, then silence.
enum class Burst { kConstant, kAlternating, kSpikes };

Stereo burstThenSilence(Burst kind, std::size_t frames)
{
    constexpr float kTop = std::numeric_limits<float>::max();
    Stereo input(frames);
    for (std::size_t i = 0; i < 400; ++i) {
        float value = kTop;
        if (kind == Burst::kAlternating)
            value = i % 2 ? -kTop : kTop;
        else if (kind == Burst::kSpikes)
            value = i % 97 == 0 ? (i % 194 ? -kTop : kTop) : 0.0f;
        input.left[i] = value;
        input.right[i] = kind == Burst::kAlternating ? -value : value;
    }
    return input;
}

float loudest(const Stereo& signal, std::size_t from, std::size_t to)
{
    float peak = 0.0f;
    for (std::size_t k = from; k < to; ++k)
        peak = std::max({peak, std::fabs(signal.left[k]), std::fabs(signal.right[k])});
    return peak;
}

} // namespace

// Whatever the input, every output sample is finite, and once the input is silent the loop
// holds no more than its RMS ceiling lets it: at the programs' own feedback the burst dies away,
// at full feedback it circulates at a bounded level.
TEST(BankProgramsTest, FullScaleBurstsNeverPoisonTheLoop)
{
    const mppi::BankManager& bank = staticBank();
    for (Burst kind : {Burst::kConstant, Burst::kAlternating, Burst::kSpikes}) {
        const Stereo input = burstThenSilence(kind, 6 * kSecond);
        for (int i = 0; i < bank.count(); ++i) {
            for (bool fullFeedback : {false, true}) {
                Harness h;
                h.algo().applyProgram(bank.program(i));
                if (fullFeedback) {
                    h.setNormalized("D1 fdbk", 1.0f);
                    h.setNormalized("D2 fdbk", 1.0f);
                }
                const Stereo out = h.render(input);
                const std::string what = bank.program(i).name() + (fullFeedback ? " at full feedback" : "") +
                                         ", burst " + std::to_string(static_cast<int>(kind));
                for (std::size_t k = 0; k < out.size(); ++k)
                    ASSERT_TRUE(std::isfinite(out.left[k]) && std::isfinite(out.right[k])) << what << " at " << k;
                EXPECT_LT(loudest(out, 5 * kSecond, out.size()), fullFeedback ? 32.0f : 1.0f) << what;
            }
        }
    }
}

// A burst leaves the line's level measurement working: later echoes are as loud as in a fresh
// instance, not silenced for ever by a follower stuck at infinity.
TEST(BankProgramsTest, EchoesAfterAFullScaleBurstAreAsLoudAsBefore)
{
    const std::size_t clickAt = 5 * kSecond;
    Stereo click(6 * kSecond);
    click.left[clickAt] = click.right[clickAt] = 0.5f;
    Stereo burst = burstThenSilence(Burst::kConstant, 6 * kSecond);
    burst.left[clickAt] = burst.right[clickAt] = 0.5f;

    auto echoOf = [](const Stereo& input) {
        const auto h = playing("Simple delay - 3/4 beat");
        h->setNormalized("D1 fdbk", 0.2f);
        const Stereo out = h->render(input);
        return loudest(out, clickAt + beats(0.75) - 2, clickAt + beats(0.75) + 3);
    };
    const float fresh = echoOf(click);
    ASSERT_GT(fresh, 0.05f);
    EXPECT_NEAR(echoOf(burst), fresh, 1e-3f * fresh);
}
