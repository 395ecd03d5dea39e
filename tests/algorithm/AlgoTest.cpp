#include "AlgoHarness.h"
#include "ProgramSlot.h"
#include "WideLoops.h"

#include <gtest/gtest.h>

#include <random>

using harness::Harness;
using harness::Stereo;

namespace {

constexpr std::size_t kSecond = 44100;
// 0.75 beats at 120 BPM: 0.375 s, 16537.5 samples rounded up.
constexpr std::size_t kDefaultDelay = 16538;

// The samples of `signal` at `positions` must be `values`; everything else below `quiet`.
void expectOnly(const std::vector<float>& signal, const std::vector<std::pair<std::size_t, float>>& expected,
                float tolerance = 1e-5f, float quiet = 1e-5f)
{
    std::size_t next = 0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        if (next < expected.size() && expected[next].first == i) {
            EXPECT_NEAR(signal[i], expected[next].second, tolerance) << "at " << i;
            ++next;
        } else {
            ASSERT_LT(std::fabs(signal[i]), quiet) << "unexpected sample at " << i;
        }
    }
}

Stereo concatenate(const Stereo& a, const Stereo& b)
{
    Stereo joined = a;
    joined.left.insert(joined.left.end(), b.left.begin(), b.left.end());
    joined.right.insert(joined.right.end(), b.right.begin(), b.right.end());
    return joined;
}


} // namespace

TEST(AlgoTest, DefaultsGiveTheDrySignalAndEchoesEveryThreeQuartersOfABeat)
{
    Harness h;
    const Stereo out = h.render(harness::impulse(6 * kDefaultDelay));
    // One line, centred: each echo is the feedback 0.5 times half of left plus right.
    std::vector<std::pair<std::size_t, float>> expected = {{0, 1.0f}};
    float echo = 0.5f;
    for (std::size_t k = 1; k * kDefaultDelay < out.size(); ++k, echo *= 0.5f)
        expected.emplace_back(k * kDefaultDelay, echo);
    expectOnly(out.left, expected);
    expectOnly(out.right, expected);
}

TEST(AlgoTest, EchoTimesFollowTheTempoAndTheTimeParameters)
{
    Harness slower;
    slower.setReal("Tempo", 100.0);
    // 0.75 beats at 100 BPM: 0.45 s.
    expectOnly(slower.render(harness::impulse(20000)).left, {{0, 1.0f}, {19845, 0.5f}});

    Harness quarter;
    quarter.setText("D1 time", "1/4");
    quarter.setNormalized("D1 fdbk", 0.0f);
    // With no feedback the line is silent: its output reaches the listener only through it.
    expectOnly(quarter.render(harness::impulse(20000)).left, {{0, 1.0f}});
    quarter.setNormalized("D1 fdbk", 1.0f);
    const Stereo out = quarter.render(harness::impulse(6000));
    EXPECT_NEAR(out.left[5513], 1.0f, 1e-5f);

    // Four beats at 60 BPM is the longest delay: exactly four seconds.
    Harness longest;
    longest.setReal("Tempo", 60.0);
    longest.setReal("D1 time", 4.0);
    expectOnly(longest.render(harness::impulse(4 * kSecond + 10)).left, {{0, 1.0f}, {4 * kSecond, 0.5f}});
}

TEST(AlgoTest, PanLawLevelsAndTheDryGainShapeTheOutput)
{
    Harness h;
    h.setText("D1 pan", "L 50");
    h.setText("D1 level", "-6");
    h.setText("D1 fdbk", "80");
    h.setText("Predly lvl", "-oo");
    const Stereo out = h.render(harness::impulse(kDefaultDelay + 10, 1.0f, 0.5f));
    const float level = static_cast<float>(std::pow(10.0, -6.0 / 20.0));
    // The line carries left plus right (1.5); pan -0.5 puts 3/4 left and 1/4 right.
    expectOnly(out.left, {{kDefaultDelay, 0.8f * 0.75f * level * 1.5f}});
    expectOnly(out.right, {{kDefaultDelay, 0.8f * 0.25f * level * 1.5f}});

    Harness louder;
    louder.setText("Predly lvl", "6");
    EXPECT_NEAR(louder.render(harness::impulse(10)).left[0], std::pow(10.0, 6.0 / 20.0), 1e-5);
}

TEST(AlgoTest, TapsPanAndDelayTheInput)
{
    Harness h;
    h.setText("Tap 1 pan", "R 100");
    h.setNormalized("D1 fdbk", 0.0f);
    const Stereo out = h.render(harness::impulse(100, 0.25f, 0.5f));
    // Fully right: the right output takes left plus right, the left output nothing.
    expectOnly(out.left, {});
    expectOnly(out.right, {{0, 0.75f}});

    Harness taps;
    taps.setNormalized("D1 fdbk", 0.0f);
    taps.setText("Tap 1 level", "-oo");
    taps.setText("Tap 2 level", "0");
    taps.setText("Tap 2 time", "1/4");
    taps.setText("Tap 3 level", "-6");
    taps.setText("Tap 3 time", "1/2");
    taps.setText("Tap 3 pan", "L 100");
    const Stereo tapped = taps.render(harness::impulse(12000, 1.0f, 0.0f));
    const float half = static_cast<float>(std::pow(10.0, -6.0 / 20.0));
    expectOnly(tapped.left, {{5513, 1.0f}, {11025, half}});
    expectOnly(tapped.right, {});
}

TEST(AlgoTest, AllTapsSilentLeaveNothingForTheLines)
{
    Harness h;
    h.setText("Tap 1 level", "-oo");
    const Stereo out = h.render(harness::impulse(2 * kDefaultDelay));
    expectOnly(out.left, {}, 0.0f, 1e-30f);
}

TEST(AlgoTest, TwoLinesCrossFeedByTheSeparation)
{
    Harness h;
    h.setReal("Flags", 64 + 32);
    h.setText("D1 pan", "L 100");
    h.setText("D2 pan", "R 100");
    h.setText("Fdbk sep.", "100");
    // Ping-pong: left input enters line 1, whose echo is heard right, then left, then right.
    const Stereo pingPong = h.render(harness::impulse(3 * kDefaultDelay + 10, 1.0f, 0.0f));
    expectOnly(pingPong.left, {{0, 1.0f}, {2 * kDefaultDelay, 0.25f}});
    expectOnly(pingPong.right, {{kDefaultDelay, 0.5f}, {3 * kDefaultDelay, 0.125f}});

    Harness apart;
    apart.setReal("Flags", 64 + 32);
    apart.setText("D1 pan", "L 100");
    apart.setText("D2 pan", "R 100");
    apart.setText("Fdbk sep.", "0");
    const Stereo separate = apart.render(harness::impulse(2 * kDefaultDelay + 10, 1.0f, 0.0f));
    expectOnly(separate.left, {{0, 1.0f}, {kDefaultDelay, 0.5f}, {2 * kDefaultDelay, 0.25f}});
    expectOnly(separate.right, {});
}

TEST(AlgoTest, TwoLinesDefaultToHardLeftAndRight)
{
    Harness h;
    h.setReal("Flags", 64 + 32);
    h.algo().init2();
    EXPECT_EQ(h.param("D1 pan").text(), "Mid");
    // Defaults taken while two lines are active pan them apart.
    h.setReal("Flags", 64 + 32);
    h.render(harness::impulse(512, 0.0f, 0.0f));
    h.algo().init2();
    EXPECT_EQ(h.param("D1 pan").text(), "L 100");
    EXPECT_EQ(h.param("D2 pan").text(), "R 100");
}

TEST(AlgoTest, SustainSilencesTheTapsAndKeepsTheLineRecirculating)
{
    Harness h;
    const std::size_t first = 20000;
    Stereo out = h.render(harness::impulse(first));
    h.setReal("Flags", 64 + 16);
    // A new impulse while sustained: neither heard nor recorded.
    // The change is taken at the next control tick, 224 samples on.
    out = concatenate(out, h.render(harness::impulse(6 * kDefaultDelay, 1.0f, 1.0f, 1000)));
    EXPECT_LT(std::fabs(out.left[first + 1000]), 1e-6f);
    // Echoes from the third on repeat at a constant level, with nothing in between.
    const float third = out.left[3 * kDefaultDelay];
    EXPECT_GT(third, 0.05f);
    for (std::size_t k = 4; k * kDefaultDelay < out.size(); ++k)
        EXPECT_NEAR(out.left[k * kDefaultDelay], third, 1e-6f) << "echo " << k;
    EXPECT_LT(std::fabs(out.left[3 * kDefaultDelay + 1000]), 1e-6f);
}

TEST(AlgoTest, MuteSilencesALineWithoutStoppingIt)
{
    Harness reference;
    const Stereo expected = reference.render(harness::impulse(5 * kDefaultDelay + 10));

    Harness h;
    Stereo out = h.render(harness::impulse(20000));
    h.setReal("Flags", 64 + 8);
    out = concatenate(out, h.render(Stereo(2 * kDefaultDelay)));
    h.setReal("Flags", 64);
    out = concatenate(out, h.render(Stereo(expected.size() - out.size())));
    EXPECT_LT(std::fabs(out.left[2 * kDefaultDelay]), 1e-7f);
    EXPECT_LT(std::fabs(out.left[3 * kDefaultDelay]), 1e-7f);
    // Unmuted, the line sounds as if it had never been muted.
    EXPECT_FLOAT_EQ(out.left[4 * kDefaultDelay], expected.left[4 * kDefaultDelay]);
    EXPECT_FLOAT_EQ(out.left[5 * kDefaultDelay], expected.left[5 * kDefaultDelay]);
}

TEST(AlgoTest, ClearBitsEmptyTheirLine)
{
    for (int line = 0; line < 2; ++line) {
        Harness h;
        h.setReal("Flags", 64 + 32);
        h.setText("D1 pan", "L 100");
        h.setText("D2 pan", "R 100");
        Stereo out = h.render(harness::impulse(20000));
        h.setReal("Flags", 64 + 32 + (line == 0 ? 2 : 1));
        out = concatenate(out, h.render(Stereo(512)));
        h.setReal("Flags", 64 + 32);
        out = concatenate(out, h.render(harness::impulse(3 * kDefaultDelay, 1.0f, 1.0f, 1000)));
        const std::vector<float>& cleared = line == 0 ? out.left : out.right;
        const std::vector<float>& kept = line == 0 ? out.right : out.left;
        EXPECT_LT(std::fabs(cleared[2 * kDefaultDelay]), 1e-7f) << "line " << line + 1;
        EXPECT_NEAR(kept[2 * kDefaultDelay], 0.25f, 1e-5f) << "line " << line + 1;
        // A new signal after the clear echoes as usual.
        EXPECT_NEAR(cleared[20512 + 1000 + kDefaultDelay], 0.5f, 1e-5f) << "line " << line + 1;
    }
}

// A clear bit empties its line once, when it is set: a line whose bit stays set echoes new input
// as usual, however often the settings are applied (the moving separation applies them at every
// control block).
TEST(AlgoTest, AClearBitLeftSetClearsItsLineOnlyOnce)
{
    for (const char* depth : {"0", "50"}) {
        Harness h;
        h.setText("Fdbk sep. LFO depth", depth);
        h.render(harness::impulse(20000));
        h.setReal("Flags", 64 + 2);
        const Stereo out = h.render(harness::impulse(3 * kDefaultDelay, 1.0f, 1.0f, 1000));
        // The first impulse's third echo is gone.
        EXPECT_LT(std::fabs(out.left[3 * kDefaultDelay - 20000]), 1e-7f) << "depth " << depth;
        EXPECT_NEAR(out.left[1000 + kDefaultDelay], 0.5f, 1e-5f) << "depth " << depth;
        EXPECT_NEAR(out.left[1000 + 2 * kDefaultDelay], 0.25f, 1e-5f) << "depth " << depth;
    }
}

TEST(AlgoTest, WithoutTheRightOutputTheLeftCarriesBoth)
{
    harness::FakeHostDsp* host = new harness::FakeHostDsp;
    host->rightConnected = false;
    Harness h(44100.0f, host);
    h.setNormalized("D1 fdbk", 0.0f);
    const Stereo input = harness::impulse(64, 0.25f, 0.5f);
    Stereo out(input.size());
    std::fill(out.right.begin(), out.right.end(), 9.0f);
    const float* inputs[2] = {input.left.data(), input.right.data()};
    float* outputs[2] = {out.left.data(), out.right.data()};
    h.algo().processReplacing(inputs, outputs, 64);
    EXPECT_FLOAT_EQ(out.left[0], 0.75f);
    EXPECT_EQ(out.right, std::vector<float>(64, 9.0f));
    h.algo().process(inputs, outputs, 64);
    EXPECT_FLOAT_EQ(out.left[0], 1.5f);
}

TEST(AlgoTest, AddingProcessAccumulatesIntoTheOutputs)
{
    Harness h;
    const Stereo input = harness::impulse(32, 0.5f, 0.25f);
    Stereo out(32);
    std::fill(out.left.begin(), out.left.end(), 1.0f);
    const float* inputs[2] = {input.left.data(), input.right.data()};
    float* outputs[2] = {out.left.data(), out.right.data()};
    h.algo().process(inputs, outputs, 32);
    EXPECT_FLOAT_EQ(out.left[0], 1.5f);
    EXPECT_FLOAT_EQ(out.left[1], 1.0f);
    EXPECT_FLOAT_EQ(out.right[0], 0.25f);
}

TEST(AlgoTest, HostTempoIsFoldedIntoRangeAndBadTemposAreIgnored)
{
    Harness h;
    h.algo().hostTempo(30.0f);
    EXPECT_DOUBLE_EQ(h.param("Tempo").real(), 60.0);
    h.algo().hostTempo(500.0f);
    EXPECT_DOUBLE_EQ(h.param("Tempo").real(), 125.0);
    h.algo().hostTempo(7.5f);
    EXPECT_DOUBLE_EQ(h.param("Tempo").real(), 60.0);
    for (float bad : {0.0f, -120.0f, std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN()})
        h.algo().hostTempo(bad);
    EXPECT_DOUBLE_EQ(h.param("Tempo").real(), 60.0);
    EXPECT_DOUBLE_EQ(h.algo().tempoContext().tempo(), 60.0);
}

TEST(AlgoTest, ProgramsApplyEveryValueButTheTempoWhenTheHostHasOne)
{
    Harness h;
    mppi::ProgramSlot program;
    h.algo().storeProgram(program);
    ASSERT_EQ(program.valueCount(), 121);
    EXPECT_FLOAT_EQ(program.value(2), h.param("Predly lvl").normalized());
    program.setValue(1, 1.0f);
    program.setValue(60, 0.2f);
    h.algo().applyProgram(program);
    EXPECT_DOUBLE_EQ(h.param("Tempo").real(), 240.0);
    EXPECT_FLOAT_EQ(h.param("D1 time").normalized(), 0.2f);

    harness::FakeHostDsp* host = new harness::FakeHostDsp;
    host->canTempo = 1.0;
    Harness hosted(44100.0f, host);
    hosted.algo().applyProgram(program);
    EXPECT_DOUBLE_EQ(hosted.param("Tempo").real(), 120.0);
    EXPECT_FLOAT_EQ(hosted.param("D1 time").normalized(), 0.2f);

    h.algo().setProgramName("Mine");
    EXPECT_EQ(h.algo().programName(), "Mine");
}

TEST(AlgoTest, IdentityQueriesPinsAndRates)
{
    Harness h;
    Algo& algo = h.algo();
    EXPECT_EQ(algo.query("can_mono"), 1.0);
    EXPECT_EQ(algo.query("can_scaled_val"), 0.0);
    EXPECT_EQ(algo.query("plugin_version"), 1.03);
    EXPECT_EQ(algo.query("anything"), 0.0);
    EXPECT_EQ(algo.queryText("plugin_name"), "Zorvane");
    EXPECT_EQ(algo.queryText("other"), "");
    ASSERT_EQ(algo.inputGroupCount(), 1);
    EXPECT_EQ(algo.inputGroup(0)->name(), "Input");
    EXPECT_EQ(algo.inputGroup(0)->channelName(1), "Right input");
    EXPECT_EQ(algo.outputGroup(0)->channelName(0), "Left output");
    EXPECT_EQ(algo.outputGroup(1), nullptr);
    algo.setSampleRate(1000.0f);
    EXPECT_EQ(algo.sampleRate(), 4000.0f);
    algo.setSampleRate(1e7f);
    EXPECT_EQ(algo.sampleRate(), 384000.0f);
    algo.setSampleRate(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(algo.sampleRate(), 384000.0f);
}

TEST(AlgoTest, NonFiniteInputIsSilenceAndThePluginRecovers)
{
    const Stereo clean = harness::noise(3 * kSecond, 0.3f);
    Stereo poisoned = clean;
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    for (std::size_t i = 10000; i < 10300; ++i) {
        poisoned.left[i] = bad[i % 3];
        poisoned.right[i] = bad[(i + 1) % 3];
    }
    Stereo silenced = clean;
    std::fill(silenced.left.begin() + 10000, silenced.left.begin() + 10300, 0.0f);
    std::fill(silenced.right.begin() + 10000, silenced.right.begin() + 10300, 0.0f);

    // On the AVX2 paths where the processor has them, and on the plain ones.
    for (const bool wide : {true, false}) {
        mppi::wide_loops::setEnabled(wide);
        Harness a;
        Harness b;
        for (Harness* h : {&a, &b}) {
            h->setReal("Flags", 64 + 32);
            h->setReal("D1 filt type", 0.0);
            h->setText("D1 disto lvl", "40");
        }
        const Stereo out = a.render(poisoned);
        const Stereo expected = b.render(silenced);
        for (std::size_t i = 0; i < out.size(); ++i)
            ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i])) << "at " << i;
        EXPECT_EQ(out.left, expected.left);
        EXPECT_EQ(out.right, expected.right);
    }
    mppi::wide_loops::setEnabled(true);
}

TEST(AlgoTest, WildNormalizedValuesNeverGiveNonFiniteOutputOrARunawayLoop)
{
    std::mt19937 generator(3);
    std::uniform_real_distribution<float> wild(-10.0f, 10.0f);
    Harness h;
    Stereo out;
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < h.algo().paramCount(); ++i) {
            float value = wild(generator);
            if (round % 7 == 3 && i % 5 == 0)
                value = std::numeric_limits<float>::quiet_NaN();
            if (round % 5 == 1)
                value = value > 0.0f ? 1e30f : -1e30f;
            h.algo().param(i)->setNormalized(value);
        }
        out = h.render(harness::noise(kSecond / 4, 1.0f, static_cast<unsigned>(round)));
        for (std::size_t i = 0; i < out.size(); ++i) {
            ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i])) << "round " << round;
            ASSERT_LT(std::fabs(out.left[i]) + std::fabs(out.right[i]), 1000.0f) << "round " << round;
        }
    }
}
