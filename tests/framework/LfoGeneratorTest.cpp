#include "LfoGenerator.h"
#include "LinearRamp.h"
#include "TableSine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

using mppi::LfoGenerator;
using mppi::LinearRamp;
using mppi::TableSine;

namespace {

constexpr int kBlock = 256;

// The minimal-standard Lehmer sequence from state 1, as values in (-1, 1).
std::vector<float> lehmerValues(int count)
{
    std::vector<float> values;
    std::uint64_t state = 1;
    for (int i = 0; i < count; ++i) {
        state = state * 16807 % 2147483647;
        values.push_back(static_cast<float>((static_cast<double>(state) - 1073741824.0) / 1073741824.0));
    }
    return values;
}

LfoGenerator generatorOf(int type, double periodSeconds, float sampleRate = 44100.0f)
{
    LfoGenerator generator;
    generator.setType(type);
    generator.setPeriod(periodSeconds);
    generator.setSampleRate(sampleRate);
    generator.setup();
    return generator;
}

} // namespace

TEST(TableSineTest, AgreesWithSinOverAWholePeriodAndBeyond)
{
    const TableSine& sine = TableSine::instance();
    double worst = 0.0;
    for (int i = -16000; i <= 32000; ++i) {
        const float u = static_cast<float>(i) / 1000.0f;
        worst = std::max(worst, std::fabs(sine(u) - std::sin(2.0 * std::numbers::pi * u / 16.0)));
    }
    EXPECT_LT(worst, 1e-4);
}

TEST(LfoGeneratorTest, WaveformsStartWhereTheirNamesSay)
{
    const std::pair<int, double> starts[] = {
        {LfoGenerator::kSine, 0.0},   {LfoGenerator::kTriangle, 1.0}, {LfoGenerator::kSquare, 1.0},
        {LfoGenerator::kRampUp, -1.0}, {LfoGenerator::kCosUp, -1.0},  {LfoGenerator::kRampDown, 1.0},
        {LfoGenerator::kCosDown, 1.0}, {LfoGenerator::kRandom, 0.0},  {LfoGenerator::kBrownNoise, 0.0},
        {LfoGenerator::kWhiteNoise, 0.0},
    };
    for (auto [type, start] : starts) {
        LfoGenerator generator = generatorOf(type, 1.0);
        generator.reset();
        EXPECT_NEAR(generator.output(), start, 1e-4) << LfoGenerator::waveformName(type);
    }
    EXPECT_EQ(generatorOf(10, 1.0).output(), 0.0);
    EXPECT_EQ(generatorOf(-1, 1.0).output(), 0.0);
}

TEST(LfoGeneratorTest, PeriodicWaveformsFollowTheirShapesOverOnePeriod)
{
    // 16 phase units per period; a period of 16 * 256 samples moves one unit per block.
    const double period = 16.0 * kBlock / 44100.0;
    for (int type = LfoGenerator::kSine; type <= LfoGenerator::kCosDown; ++type) {
        LfoGenerator generator = generatorOf(type, period);
        for (int unit = 1; unit <= 20; ++unit) {
            generator.advance(kBlock);
            const double p = std::fmod(unit, 16.0);
            EXPECT_NEAR(generator.phase(), p, 1e-9);
            double expected = 0.0;
            switch (type) {
            case LfoGenerator::kSine: expected = std::sin(2.0 * std::numbers::pi * p / 16.0); break;
            case LfoGenerator::kTriangle: expected = std::fabs(p / 4.0 - 2.0) - 1.0; break;
            case LfoGenerator::kSquare: expected = p < 8.0 ? 1.0 : -1.0; break;
            case LfoGenerator::kRampUp: expected = p / 8.0 - 1.0; break;
            case LfoGenerator::kCosUp: expected = -std::cos(std::numbers::pi * p / 16.0); break;
            case LfoGenerator::kRampDown: expected = 1.0 - p / 8.0; break;
            case LfoGenerator::kCosDown: expected = std::cos(std::numbers::pi * p / 16.0); break;
            }
            EXPECT_NEAR(generator.output(), expected, 1e-4) << LfoGenerator::waveformName(type) << " at " << p;
        }
    }
}

TEST(LfoGeneratorTest, WhiteNoiseDrawsTheLehmerSequenceOncePerBlock)
{
    LfoGenerator generator = generatorOf(LfoGenerator::kWhiteNoise, 1.0);
    const std::vector<float> expected = lehmerValues(50);
    for (float value : expected) {
        generator.advance(kBlock);
        EXPECT_EQ(generator.output(), value);
    }
    // Part of a block adds up: two half blocks make one new value.
    LfoGenerator halves = generatorOf(LfoGenerator::kWhiteNoise, 1.0);
    halves.advance(kBlock / 2);
    EXPECT_EQ(halves.output(), 0.0);
    halves.advance(kBlock / 2);
    EXPECT_EQ(halves.output(), expected[0]);
}

TEST(LfoGeneratorTest, RandomDrawsAtMostOncePerBlockEvenWhenThePeriodIsShorter)
{
    // 1/64 beat at 240 BPM: 3.9 ms, shorter than a 256-sample block.
    LfoGenerator generator = generatorOf(LfoGenerator::kRandom, 1.0 / 64.0 * 60.0 / 240.0);
    const std::vector<float> expected = lehmerValues(40);
    for (float value : expected) {
        generator.advance(kBlock);
        EXPECT_EQ(generator.output(), value);
        EXPECT_LT(generator.phase(), 16.0);
    }
}

TEST(LfoGeneratorTest, RandomHoldsItsValueForAWholePeriod)
{
    LfoGenerator generator = generatorOf(LfoGenerator::kRandom, 10.0 * kBlock / 44100.0);
    std::set<float> values;
    for (int block = 0; block < 95; ++block) {
        generator.advance(kBlock);
        values.insert(generator.output());
    }
    // Nine period wraps in 95 blocks, plus the silent start.
    EXPECT_EQ(values.size(), 10u);
}

TEST(LfoGeneratorTest, ResetRestartsThePhaseButNotTheRandomSequence)
{
    LfoGenerator generator = generatorOf(LfoGenerator::kWhiteNoise, 1.0);
    generator.advance(kBlock);
    generator.reset();
    EXPECT_EQ(generator.output(), 0.0);
    generator.advance(kBlock);
    EXPECT_EQ(generator.output(), lehmerValues(2)[1]);
}

TEST(LfoGeneratorTest, BrownNoiseIsSmoothFiniteAndCatchesUpOnSkippedValues)
{
    LfoGenerator generator = generatorOf(LfoGenerator::kBrownNoise, 2.0);
    double previous = 0.0;
    double largestStep = 0.0;
    double largest = 0.0;
    for (int block = 0; block < 2000; ++block) {
        generator.advance(kBlock);
        const double value = generator.output();
        ASSERT_TRUE(std::isfinite(value));
        largestStep = std::max(largestStep, std::fabs(value - previous));
        largest = std::max(largest, std::fabs(value));
        previous = value;
    }
    // Filtered far below the value rate, the noise moves much less per block than its range.
    EXPECT_LT(largestStep, 0.5 * largest);

    // Two blocks in one advance run the filter on both values.
    LfoGenerator stepwise = generatorOf(LfoGenerator::kBrownNoise, 2.0);
    LfoGenerator atOnce = generatorOf(LfoGenerator::kBrownNoise, 2.0);
    stepwise.advance(kBlock);
    stepwise.advance(kBlock);
    atOnce.advance(2 * kBlock);
    EXPECT_FLOAT_EQ(atOnce.output(), stepwise.output());
}

TEST(LfoGeneratorTest, ExtremePeriodsAndRatesStayFinite)
{
    for (double period : {1.0 / 64.0 * 60.0 / 240.0, 256.0 * 60.0 / 60.0, 0.0, -1.0}) {
        for (float rate : {4000.0f, 384000.0f}) {
            for (int type = 0; type < LfoGenerator::kWaveformCount; ++type) {
                LfoGenerator generator = generatorOf(type, period, rate);
                for (int block = 0; block < 100; ++block) {
                    generator.advance(kBlock);
                    ASSERT_TRUE(std::isfinite(generator.output())) << type << " " << period << " " << rate;
                    ASSERT_TRUE(std::isfinite(generator.phase()));
                }
            }
        }
    }
}

TEST(LinearRampTest, JumpsWithoutRampTimeAndGlidesWithOne)
{
    LinearRamp jump;
    jump.setRampTime(0.0f);
    jump.setTarget(3.0f);
    EXPECT_EQ(jump.current(), 3.0);

    LinearRamp glide;
    glide.setRampTime(0.1f);
    glide.setTarget(1.0f);
    EXPECT_EQ(glide.current(), 0.0);
    glide.advance(kBlock);
    EXPECT_NEAR(glide.current(), 256.0 / 4410.0, 1e-9);
    // 0.1 s at 44.1 kHz is 4410 samples: done after 18 blocks, landing exactly on the target.
    for (int block = 1; block < 17; ++block)
        glide.advance(kBlock);
    EXPECT_LT(glide.current(), 1.0);
    glide.advance(kBlock);
    EXPECT_EQ(glide.current(), 1.0);
    glide.advance(kBlock);
    EXPECT_EQ(glide.current(), 1.0);
}

TEST(LinearRampTest, RampsDownwardsAndSnaps)
{
    LinearRamp ramp;
    ramp.setRampTime(0.0f);
    ramp.setTarget(1.0f);
    ramp.setRampTime(0.1f);
    ramp.setTarget(-1.0f);
    ramp.advance(kBlock);
    EXPECT_LT(ramp.current(), 1.0);
    EXPECT_GT(ramp.current(), -1.0);
    ramp.snap();
    EXPECT_EQ(ramp.current(), -1.0);
}

TEST(LinearRampTest, KeepsItsDurationInSecondsAcrossARateChange)
{
    LinearRamp ramp;
    ramp.setRampTime(0.1f);
    ramp.setTarget(1.0f);
    ramp.advance(2205);
    ramp.setSampleRate(88200.0f);
    // Half the ramp is left: 0.05 s, now 4410 samples.
    ramp.advance(4409);
    EXPECT_LT(ramp.current(), 1.0);
    ramp.advance(2);
    EXPECT_EQ(ramp.current(), 1.0);
    ramp.setSampleRate(0.0f);
    ramp.setTarget(0.0f);
    ramp.advance(kBlock);
    EXPECT_TRUE(std::isfinite(ramp.current()));
}
