#include "TestParams.h"

#include "FullLfoParam.h"
#include "LfoModifiers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace mppi;
using testing_params::LineLevel;
using testing_params::RecordingListener;

namespace {

constexpr int kBlock = 256;

struct Feedback : OffsetModifier<Feedback> {
    static constexpr double kLow = 0.0, kHigh = 1.0;
};
struct Time : ScaledModifier<Time> {
    static constexpr double kLow = 1.0 / 128.0, kHigh = 4.0;
};
struct Cutoff : ExponentialModifier<Cutoff> {
    static constexpr double kLow = 40.0, kHigh = 10240.0;
};
using Pan = PanSpreadModifier;

// One LFO group on a "D1 level" base, registered in a fresh registry, with a recording owner.
template <class Modifier>
struct Group {
    explicit Group(double base, float rampTime = 0.0f)
    {
        auto param = std::make_shared<LineLevel>();
        param->init(base, 3, 0);
        lfo.setListener(&owner);
        lfo.setup(param, registry);
        lfo.setRampTime(rampTime);
    }

    void set(int index, float normalized) { registry.registered(index)->setNormalized(normalized); }
    void setWaveform(int type) { set(3, static_cast<float>(type) / 9.0f); }
    void setDepth(double depth) { set(2, static_cast<float>(depth)); }

    PluginInternal registry;
    RecordingListener owner;
    FullLfoParam<Modifier, 1> lfo;
};

} // namespace

TEST(FullLfoParamTest, SetupRegistersBaseThenPeriodDepthWaveformWithTheBaseName)
{
    Group<Feedback> group(0.5);
    ASSERT_EQ(group.registry.registeredCount(), 4);
    EXPECT_EQ(group.registry.registered(0)->name(), "D1 level");
    EXPECT_EQ(group.registry.registered(1)->name(), "D1 level LFO period");
    EXPECT_EQ(group.registry.registered(2)->name(), "D1 level LFO depth");
    EXPECT_EQ(group.registry.registered(3)->name(), "D1 level LFO WF");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(group.registry.registered(i)->automationLevel(), 3);
        EXPECT_EQ(group.registry.registered(i)->listener(), &group.lfo);
    }
    EXPECT_DOUBLE_EQ(group.lfo.period()->real(), 1.0);
    EXPECT_DOUBLE_EQ(group.lfo.depth()->real(), 0.0);
    EXPECT_DOUBLE_EQ(group.lfo.waveform()->real(), 0.0);
    EXPECT_DOUBLE_EQ(group.lfo.output(), 0.5);
}

TEST(FullLfoParamTest, NotificationsOnlyMarkTheGroupAndReachTheOwner)
{
    Group<Feedback> group(0.5);
    group.set(0, 0.75f);
    ASSERT_EQ(group.owner.sources.size(), 1u);
    EXPECT_EQ(group.owner.sources[0], &group.lfo);
    // Nothing moves until the next control block.
    EXPECT_DOUBLE_EQ(group.lfo.output(), 0.5);
    group.lfo.updateBlock(kBlock);
    EXPECT_DOUBLE_EQ(group.lfo.output(), 0.75);
    EXPECT_EQ(group.owner.sources.size(), 2u);
}

TEST(FullLfoParamTest, DepthZeroGivesTheBaseAndFreezesThePhase)
{
    Group<Feedback> group(0.3);
    group.setWaveform(LfoGenerator::kRampUp);
    group.owner.sources.clear();
    for (int block = 0; block < 100; ++block) {
        group.lfo.updateBlock(kBlock);
        EXPECT_NEAR(group.lfo.output(), 0.3, 1e-7);
    }
    EXPECT_EQ(group.lfo.generator().phase(), 0.0);
    // A steady group stops telling its owner once the settings are taken.
    EXPECT_EQ(group.owner.sources.size(), 1u);

    group.setDepth(0.5);
    group.lfo.updateBlock(kBlock);
    EXPECT_GT(group.lfo.generator().phase(), 0.0);
    group.setDepth(0.0);
    group.lfo.updateBlock(kBlock);
    const double frozen = group.lfo.generator().phase();
    group.lfo.updateBlock(kBlock);
    EXPECT_EQ(group.lfo.generator().phase(), frozen);
}

TEST(FullLfoParamTest, SquareAtFullDepthOnHalfFeedbackAlternatesFullAndNone)
{
    Group<Feedback> group(0.5);
    group.setWaveform(LfoGenerator::kSquare);
    group.setDepth(1.0);
    // One beat at 120 BPM is 22050 samples: half a period is about 43 blocks.
    std::vector<double> outputs;
    for (int block = 0; block < 172; ++block) {
        group.lfo.updateBlock(kBlock);
        outputs.push_back(group.lfo.output());
    }
    int changes = 0;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        EXPECT_TRUE(outputs[i] == 1.0 || outputs[i] == 0.0) << outputs[i];
        if (i > 0 && outputs[i] != outputs[i - 1])
            ++changes;
    }
    EXPECT_EQ(outputs.front(), 1.0);
    EXPECT_EQ(outputs[50], 0.0);
    EXPECT_EQ(changes, 3);
    // While it runs, the group tells its owner every block.
    EXPECT_GE(group.owner.sources.size(), 172u);
}

TEST(FullLfoParamTest, RestartBeginsEachWaveformAtItsStart)
{
    const std::pair<int, double> starts[] = {
        {LfoGenerator::kTriangle, 1.0}, {LfoGenerator::kSine, 0.0}, {LfoGenerator::kCosUp, -1.0}};
    for (auto [type, start] : starts) {
        Group<Pan> group(0.0);
        group.setWaveform(type);
        group.setDepth(1.0);
        for (int block = 0; block < 7; ++block)
            group.lfo.updateBlock(kBlock);
        group.lfo.restart();
        EXPECT_NEAR(group.lfo.output(), start, 1e-4) << LfoGenerator::waveformName(type);
    }
}

TEST(FullLfoParamTest, ModifierClampsEvenWhenTheNoiseIsNot)
{
    Group<Feedback> group(0.9);
    group.setWaveform(LfoGenerator::kBrownNoise);
    group.setDepth(1.0);
    double lowest = 1.0;
    double highest = 0.0;
    for (int block = 0; block < 5000; ++block) {
        group.lfo.updateBlock(kBlock);
        lowest = std::min(lowest, group.lfo.output());
        highest = std::max(highest, group.lfo.output());
    }
    EXPECT_GE(lowest, 0.0);
    EXPECT_EQ(highest, 1.0);
}

TEST(FullLfoParamTest, TempoChangeMovesThePeriodAtOnceAndKeepsThePhase)
{
    Group<Feedback> group(0.5);
    group.setWaveform(LfoGenerator::kSine);
    group.setDepth(1.0);
    for (int block = 0; block < 10; ++block)
        group.lfo.updateBlock(kBlock);
    const double phase = group.lfo.generator().phase();
    EXPECT_DOUBLE_EQ(group.lfo.generator().period(), 0.5);

    group.registry.tempoContext().setTempo(240.0);
    group.lfo.tempoChanged();
    EXPECT_DOUBLE_EQ(group.lfo.generator().period(), 0.25);
    EXPECT_EQ(group.lfo.generator().phase(), phase);
    group.lfo.updateBlock(kBlock);
    EXPECT_NEAR(group.lfo.generator().phase() - phase, 16.0 * kBlock / (44100.0 * 0.25), 1e-9);
}

TEST(FullLfoParamTest, TwoGroupsDrawingAlikeGiveTheSameNoise)
{
    Group<Pan> first(0.0);
    Group<Pan> second(0.0);
    for (auto* group : {&first, &second}) {
        group->setWaveform(LfoGenerator::kWhiteNoise);
        group->setDepth(1.0);
    }
    for (int block = 0; block < 30; ++block) {
        first.lfo.updateBlock(kBlock);
        second.lfo.updateBlock(kBlock);
        EXPECT_EQ(first.lfo.output(), second.lfo.output());
    }
}

TEST(FullLfoParamTest, RampedBaseGlidesAndRestartSnapsIt)
{
    Group<Feedback> group(0.0, 0.1f);
    group.set(0, 1.0f);
    group.lfo.updateBlock(kBlock);
    EXPECT_GT(group.lfo.output(), 0.0);
    EXPECT_LT(group.lfo.output(), 0.1);
    group.lfo.restart();
    EXPECT_DOUBLE_EQ(group.lfo.output(), 1.0);
}

TEST(FullLfoParamTest, SampleRateChangesTheIncrement)
{
    Group<Feedback> group(0.5);
    group.setWaveform(LfoGenerator::kRampUp);
    group.setDepth(1.0);
    group.lfo.setSampleRate(88200.0f);
    group.lfo.updateBlock(kBlock);
    EXPECT_NEAR(group.lfo.generator().phase(), 16.0 * kBlock / (88200.0 * 0.5), 1e-9);
}

TEST(LfoModifiersTest, EachShapeSwingsAndClampsAsItsBlockNeeds)
{
    EXPECT_DOUBLE_EQ(PanSpreadModifier::apply(0.5, 1.0, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(PanSpreadModifier::apply(0.5, -1.0, 1.0), 0.0);
    EXPECT_DOUBLE_EQ(PanSpreadModifier::apply(-1.0, 1.0, 1.0), -1.0);
    EXPECT_DOUBLE_EQ(PanSpreadModifier::apply(0.0, -1.0, 0.5), -0.5);

    EXPECT_DOUBLE_EQ(Time::apply(1.0, 0.5, 1.0), 1.5);
    EXPECT_DOUBLE_EQ(Time::apply(3.0, 1.0, 1.0), 4.0);
    EXPECT_DOUBLE_EQ(Time::apply(0.5, -1.0, 1.0), 1.0 / 128.0);

    EXPECT_DOUBLE_EQ(Feedback::apply(0.5, 1.0, 0.5), 0.75);
    EXPECT_DOUBLE_EQ(Feedback::apply(0.9, 1.0, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(Feedback::apply(0.1, -1.0, 1.0), 0.0);

    EXPECT_DOUBLE_EQ(Cutoff::apply(1000.0, 1.0, 0.5), 2000.0);
    EXPECT_DOUBLE_EQ(Cutoff::apply(1000.0, -1.0, 1.0), 250.0);
    EXPECT_DOUBLE_EQ(Cutoff::apply(10000.0, 1.0, 1.0), 10240.0);
    EXPECT_DOUBLE_EQ(Cutoff::apply(100.0, -1.0, 1.0), 40.0);
}
