// The saved state through lilv as a session host keeps it, with the project's lilv host
// (tools/lv2host): a built-in preset applied by URI, saved as Turtle and restored into another
// instance, edited presets surviving the text, and a refused state reported by the host's log.
#include "FakeUridMap.h"
#include "LilvBundle.h"

#include "PresetBank.h"
#include "ProductInfo.h"

#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <sys/wait.h>

namespace {

constexpr const char* kPresets = "http://lv2plug.in/ns/ext/presets#";

std::string base64(const std::vector<std::uint8_t>& bytes)
{
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t left = bytes.size() - at;
        const std::uint32_t group =
            bytes[at] << 16 | (left > 1 ? bytes[at + 1] << 8 : 0) | (left > 2 ? bytes[at + 2] : 0);
        for (std::size_t digit = 0; digit < 4; ++digit)
            text += digit <= left ? kDigits[group >> (18 - 6 * digit) & 63] : '=';
    }
    return text;
}

class StateHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(bundle_.plugin(), nullptr);
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override
    {
        for (LilvState* state : states_)
            lilv_state_free(state);
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    // Runs the host on the plug-in in the test's folder; answers its exit status, its standard
    // error in `errors`.
    int host(const std::string& arguments)
    {
        const std::string command = "cd '" + folder_.string() + "' && LV2_PATH='" + LV2_FOLDER + "' '" +
                                    LV2_STATE_HOST + "' '" + product::kLv2Uri + "' " + arguments + " 2>'" +
                                    path("errors.txt") + "'";
        const int status = std::system(command.c_str());
        errors = read("errors.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string read(const std::string& name) const
    {
        std::ifstream file(path(name));
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    void write(const std::string& name, const std::string& text) const { std::ofstream(path(name)) << text; }
    const LilvState* load(const std::string& name)
    {
        states_.push_back(lilv_state_new_from_string(bundle_.world(), &map_.feature, read(name).c_str()));
        EXPECT_NE(states_.back(), nullptr) << name;
        return states_.back();
    }
    // Whether two states are equal; false when either could not be read.
    static bool same(const LilvState* a, const LilvState* b) { return a && b && lilv_state_equals(a, b); }
    // The URI of the built-in preset with that label.
    std::string presetUri(const std::string& label)
    {
        std::string found;
        LilvNodes* presets = lilv_plugin_get_related(bundle_.plugin(), bundle_.uri(std::string(kPresets) + "Preset"));
        LILV_FOREACH (nodes, it, presets) {
            const LilvNode* preset = lilv_nodes_get(presets, it);
            lilv_world_load_resource(bundle_.world(), preset);
            LilvNode* name = lilv_world_get(bundle_.world(), preset,
                                            bundle_.uri("http://www.w3.org/2000/01/rdf-schema#label"), nullptr);
            if (name && label == lilv_node_as_string(name))
                found = lilv_node_as_uri(preset);
            lilv_node_free(name);
        }
        lilv_nodes_free(presets);
        return found;
    }
    // The port values of a state, by symbol, as floats (Turtle gives some as doubles).
    std::map<std::string, float> ports(const LilvState* state)
    {
        struct Values {
            std::map<std::string, float> bySymbol;
            LV2_URID floatType, doubleType;
        } values{{}, map_.map(LV2_ATOM__Float), map_.map(LV2_ATOM__Double)};
        lilv_state_emit_port_values(
            state,
            [](const char* symbol, void* into, const void* value, std::uint32_t size, std::uint32_t type) {
                auto& found = *static_cast<Values*>(into);
                if (type == found.floatType && size == sizeof(float))
                    found.bySymbol[symbol] = *static_cast<const float*>(value);
                else if (type == found.doubleType && size == sizeof(double))
                    found.bySymbol[symbol] = static_cast<float>(*static_cast<const double*>(value));
            },
            &values);
        return values.bySymbol;
    }
    // Text `name` with the presets' value replaced by `presets`' bank body.
    std::string withPresets(const std::string& name, const mppi::PresetBank& presets)
    {
        std::string text = read(name);
        const std::size_t begin = text.find("rdf:value \"\"\"");
        const std::size_t end = text.find("\"\"\"", begin + 13);
        EXPECT_NE(end, std::string::npos) << "no presets in " << name;
        std::vector<std::uint8_t> body;
        EXPECT_EQ(presets.encode(body), 0);
        return end == std::string::npos ? text : text.replace(begin + 13, end - begin - 13, base64(body));
    }

    const std::string kProgram = "Ping-pong delay - 3/4 beat";
    LilvBundle bundle_;
    FakeUridMap map_;
    // A folder per test: ctest runs them side by side.
    std::filesystem::path folder_ = std::filesystem::path(WORK_DIR) /
                                    (std::string("state-host-") +
                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::vector<LilvState*> states_;
    std::string errors;
};

} // namespace

TEST_F(StateHostTest, APresetAppliedByUriIsSavedAndRestoredWithThePresets)
{
    const std::string preset = presetUri(kProgram);
    ASSERT_FALSE(preset.empty());
    ASSERT_EQ(host("--preset '" + preset + "' --save a.ttl"), 0) << errors;
    const LilvState* saved = load("a.ttl");
    ASSERT_NE(saved, nullptr);
    LilvNode* presetNode = lilv_new_uri(bundle_.world(), preset.c_str());
    states_.push_back(lilv_state_new_from_world(bundle_.world(), &map_.feature, presetNode));
    lilv_node_free(presetNode);
    // lilv writes a float with eight decimals: the level ports' 1.3583958e-06 comes back as
    // 0.00000136.
    const std::map<std::string, float> applied = ports(states_.back());
    const std::map<std::string, float> kept = ports(saved);
    ASSERT_EQ(kept.size(), applied.size());
    for (const auto& [symbol, value] : applied) {
        ASSERT_EQ(kept.count(symbol), 1u) << symbol;
        EXPECT_NEAR(kept.at(symbol), value, 5e-9 + 1e-7 * std::abs(value)) << symbol;
    }
    EXPECT_EQ(lilv_state_get_num_properties(saved), 2u) << "the version and the presets";

    ASSERT_EQ(host("--restore a.ttl --save b.ttl"), 0) << errors;
    EXPECT_TRUE(same(saved, load("b.ttl")));
}

TEST_F(StateHostTest, EditedPresetsSurviveTheSessionsText)
{
    ASSERT_EQ(host("--preset '" + presetUri(kProgram) + "' --save a.ttl"), 0) << errors;
    mppi::PresetBank presets;
    presets.seed(mppi::ProgramSlot(), mppi::PresetBank::kSeedBank);
    presets.bank().program(2).setName("Session preset");
    presets.bank().program(2).setValue(7, 0.375f);
    write("edited.ttl", withPresets("a.ttl", presets));

    ASSERT_EQ(host("--restore edited.ttl --save b.ttl"), 0) << errors;
    const LilvState* restored = load("b.ttl");
    EXPECT_TRUE(same(load("edited.ttl"), restored));
    ASSERT_NE(restored, nullptr);
    EXPECT_FALSE(same(load("a.ttl"), restored)) << "the seeds were restored, not the edit";
}

TEST_F(StateHostTest, AStateFromANewerVersionIsLoggedAndKeepsThePresets)
{
    ASSERT_EQ(host("--preset '" + presetUri(kProgram) + "' --save a.ttl"), 0) << errors;
    mppi::PresetBank presets;
    presets.seed(mppi::ProgramSlot(), mppi::PresetBank::kSeedBank);
    presets.bank().program(0).setName("From the future");
    std::string text = withPresets("a.ttl", presets);
    const std::size_t version = text.find("\"1\"^^xsd:int");
    ASSERT_NE(version, std::string::npos);
    write("newer.ttl", text.replace(version, 3, "\"2\""));

    EXPECT_EQ(host("--restore newer.ttl --save b.ttl"), 2);
    EXPECT_NE(errors.find("error: "), std::string::npos) << errors;
    EXPECT_NE(errors.find("newer version"), std::string::npos) << errors;
    EXPECT_TRUE(same(load("a.ttl"), load("b.ttl"))) << "the presets stay the seeds";
}

TEST_F(StateHostTest, WhatCannotBeFoundOrReadFailsTheHost)
{
    EXPECT_EQ(host("--preset urn:no-such-preset --save a.ttl"), 1);
    EXPECT_NE(errors.find("no preset"), std::string::npos) << errors;
    EXPECT_EQ(host("--restore absent.ttl --save a.ttl"), 1);
    EXPECT_NE(errors.find("cannot read"), std::string::npos) << errors;
    write("empty.ttl", "");
    EXPECT_EQ(host("--restore empty.ttl"), 1);
    EXPECT_FALSE(std::filesystem::exists(path("a.ttl"))) << "nothing saved after a failure";
}
