#include "DistortionStage.h"
#include "FilterStage.h"
#include "ShelfStage.h"
#include "StagePipeline.h"
#include "TableTanh.h"
#include "WideLoops.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kBlock = 256;
constexpr double kRate = 44100.0;

std::vector<float> sineBlock(int frames, double frequency, double rate, float amplitude, int offset = 0)
{
    std::vector<float> block(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i)
        block[static_cast<std::size_t>(i)] =
            amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * frequency * (offset + i) / rate));
    return block;
}

double rmsOf(const std::vector<float>& block)
{
    double sum = 0.0;
    for (float v : block)
        sum += static_cast<double>(v) * v;
    return std::sqrt(sum / static_cast<double>(block.size()));
}

// The bilinear transform with a prewarped cutoff maps a frequency f to the prototype's
// s = j tan(pi f / fs) / tan(pi fc / fs).
std::complex<double> prototypeS(double frequency, double cutoff, double rate)
{
    return {0.0, std::tan(std::numbers::pi * frequency / rate) / std::tan(std::numbers::pi * cutoff / rate)};
}

double prototypeGain(int type, double frequency, double cutoff, double r, double q, double rate)
{
    const std::complex<double> s = prototypeS(frequency, cutoff, rate);
    switch (type) {
    case Biquad::kLowPass: return std::abs(1.0 / (s * s + s / r + 1.0));
    case Biquad::kHighPass: return std::abs(s * s / (s * s + s / r + 1.0));
    case Biquad::kResonator: return std::abs((s * s + (r / q) * s + 1.0) / (s * s + s / q + 1.0));
    default: return std::abs((r / q) * s / (s * s + s / q + 1.0));
    }
}

// What a line's read does with a steady delay: the samples copied, then filtered.
void readThrough(FilterStage& stage, float* out, const float* in, int frames)
{
    std::copy(in, in + frames, out);
    stage.filter(out, frames);
}

// A filter stage of line 1 in a registry of its own: index 0 type, 1 cutoff, 5 resonance, 9 Q.
struct Filter {
    Filter(int type, double cutoff, double r, double q, float rate = static_cast<float>(kRate))
    {
        stage.init(0, registry);
        stage.setSampleRate(rate);
        registry.registered(0)->setReal(type);
        registry.registered(1)->setReal(cutoff);
        registry.registered(5)->setReal(r);
        registry.registered(9)->setReal(q);
        // The cutoff glides for 0.1 s: let it arrive.
        for (int block = 0; block < 40; ++block)
            stage.updateBlock(kBlock);
        stage.reset();
    }

    // Steady-state gain for a sine of `frequency`.
    double gainAt(double frequency, double rate = kRate)
    {
        const int blocks = static_cast<int>(rate / kBlock);
        std::vector<float> last;
        for (int block = 0; block < blocks; ++block) {
            const std::vector<float> in = sineBlock(kBlock, frequency, rate, 0.5f, block * kBlock);
            std::vector<float> out(kBlock);
            readThrough(stage, out.data(), in.data(), kBlock);
            if (block >= blocks / 2)
                last.insert(last.end(), out.begin(), out.end());
        }
        return rmsOf(last) / (0.5 / std::sqrt(2.0));
    }

    mppi::PluginInternal registry;
    FilterStage stage;
};

} // namespace

TEST(FilterStageTest, RegistersThirteenParametersInTableOrder)
{
    mppi::PluginInternal registry;
    FilterStage stage;
    stage.init(1, registry);
    ASSERT_EQ(registry.registeredCount(), 13);
    EXPECT_EQ(registry.registered(0)->name(), "D2 filt type");
    EXPECT_EQ(registry.registered(1)->name(), "D2 filt cutoff");
    EXPECT_EQ(registry.registered(4)->name(), "D2 filt cutoff LFO WF");
    EXPECT_EQ(registry.registered(5)->name(), "D2 filt reso");
    EXPECT_EQ(registry.registered(9)->name(), "D2 filt Q");
    EXPECT_EQ(registry.registered(12)->name(), "D2 filt Q LFO WF");
}

TEST(FilterStageTest, EachTypeFollowsItsAnalogPrototype)
{
    struct Case {
        int type;
        double cutoff, r, q;
    };
    const Case cases[] = {
        {Biquad::kLowPass, 1000.0, 1.0, 1.0},   {Biquad::kLowPass, 2000.0, 4.0, 1.0},
        {Biquad::kHighPass, 1000.0, 1.0, 1.0},  {Biquad::kHighPass, 500.0, 0.25, 1.0},
        {Biquad::kResonator, 1000.0, 4.0, 2.0}, {Biquad::kResonator, 3000.0, 0.25, 1.0},
        {Biquad::kBandPass, 1000.0, 2.0, 1.0},  {Biquad::kBandPass, 800.0, 1.0, 5.0},
    };
    for (const Case& c : cases) {
        for (double frequency : {c.cutoff / 4.0, c.cutoff, c.cutoff * 3.0}) {
            Filter filter(c.type, c.cutoff, c.r, c.q);
            const double expected = prototypeGain(c.type, frequency, c.cutoff, c.r, c.q, kRate);
            EXPECT_NEAR(filter.gainAt(frequency), expected, 0.02 * expected + 1e-3)
                << "type " << c.type << " cutoff " << c.cutoff << " at " << frequency << " Hz";
        }
    }
}

TEST(FilterStageTest, LowPassQualityComesFromTheResonance)
{
    Filter ringing(Biquad::kLowPass, 1000.0, 16.0, 1.0);
    EXPECT_NEAR(ringing.gainAt(1000.0), 16.0, 0.5);
    Filter damped(Biquad::kLowPass, 1000.0, 1.0 / 16.0, 1.0);
    EXPECT_NEAR(damped.gainAt(1000.0), 1.0 / 16.0, 0.01);
}

TEST(FilterStageTest, ResonatorNearUnitResonanceIsBypassed)
{
    const std::vector<float> in = sineBlock(kBlock, 1000.0, kRate, 0.5f);
    Filter bypassed(Biquad::kResonator, 1000.0, 1.04, 1.0);
    EXPECT_TRUE(bypassed.stage.biquad().bypassed());
    std::vector<float> out(kBlock);
    readThrough(bypassed.stage, out.data(), in.data(), kBlock);
    EXPECT_EQ(out, in);

    Filter filtering(Biquad::kResonator, 1000.0, 1.06, 1.0);
    EXPECT_FALSE(filtering.stage.biquad().bypassed());
    readThrough(filtering.stage, out.data(), in.data(), kBlock);
    EXPECT_NE(out, in);

    // The defaults pass the signal unchanged.
    mppi::PluginInternal registry;
    FilterStage defaults;
    defaults.init(0, registry);
    defaults.setDefaults();
    readThrough(defaults, out.data(), in.data(), kBlock);
    EXPECT_EQ(out, in);
}

TEST(FilterStageTest, CutoffStaysBelowNyquistAtLowSampleRates)
{
    Filter filter(Biquad::kLowPass, 10240.0, 1.0, 1.0, 8000.0f);
    EXPECT_FLOAT_EQ(filter.stage.biquad().cutoff(), 3920.0f);
    const double gain = filter.gainAt(1000.0, 8000.0);
    EXPECT_TRUE(std::isfinite(gain));
    EXPECT_NEAR(gain, prototypeGain(Biquad::kLowPass, 1000.0, 3920.0, 1.0, 1.0, 8000.0), 0.02);
}

TEST(FilterStageTest, StateContinuesAcrossCallsOfAnyLength)
{
    const std::vector<float> in = sineBlock(1000, 700.0, kRate, 0.5f);
    Filter whole(Biquad::kLowPass, 1500.0, 2.0, 1.0);
    Filter pieces(Biquad::kLowPass, 1500.0, 2.0, 1.0);
    std::vector<float> a(in.size());
    std::vector<float> b(in.size());
    readThrough(whole.stage, a.data(), in.data(), 250);
    readThrough(whole.stage, a.data() + 250, in.data() + 250, 250);
    readThrough(whole.stage, a.data() + 500, in.data() + 500, 250);
    readThrough(whole.stage, a.data() + 750, in.data() + 750, 250);
    std::size_t at = 0;
    for (int length : {1, 3, 7, 100, 2, 255, 1, 131, 250, 250}) {
        readThrough(pieces.stage, b.data() + at, in.data() + at, length);
        at += static_cast<std::size_t>(length);
    }
    ASSERT_EQ(at, in.size());
    EXPECT_EQ(a, b);
}

TEST(FilterStageTest, InterpolatedReadSlidesBetweenSamples)
{
    // A ring of 16 and its guard, which repeats the first sample.
    std::vector<float> buffer(17);
    for (std::size_t i = 0; i < 16; ++i)
        buffer[i] = static_cast<float>(i);
    buffer[16] = buffer[0];
    ReadPosition position = ReadPosition::fromSamples(14.5, 15);
    const ReadPosition step = ReadPosition::fromSamples(0.75, 0xFFFFFFFFu);
    float out[4];
    FilterStage::interpolate(out, buffer.data(), 4, 15, position, step);
    // 14.5, then 15.25 between the last sample and the first, then 0 and 0.75 after the wrap.
    EXPECT_FLOAT_EQ(out[0], 14.5f);
    EXPECT_FLOAT_EQ(out[1], 11.25f);
    EXPECT_FLOAT_EQ(out[2], 0.0f);
    EXPECT_FLOAT_EQ(out[3], 0.75f);
}

// The processor's eight-at-a-time reads give the plain loop's bits and end where it ends: for
// steps forwards and backwards, slow and fast (beyond what eight reads' window holds), and
// across the ring's end.
TEST(FilterStageTest, InterpolatedReadsAreTheSameOnBothPaths)
{
    if (!mppi::wide_loops::available())
        GTEST_SKIP() << "no AVX2 here";
    constexpr std::uint32_t kMask = 63;
    std::vector<float> buffer(kMask + 2);
    std::mt19937 generator(3);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (float& sample : buffer)
        sample = noise(generator);
    buffer[kMask + 1] = buffer[0];
    for (double step : {1.0, 0.75, 1.25, 1.0 + 1e-7, 13.0 / 7.0, 1.9, 3.0, 1e-4, 0.0, -0.5}) {
        for (double start = 0.0; start < 64.0; start += 0.37) {
            float wide[53], plain[53];
            ReadPosition wideAt = ReadPosition::fromSamples(start, kMask), plainAt = wideAt;
            const ReadPosition by = ReadPosition::fromSamples(step, kMask);
            mppi::wide_loops::setEnabled(true);
            FilterStage::interpolate(wide, buffer.data(), 53, kMask, wideAt, by);
            mppi::wide_loops::setEnabled(false);
            FilterStage::interpolate(plain, buffer.data(), 53, kMask, plainAt, by);
            mppi::wide_loops::setEnabled(true);
            for (int i = 0; i < 53; ++i)
                ASSERT_EQ(std::bit_cast<std::uint32_t>(wide[i]), std::bit_cast<std::uint32_t>(plain[i]))
                    << "step " << step << " from " << start << " read " << i;
            ASSERT_EQ(wideAt.fixed, plainAt.fixed) << "step " << step << " from " << start;
        }
    }
}

namespace {

struct Distortion {
    explicit Distortion(double type = 0.0, double level = 0.0)
    {
        stage.init(0, registry);
        stage.setSampleRate(static_cast<float>(kRate));
        registry.registered(0)->setReal(type);
        registry.registered(1)->setReal(level);
        stage.reset();
    }

    // Output RMS over the second half of a second of a sine.
    double outputRms(double frequency, float amplitude)
    {
        std::vector<float> last;
        const int blocks = static_cast<int>(kRate / kBlock);
        for (int block = 0; block < blocks; ++block) {
            stage.updateBlock(kBlock);
            std::vector<float> x = sineBlock(kBlock, frequency, kRate, amplitude, block * kBlock);
            stage.process(x.data(), kBlock);
            if (block >= blocks / 2)
                last.insert(last.end(), x.begin(), x.end());
        }
        return rmsOf(last);
    }

    mppi::PluginInternal registry;
    DistortionStage stage;
};

} // namespace

TEST(DistortionStageTest, LevelZeroPassesAQuietSignalUnchanged)
{
    Distortion distortion;
    std::vector<float> x = sineBlock(kBlock, 440.0, kRate, 0.5f);
    const std::vector<float> original = x;
    for (int block = 0; block < 20; ++block) {
        distortion.stage.updateBlock(kBlock);
        x = sineBlock(kBlock, 440.0, kRate, 0.5f, block * kBlock);
        const std::vector<float> in = x;
        distortion.stage.process(x.data(), kBlock);
        ASSERT_EQ(x, in);
    }
    EXPECT_EQ(distortion.stage.makeUpGain(), 1.0f);
}

TEST(DistortionStageTest, RmsIsCappedAtThreeQuartersWhateverTheSetting)
{
    for (double level : {0.0, 0.3, 1.0}) {
        Distortion distortion(0.0, level);
        EXPECT_NEAR(distortion.outputRms(440.0, 2.0f), 0.75, 0.02) << "level " << level;
    }
    Distortion puncher(1.0, 0.6);
    EXPECT_NEAR(puncher.outputRms(440.0, 2.0f), 0.75, 0.02);
}

// Samples far beyond any audio, infinite ones included, leave the stage finite, and a quiet
// signal afterwards comes through at its own level once the followers have settled.
TEST(DistortionStageTest, HugeSamplesNeverStickInTheFollowers)
{
    for (float huge : {1e20f, 3.4e38f, INFINITY}) {
        Distortion distortion;
        std::vector<float> x(kBlock, huge);
        distortion.stage.updateBlock(kBlock);
        distortion.stage.process(x.data(), kBlock);
        EXPECT_TRUE(std::isfinite(distortion.stage.makeUpGain())) << huge;
        double settled = 0.0;
        for (int block = 0; block < 200; ++block) {
            distortion.stage.updateBlock(kBlock);
            x = sineBlock(kBlock, 440.0, kRate, 0.5f, block * kBlock);
            const std::vector<float> in = x;
            distortion.stage.process(x.data(), kBlock);
            settled = rmsOf(x) / rmsOf(in);
        }
        EXPECT_NEAR(settled, 1.0, 1e-3) << huge;
    }
}

// At level 0 the gain is exactly 1 until the signal nears the ceiling. Whether a piece may
// pass untouched must not depend on how the control block is cut: a swelling sine crosses the
// ceiling and falls back to silence, and every cut gives the same samples.
TEST(DistortionStageTest, LevelZeroGivesTheSameSamplesHoweverTheBlockIsCut)
{
    const std::vector<std::vector<int>> cuts = {{kBlock}, {100, 156}, {1, 254, 1}, {64, 64, 64, 64}};
    std::vector<std::vector<float>> outputs;
    for (const std::vector<int>& cut : cuts) {
        Distortion distortion;
        std::vector<float> output;
        for (int block = 0; block < 600; ++block) {
            distortion.stage.updateBlock(kBlock);
            std::vector<float> x = sineBlock(kBlock, 220.0, kRate, 1.0f, block * kBlock);
            const float swell = block < 400 ? 0.005f * static_cast<float>(block) : 0.0f;
            for (float& sample : x)
                sample *= swell;
            int done = 0;
            for (int piece : cut) {
                distortion.stage.process(x.data() + done, piece);
                done += piece;
            }
            output.insert(output.end(), x.begin(), x.end());
        }
        outputs.push_back(output);
    }
    for (std::size_t i = 1; i < outputs.size(); ++i)
        EXPECT_EQ(outputs[i], outputs[0]) << "cut " << i;
}

// A caller whose control block is longer than the plug-in's keeps nothing for later: the block
// is followed sample by sample, and a quiet signal still passes unchanged.
TEST(DistortionStageTest, LongerControlBlocksAreFollowedSampleBySample)
{
    Distortion distortion;
    constexpr int kLong = 4 * kBlock;
    for (int block = 0; block < 8; ++block) {
        distortion.stage.updateBlock(kLong);
        std::vector<float> x = sineBlock(kLong, 440.0, kRate, 0.5f, block * kLong);
        const std::vector<float> in = x;
        distortion.stage.process(x.data(), kLong);
        if (block > 0) {
            ASSERT_EQ(x, in) << block;
        }
    }
}

TEST(DistortionStageTest, LoudSignalAtLevelZeroRampsTheMakeUpGain)
{
    Distortion distortion;
    std::vector<float> x;
    for (int block = 0; block < 200; ++block) {
        distortion.stage.updateBlock(kBlock);
        x = sineBlock(kBlock, 440.0, kRate, 2.12132f, block * kBlock);
        distortion.stage.process(x.data(), kBlock);
    }
    // A sine of RMS 1.5 comes out at 0.75: a make-up gain of 0.5.
    EXPECT_NEAR(distortion.stage.makeUpGain(), 0.5f, 0.02f);
}

TEST(DistortionStageTest, ShapingRestoresTheInputLoudness)
{
    for (double type : {0.0, 0.5, 1.0}) {
        Distortion distortion(type, 1.0);
        EXPECT_NEAR(distortion.outputRms(440.0, 0.2f), 0.2 / std::sqrt(2.0), 0.01) << "type " << type;
    }
}

TEST(DistortionStageTest, OverdriveAtFullLevelClips)
{
    Distortion distortion(0.0, 1.0);
    for (int block = 0; block < 100; ++block) {
        distortion.stage.updateBlock(kBlock);
        std::vector<float> x = sineBlock(kBlock, 100.0, kRate, 0.5f, block * kBlock);
        distortion.stage.process(x.data(), kBlock);
        if (block == 99) {
            // Drive 64 squares the wave: its peak is barely above its RMS.
            const float peak = *std::max_element(x.begin(), x.end());
            EXPECT_LT(peak / rmsOf(x), 1.15);
        }
    }
}

TEST(DistortionStageTest, SilentShapedBlockBecomesExactlyZero)
{
    Distortion distortion(0.0, 0.5);
    distortion.stage.updateBlock(kBlock);
    std::vector<float> x(kBlock, 0.0f);
    distortion.stage.process(x.data(), kBlock);
    EXPECT_EQ(distortion.stage.makeUpGain(), 0.0f);
    EXPECT_EQ(x, std::vector<float>(kBlock, 0.0f));
}

TEST(DistortionStageTest, ResetTakesTheGainsOfTheCurrentTypeAndLevel)
{
    // A blend set before playback: 3/4 overdrive at drive 2^2, 1/4 puncher at fold 2.25.
    Distortion distortion(0.25, 0.5);
    EXPECT_FLOAT_EQ(distortion.stage.overdriveGain(), 0.75f * 1.0f);
    EXPECT_FLOAT_EQ(distortion.stage.puncherGain(), 0.25f * 1.0f);
    Distortion quiet(0.75, 0.0);
    // Drive 1/4 and fold rate 1/4 are compensated to unit small-signal gain.
    EXPECT_FLOAT_EQ(quiet.stage.overdriveGain(), 0.25f * 4.0f);
    EXPECT_FLOAT_EQ(quiet.stage.puncherGain(), 0.75f * 4.0f);
}

TEST(DistortionStageTest, TypeAndLevelTextsAndParsers)
{
    mppi::PluginInternal registry;
    DistortionStage stage;
    stage.init(1, registry);
    ASSERT_EQ(registry.registeredCount(), 5);
    mppi::NormalizedParamInterface& type = *registry.registered(0);
    EXPECT_EQ(type.name(), "D2 disto type");
    EXPECT_EQ(type.valueText(0.49), "Overdrive");
    EXPECT_EQ(type.valueText(0.5), "Puncher");
    bool understood = false;
    type.parse("Puncher", understood);
    EXPECT_FALSE(understood);
    mppi::NormalizedParamInterface& level = *registry.registered(1);
    EXPECT_EQ(level.name(), "D2 disto lvl");
    EXPECT_EQ(level.valueText(0.125), "12.5");
}

TEST(TableTanhTest, FollowsTanhAndNeverIndexesOutsideItsTable)
{
    const TableTanh& table = TableTanh::instance();
    double worst = 0.0;
    for (int i = -12000; i <= 12000; ++i) {
        const float u = static_cast<float>(i) / 1000.0f;
        worst = std::max(worst, std::fabs(table(u) - std::tanh(static_cast<double>(u))));
    }
    EXPECT_LT(worst, 1e-2);
    const float justBelow = std::nextafter(8.0f, 0.0f);
    EXPECT_NEAR(table(justBelow), std::tanh(8.0), 1e-4);
    EXPECT_NEAR(table(std::nextafter(-8.0f, 0.0f)), std::tanh(-8.0), 1e-4);
    EXPECT_FLOAT_EQ(table(1e30f), static_cast<float>(std::tanh(8.0)));
    EXPECT_FLOAT_EQ(table(-std::numeric_limits<float>::infinity()), static_cast<float>(std::tanh(-8.0)));
}

namespace {

struct Shelf {
    Shelf(double cutoff, double level, float rate = static_cast<float>(kRate))
    {
        stage.init(0, registry);
        stage.setSampleRate(rate);
        registry.registered(0)->setReal(cutoff);
        registry.registered(1)->setReal(level);
        stage.updateBlock();
    }

    double gainAt(double frequency)
    {
        std::vector<float> last;
        for (int block = 0; block < 100; ++block) {
            std::vector<float> x = sineBlock(kBlock, frequency, kRate, 0.5f, block * kBlock);
            stage.process(x.data(), kBlock);
            if (block >= 50)
                last.insert(last.end(), x.begin(), x.end());
        }
        return rmsOf(last) / (0.5 / std::sqrt(2.0));
    }

    mppi::PluginInternal registry;
    ShelfStage stage;
};

double shelfPrototype(double frequency, double cutoff, double level)
{
    const std::complex<double> s = prototypeS(frequency, cutoff, kRate);
    return std::abs((1.0 + level * s) / (1.0 + s));
}

} // namespace

TEST(ShelfStageTest, CutsHighFrequenciesToItsLevel)
{
    for (double level : {0.5, 0.1, 0.0, 0.985}) {
        Shelf shelf(2000.0, level);
        for (double frequency : {100.0, 2000.0, 15000.0}) {
            const double expected = shelfPrototype(frequency, 2000.0, level);
            EXPECT_NEAR(shelf.gainAt(frequency), expected, 0.01 * expected + 1e-3)
                << "level " << level << " at " << frequency;
        }
    }
}

TEST(ShelfStageTest, InaudibleShelfIsSkippedAndCutoffIsLimited)
{
    Shelf shelf(4000.0, 0.99);
    std::vector<float> x = sineBlock(kBlock, 10000.0, kRate, 0.5f);
    const std::vector<float> in = x;
    shelf.stage.process(x.data(), kBlock);
    EXPECT_EQ(x, in);

    Shelf limited(20000.0, 0.5, 32000.0f);
    EXPECT_FLOAT_EQ(limited.stage.filter().cutoff(), 15680.0f);
    EXPECT_EQ(limited.registry.registered(0)->valueText(4000.0), "4000");
    EXPECT_EQ(limited.registry.registered(0)->valueText(200.0), "200.0");
}

// While the level is 0 the signal passes unshaped; when the level then rises, the make-up gain
// must start from the signal's loudness, not from whatever the shaped signal's follower held
// before. Following the new curve's loudness takes a few milliseconds, so the first blocks may
// be somewhat louder than the settled signal, but never a burst.
TEST(DistortionStageTest, LevelRisingFromZeroStartsFromTheSignalsLoudness)
{
    for (double type : {0.0, 0.5, 1.0}) {
        Distortion distortion(type, 0.0);
        const int second = static_cast<int>(kRate / kBlock);
        double risingPeak = 0.0;
        double settledPeak = 0.0;
        for (int block = 0; block < 3 * second; ++block) {
            if (block == second)
                distortion.registry.registered(1)->setReal(0.9);
            distortion.stage.updateBlock(kBlock);
            std::vector<float> x = sineBlock(kBlock, 220.0, kRate, 0.25f, block * kBlock);
            distortion.stage.process(x.data(), kBlock);
            double peak = 0.0;
            for (float v : x)
                peak = std::max(peak, static_cast<double>(std::fabs(v)));
            double& phasePeak = block < 2 * second ? risingPeak : settledPeak;
            phasePeak = std::max(phasePeak, peak);
        }
        EXPECT_LT(risingPeak, 2.5 * settledPeak) << "type " << type;
    }
}

namespace {

// Noise and a swell, two lines' worth: the second line's signal differs from the first's.
std::vector<float> lineSignal(int frames, unsigned seed)
{
    std::vector<float> signal = sineBlock(frames, 330.0 + seed * 110.0, kRate, 0.4f);
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> noise(-0.3f, 0.3f);
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] = signal[i] * static_cast<float>(i) / static_cast<float>(signal.size()) + noise(generator);
    return signal;
}

} // namespace

// Two lines processed together, stage by stage, get the bits each gets alone: the filters and
// the shelves that run side by side.
TEST(StagesTogetherTest, EachLineGetsTheBitsItGetsAlone)
{
    const int frames = 3 * kBlock;
    const std::vector<float> first = lineSignal(frames, 1);
    const std::vector<float> second = lineSignal(frames, 2);

    Filter aloneA(Biquad::kLowPass, 800.0, 4.0, 1.0), aloneB(Biquad::kBandPass, 2000.0, 2.0, 3.0);
    Filter togetherA(Biquad::kLowPass, 800.0, 4.0, 1.0), togetherB(Biquad::kBandPass, 2000.0, 2.0, 3.0);
    // One sample ahead, the second filters' denormal bias alternates out of step with the first's.
    float lead[] = {0.25f, 0.25f};
    aloneB.stage.filter(&lead[0], 1);
    togetherB.stage.filter(&lead[1], 1);
    std::vector<float> a = first, b = second, c = first, d = second;
    aloneA.stage.filter(a.data(), frames);
    aloneB.stage.filter(b.data(), frames);
    FilterStage::filterBoth(togetherA.stage, c.data(), togetherB.stage, d.data(), frames);
    EXPECT_EQ(a, c);
    EXPECT_EQ(b, d);
    // Then alone, through a silence long enough for the alternating bias to show: the states the
    // pair left, phases too, are each filter's own.
    const int quiet = 40 * kBlock;
    a.assign(quiet, 0.0f), b.assign(quiet, 0.0f), c.assign(quiet, 0.0f), d.assign(quiet, 0.0f);
    aloneA.stage.filter(a.data(), quiet);
    aloneB.stage.filter(b.data(), quiet);
    togetherA.stage.filter(c.data(), quiet);
    togetherB.stage.filter(d.data(), quiet);
    EXPECT_EQ(a, c);
    EXPECT_EQ(b, d);

    Shelf shelfA(3000.0, 0.3), shelfB(6000.0, 0.6), shelfC(3000.0, 0.3), shelfD(6000.0, 0.6);
    a = first, b = second, c = first, d = second;
    shelfA.stage.process(a.data(), frames);
    shelfB.stage.process(b.data(), frames);
    ShelfStage::processBoth(shelfC.stage, c.data(), shelfD.stage, d.data(), frames);
    shelfA.stage.process(a.data(), kBlock);
    shelfB.stage.process(b.data(), kBlock);
    shelfC.stage.process(c.data(), kBlock);
    shelfD.stage.process(d.data(), kBlock);
    EXPECT_EQ(a, c);
    EXPECT_EQ(b, d);
}

namespace {

// One line's three stages, set up alike for the stages run one after another and for the pipeline.
struct Line {
    Line(int filterType, double level, double shelfLevel)
        : filter(filterType, 900.0, filterType == Biquad::kResonator ? 1.0 : 3.0, 2.0), distortion(0.6, level),
          shelf(5000.0, shelfLevel)
    {
    }

    LineStages stages() { return {&filter.stage, &distortion.stage, &shelf.stage}; }

    // The stages one after another, over one piece.
    void runAlone(float* block, int frames)
    {
        filter.stage.filter(block, frames);
        distortion.stage.process(block, frames);
        shelf.stage.process(block, frames);
    }

    Filter filter;
    Distortion distortion;
    Shelf shelf;
};

} // namespace

// The pipeline gives each line the bits its stages give one after another, for one line and for
// two side by side: pieces of every length against its runs, filters on or bypassed, shelves
// heard or skipped, curves steady or fading, and the states it leaves are the stages' own.
TEST(StagePipelineTest, EachLineGetsTheBitsOfItsStagesOneAfterAnother)
{
    // Each round's pieces make up a control block.
    const std::vector<int> rounds[] = {{1, 15, 16, 17, 40, 100, 67}, {kBlock}, {100, 156}};
    const int frames = 3 * kBlock;
    const std::vector<float> first = lineSignal(frames, 3);
    const std::vector<float> second = lineSignal(frames, 4);
    // The second line's filter: a low-pass, or a resonator at unit resonance, which is bypassed;
    // its shelf heard, or at 0.99 skipped.
    for (int filterType : {Biquad::kLowPass, Biquad::kResonator}) {
        for (double shelfLevel : {0.4, 0.99}) {
            Line aloneA(Biquad::kBandPass, 0.5, 0.3), aloneB(filterType, 0.3, shelfLevel);
            Line pairA(Biquad::kBandPass, 0.5, 0.3), pairB(filterType, 0.3, shelfLevel);
            Line single(filterType, 0.3, shelfLevel);
            std::vector<float> a = first, b = second, c = first, d = second, e = second;
            int at = 0;
            for (int round = 0; round < 3; ++round) {
                // The second round's pieces fade the curves of a new level.
                if (round == 1) {
                    for (Line* line : {&aloneB, &pairB, &single})
                        line->distortion.registry.registered(1)->setReal(0.7);
                }
                for (Line* line : {&aloneA, &aloneB, &pairA, &pairB, &single})
                    line->distortion.stage.updateBlock(kBlock);
                int done = 0;
                for (int piece : rounds[round]) {
                    const std::size_t i = static_cast<std::size_t>(at + done);
                    aloneA.runAlone(a.data() + i, piece);
                    aloneB.runAlone(b.data() + i, piece);
                    const LineStages both[] = {pairA.stages(), pairB.stages()};
                    float* const pair[] = {c.data() + i, d.data() + i};
                    StagePipeline::run(both, pair, piece);
                    const LineStages one[] = {single.stages()};
                    float* const alone[] = {e.data() + i};
                    StagePipeline::run(one, alone, piece);
                    done += piece;
                }
                at += done;
            }
            const std::string which = "filter type " + std::to_string(filterType) + ", shelf at " +
                                      std::to_string(shelfLevel);
            EXPECT_EQ(a, c) << which;
            EXPECT_EQ(b, d) << which;
            EXPECT_EQ(b, e) << which << ", one line";
            EXPECT_EQ(aloneB.distortion.stage.makeUpGain(), pairB.distortion.stage.makeUpGain());
            EXPECT_EQ(aloneB.distortion.stage.makeUpGain(), single.distortion.stage.makeUpGain());
            // The states each left: more signal through the stages alone.
            std::vector<float> after[3];
            Line* const lines[] = {&aloneB, &pairB, &single};
            for (int n = 0; n < 3; ++n) {
                after[n].assign(second.begin(), second.begin() + kBlock);
                lines[n]->distortion.stage.updateBlock(kBlock);
                lines[n]->runAlone(after[n].data(), kBlock);
            }
            EXPECT_EQ(after[0], after[1]) << which;
            EXPECT_EQ(after[0], after[2]) << which;
        }
    }
}
