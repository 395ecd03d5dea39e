#include "TestParams.h"

#include "ParamLfoDepth.h"
#include "ParamLfoPer.h"
#include "ParamLfoWf.h"
#include "PluginInternal.h"
#include "ProgramSlot.h"

#include <gtest/gtest.h>

#include <memory>

using namespace mppi;
using testing_params::LineLevel;
using testing_params::RecordingListener;
using testing_params::TapPan;

namespace {

// Records the order of hook and notification.
class HookedLevel : public LineLevel, public NotifiedInterface {
public:
    HookedLevel() { setListener(this); }
    void valueChanged() override { events.push_back("hook " + std::to_string(real())); }
    void notify(NotifierInterface*) override { events.push_back("notify"); }
    std::vector<std::string> events;
};

} // namespace

TEST(ParamTest, NumberedNamesJoinPrefixUnitNumberAndSuffix)
{
    LineLevel level;
    level.init(1.0, 1, 1);
    EXPECT_EQ(level.name(), "D2 level");
    TapPan pan;
    pan.init(0.0, 3, 0);
    EXPECT_EQ(pan.name(), "Tap 1 pan");
    EXPECT_EQ(pan.unitNumber(), 0);
    EXPECT_EQ(pan.automationLevel(), 3);
}

TEST(ParamTest, AParameterNeverInitialisedHasLevelMinusOneAndNoListener)
{
    LineLevel level;
    EXPECT_EQ(level.automationLevel(), -1);
    EXPECT_EQ(level.listener(), nullptr);
    level.setNormalized(0.25f);
    EXPECT_DOUBLE_EQ(level.real(), 0.25);
}

TEST(ParamTest, ChangesStoreBothViewsRunTheHookThenNotify)
{
    HookedLevel level;
    level.init(0.5, 1, 0);
    EXPECT_TRUE(level.events.empty());
    EXPECT_FLOAT_EQ(level.normalized(), 0.5f);

    level.setNormalized(0.25f);
    EXPECT_DOUBLE_EQ(level.real(), 0.25);
    level.setReal(0.75);
    EXPECT_FLOAT_EQ(level.normalized(), 0.75f);
    const std::vector<std::string> expected = {"hook 0.250000", "notify", "hook 0.750000", "notify"};
    EXPECT_EQ(level.events, expected);
}

TEST(ParamTest, RegistryIndexIsTheAddingOrderAndSharesOwnership)
{
    PluginInternal registry;
    auto first = std::make_shared<LineLevel>();
    auto second = std::make_shared<TapPan>();
    registry.addParam(first);
    registry.addParam(second);
    EXPECT_EQ(registry.registeredCount(), 2);
    EXPECT_EQ(registry.registered(0), first.get());
    EXPECT_EQ(registry.registered(1), second.get());
    EXPECT_EQ(registry.registered(2), nullptr);
    EXPECT_EQ(registry.registered(-1), nullptr);
    EXPECT_EQ(first.use_count(), 2);
}

TEST(ParamTest, LfoPeriodCoversBeatsExponentiallyAndUsesTheTempoTexts)
{
    TempoContext tempo;
    tempo.setMode(TempoContext::kBeats);
    ParamLfoPer<1> period(tempo);
    period.init(1.0, 4, "D1 time");
    EXPECT_EQ(period.name(), "D1 time LFO period");
    EXPECT_EQ(period.automationLevel(), 4);
    EXPECT_EQ(period.unitLabel(), "beat");
    EXPECT_NEAR(period.normalized(), 6.0 / 14.0, 1e-7);
    EXPECT_DOUBLE_EQ(period.toReal(0.0f), 1.0 / 64.0);
    EXPECT_DOUBLE_EQ(period.toReal(1.0f), 256.0);
    EXPECT_EQ(period.text(), "1");
    EXPECT_EQ(period.valueText(0.25), "1/4");
    EXPECT_EQ(period.valueText(1.5), "1 1/2");

    tempo.setMode(TempoContext::kMilliseconds);
    EXPECT_EQ(period.unitLabel(), "ms");
    EXPECT_EQ(period.valueText(1.0), "500.00");

    bool understood = false;
    EXPECT_DOUBLE_EQ(period.parse("1000 ms", understood), 2.0);
    EXPECT_TRUE(understood);
    EXPECT_DOUBLE_EQ(period.parse("1000 s", understood), 256.0);
    EXPECT_DOUBLE_EQ(period.parse("0 ms", understood), 1.0 / 64.0);
    bool refused = false;
    period.parse("nan", refused);
    period.parse("slow", refused);
    EXPECT_FALSE(refused);
}

TEST(ParamTest, LfoDepthIsAPercentage)
{
    ParamLfoDepth depth;
    depth.init(0.0, 2, "D1 filt Q");
    EXPECT_EQ(depth.name(), "D1 filt Q LFO depth");
    EXPECT_EQ(depth.unitLabel(), "%");
    EXPECT_EQ(depth.text(), "0.00");
    EXPECT_EQ(depth.valueText(1.0), "100.00");
    bool understood = false;
    EXPECT_DOUBLE_EQ(depth.parse("37.5", understood), 0.375);
    EXPECT_DOUBLE_EQ(depth.parse("250", understood), 1.0);
    EXPECT_DOUBLE_EQ(depth.parse("-3", understood), 0.0);
    EXPECT_TRUE(understood);
}

TEST(ParamTest, LfoWaveformIsSteppedNamedAndCannotBeTyped)
{
    ParamLfoWf waveform;
    waveform.init(0.0, 1, "Fdbk sep.");
    EXPECT_EQ(waveform.name(), "Fdbk sep. LFO WF");
    EXPECT_EQ(waveform.unitLabel(), "");
    EXPECT_EQ(waveform.text(), "Sine");
    EXPECT_DOUBLE_EQ(waveform.toReal(1.0f), 9.0);
    // Halves go up: 9 * 0.5 + 0.5 = 5.
    EXPECT_DOUBLE_EQ(waveform.toReal(0.5f), 5.0);
    EXPECT_EQ(waveform.valueText(5.0), "Ramp down");
    EXPECT_EQ(waveform.valueText(9.0), "White noise");
    EXPECT_EQ(waveform.valueText(12.0), "");
    EXPECT_FLOAT_EQ(waveform.toNormalized(3.0), 1.0f / 3.0f);
    bool understood = false;
    waveform.parse("Sine", understood);
    waveform.parse("0", understood);
    EXPECT_FALSE(understood);
}

TEST(ProgramSlotTest, StartsEmptyNamedDefaultAndIgnoresIndexesOutside)
{
    ProgramSlot slot;
    EXPECT_EQ(slot.name(), "Default");
    EXPECT_EQ(slot.valueCount(), 0);
    EXPECT_EQ(slot.dataSize(), 0);
    slot.setValueCount(3);
    slot.setValue(1, 0.5f);
    slot.setValue(3, 1.0f);
    slot.setValue(-1, 1.0f);
    EXPECT_EQ(slot.value(0), 0.0f);
    EXPECT_EQ(slot.value(1), 0.5f);
    EXPECT_EQ(slot.value(3), 0.0f);

    ProgramSlot copy;
    slot.setName("Copy me");
    copy = slot;
    EXPECT_EQ(copy.name(), "Copy me");
    EXPECT_EQ(copy.value(1), 0.5f);
}
