// The eight presets in the host's saved state: a fresh instance's seeds, the round trip into
// another instance, and every refused state leaving the instance as it was, with one error in
// the host's log.
#include "FakeStateServices.h"
#include "FakeUridMap.h"

#include "BankFiles.h"
#include "FixedPorts.h"
#include "Lv2Plugin.h"
#include "StateKeys.h"

#include <gtest/gtest.h>
#include <lv2/atom/atom.h>
#include <lv2/log/log.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 48000.0;

class StateTest : public ::testing::Test {
protected:
    std::unique_ptr<lv2port::Lv2Plugin> instance(bool withLog = true)
    {
        const LV2_Feature map{LV2_URID__map, &map_.feature};
        const LV2_Feature log{LV2_LOG__log, &log_.feature};
        const LV2_Feature* features[] = {&map, withLog ? &log : nullptr, nullptr};
        return std::make_unique<lv2port::Lv2Plugin>(kRate, features);
    }
    FakeStore saved(lv2port::Lv2Plugin& plugin)
    {
        FakeStore store;
        EXPECT_EQ(plugin.save(FakeStore::store, &store), LV2_STATE_SUCCESS);
        return store;
    }
    std::vector<std::uint8_t>& body(FakeStore& store) { return store.values[urid(lv2port::kPresetsKey)].bytes; }
    LV2_URID urid(const lv2port::StateKeyText& key) { return map_.map(lv2port::state_uri(key)); }
    // Every preset's name and values.
    static std::vector<std::pair<std::string, std::vector<float>>> contents(const mppi::BankManager& bank)
    {
        std::vector<std::pair<std::string, std::vector<float>>> programs;
        for (int index = 0; index < bank.count(); ++index) {
            const mppi::ProgramSlot& slot = bank.program(index);
            std::vector<float> values;
            for (int value = 0; value < slot.valueCount(); ++value)
                values.push_back(slot.value(value));
            programs.emplace_back(slot.name(), values);
        }
        return programs;
    }
    // A plug-in whose presets differ from the seeds in a name and a value.
    std::unique_ptr<lv2port::Lv2Plugin> edited()
    {
        auto plugin = instance();
        mppi::ProgramSlot& slot = plugin->presets().bank().program(5);
        slot.setName("Edited");
        slot.setValue(3, slot.value(3) > 0.5f ? 0.125f : 0.875f);
        return plugin;
    }

    FakeUridMap map_;
    FakeLog log_;
};

// Runs `blocks` blocks of a ramp through the plug-in, restoring `state` before the last one when
// given; answers the output.
std::vector<float> play(lv2port::Lv2Plugin& plugin, int blocks, FakeStore* state)
{
    constexpr std::uint32_t kBlock = 256;
    std::vector<float> in(kBlock), left(kBlock), right(kBlock), output;
    plugin.connect(lv2port::kInputLeft, in.data());
    plugin.connect(lv2port::kInputRight, in.data());
    plugin.connect(lv2port::kOutputLeft, left.data());
    plugin.connect(lv2port::kOutputRight, right.data());
    plugin.activate();
    for (int block = 0; block < blocks; ++block) {
        for (std::uint32_t frame = 0; frame < kBlock; ++frame)
            in[frame] = static_cast<float>((block * kBlock + frame) % 97) / 97.0f - 0.5f;
        if (state && block == blocks - 1) {
            EXPECT_EQ(plugin.restore(FakeStore::retrieve, state), LV2_STATE_SUCCESS);
        }
        plugin.run(kBlock);
        output.insert(output.end(), left.begin(), left.end());
        output.insert(output.end(), right.begin(), right.end());
    }
    return output;
}

} // namespace

TEST_F(StateTest, AFreshInstanceHoldsTheEditorsSeedPresets)
{
    mppi::BankManager seeds;
    ASSERT_EQ(mppi::load_bank_resource(mppi::PresetBank::kSeedBank, seeds), 0);
    ASSERT_EQ(seeds.count(), mppi::PresetBank::kPresets);
    EXPECT_EQ(contents(instance()->presets().bank()), contents(seeds));
}

TEST_F(StateTest, SavedPresetsRestoreIntoAFreshInstanceAndLeaveItsSoundAlone)
{
    auto source = edited();
    FakeStore state = saved(*source);
    ASSERT_EQ(state.values.size(), 2u);
    const FakeStore::Value& version = state.values[urid(lv2port::kStateVersionKey)];
    EXPECT_EQ(version.type, map_.map(LV2_ATOM__Int));
    EXPECT_EQ(version.bytes, std::vector<std::uint8_t>({1, 0, 0, 0}));
    const FakeStore::Value& presets = state.values[urid(lv2port::kPresetsKey)];
    EXPECT_EQ(presets.type, urid(lv2port::kPresetBankType));
    EXPECT_EQ(presets.flags, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
    std::vector<std::uint8_t> file(presets.bytes.size());
    EXPECT_EQ(source->presets().bank().serialize(file.data()), 0);
    EXPECT_EQ(presets.bytes, file) << "the value is the body of a bank file";

    auto restored = instance();
    auto untouched = instance();
    const std::vector<float> restoredSound = play(*restored, 3, &state);
    EXPECT_EQ(contents(restored->presets().bank()), contents(source->presets().bank()));
    EXPECT_EQ(restoredSound, play(*untouched, 3, nullptr)) << "the presets are not the sound";
    EXPECT_TRUE(log_.lines.empty());
}

TEST_F(StateTest, AStateWithoutPresetsKeepsTheInstancesPresets)
{
    auto plugin = edited();
    const auto before = contents(plugin->presets().bank());
    FakeStore empty;
    EXPECT_EQ(plugin->restore(FakeStore::retrieve, &empty), LV2_STATE_SUCCESS);
    EXPECT_EQ(contents(plugin->presets().bank()), before);
    EXPECT_TRUE(log_.lines.empty());
}

TEST_F(StateTest, ARefusedStateLogsOneErrorAndChangesNothing)
{
    auto source = edited();
    const LV2_URID versionKey = urid(lv2port::kStateVersionKey);
    const LV2_URID presetsKey = urid(lv2port::kPresetsKey);
    auto fewer = [&](int programs, int values) {
        mppi::BankManager bank = source->presets().bank();
        bank.resize(programs);
        for (int index = 0; index < programs; ++index)
            bank.program(index).setValueCount(values);
        std::vector<std::uint8_t> bytes(bank.get_serialized_size());
        EXPECT_EQ(bank.serialize(bytes.data()), 0);
        return bytes;
    };
    const int valueCount = source->presets().bank().program(0).valueCount();
    struct Case {
        const char* name;
        std::function<void(FakeStore&)> spoil;
        LV2_State_Status status;
        const char* logged;
    };
    const Case cases[] = {
        {"truncated by a byte", [&](FakeStore& s) { body(s).pop_back(); }, LV2_STATE_ERR_UNKNOWN, "truncated"},
        {"shorter than a bank's header", [&](FakeStore& s) { body(s).resize(5); }, LV2_STATE_ERR_UNKNOWN, "truncated"},
        {"presets as a plain chunk", [&](FakeStore& s) { s.values[presetsKey].type = map_.map(LV2_ATOM__Chunk); },
         LV2_STATE_ERR_BAD_TYPE, "type"},
        {"version as a float", [&](FakeStore& s) { s.values[versionKey].type = map_.map(LV2_ATOM__Float); },
         LV2_STATE_ERR_BAD_TYPE, "atom:Int"},
        {"version of eight bytes", [&](FakeStore& s) { s.values[versionKey].bytes.resize(8); }, LV2_STATE_ERR_BAD_TYPE,
         "atom:Int"},
        {"absurd size", [&](FakeStore& s) { body(s).resize(mppi::PresetBank::kLargestBody + 1); },
         LV2_STATE_ERR_UNKNOWN, "absurd"},
        {"newer version", [&](FakeStore& s) { s.values[versionKey].bytes = {2, 0, 0, 0}; }, LV2_STATE_ERR_UNKNOWN,
         "newer"},
        {"version 0", [&](FakeStore& s) { s.values[versionKey].bytes = {0, 0, 0, 0}; }, LV2_STATE_ERR_UNKNOWN,
         "does not exist"},
        {"no version", [&](FakeStore& s) { s.values.erase(versionKey); }, LV2_STATE_ERR_NO_PROPERTY, "no version"},
        {"no presets", [&](FakeStore& s) { s.values.erase(presetsKey); }, LV2_STATE_ERR_NO_PROPERTY, "no presets"},
        {"seven presets", [&](FakeStore& s) { body(s) = fewer(7, valueCount); }, LV2_STATE_ERR_UNKNOWN,
         "eight presets"},
        {"a value fewer", [&](FakeStore& s) { body(s) = fewer(8, valueCount - 1); }, LV2_STATE_ERR_UNKNOWN,
         "parameter count"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FakeStore state = saved(*source);
        test.spoil(state);
        auto plugin = instance();
        const auto before = contents(plugin->presets().bank());
        log_.lines.clear();
        EXPECT_EQ(plugin->restore(FakeStore::retrieve, &state), test.status);
        EXPECT_EQ(contents(plugin->presets().bank()), before);
        ASSERT_EQ(log_.lines.size(), 1u);
        EXPECT_EQ(log_.lines[0].type, map_.map(LV2_LOG__Error));
        EXPECT_NE(log_.lines[0].text.find(test.logged), std::string::npos) << log_.lines[0].text;
    }
}

TEST_F(StateTest, WithoutTheHostsLogARefusedStateIsStillAnError)
{
    FakeStore state = saved(*edited());
    body(state).resize(3);
    auto plugin = instance(false);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(plugin->restore(FakeStore::retrieve, &state), LV2_STATE_ERR_UNKNOWN);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("truncated"), std::string::npos);
}

TEST_F(StateTest, WithoutTheUridMapTheStateIsRefused)
{
    const LV2_Feature log{LV2_LOG__log, &log_.feature};
    const LV2_Feature* features[] = {&log, nullptr};
    lv2port::Lv2Plugin plugin(kRate, features);
    FakeStore state;
    EXPECT_EQ(plugin.save(FakeStore::store, &state), LV2_STATE_ERR_NO_FEATURE);
    EXPECT_TRUE(state.values.empty());
    EXPECT_EQ(plugin.restore(FakeStore::retrieve, &state), LV2_STATE_ERR_NO_FEATURE);
    EXPECT_EQ(log_.lines.size(), 2u);
}
