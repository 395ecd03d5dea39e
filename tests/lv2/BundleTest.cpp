#include "LilvBundle.h"

#include "Algo.h"
#include "FactoryPrograms.h"
#include "FixedPorts.h"
#include "PortSymbols.h"
#include "ProductInfo.h"
#include "StateKeys.h"

#include <gtest/gtest.h>
#include <lilv/lilv.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace {

constexpr const char* kLv2 = "http://lv2plug.in/ns/lv2core#";
constexpr const char* kPortProps = "http://lv2plug.in/ns/ext/port-props#";
constexpr const char* kPresets = "http://lv2plug.in/ns/ext/presets#";
constexpr const char* kRdfs = "http://www.w3.org/2000/01/rdf-schema#";

std::string text(const LilvNode* node)
{
    return node ? lilv_node_as_string(node) : "";
}

bool validSymbol(const std::string& symbol)
{
    if (symbol.empty() || std::isdigit(static_cast<unsigned char>(symbol[0])))
        return false;
    for (unsigned char c : symbol)
        if (!std::isalnum(c) && c != '_')
            return false;
    return true;
}

// FNV-1a of the symbols in port order, each ended by a newline.
std::uint32_t fingerprint(const std::vector<std::string>& symbols)
{
    std::uint32_t hash = 2166136261u;
    for (const std::string& symbol : symbols)
        for (char c : symbol + "\n")
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

class BundleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(bundle.plugin(), nullptr) << "no plug-in in " << LV2_BUNDLE; }

    const LilvPort* port(std::uint32_t index) { return lilv_plugin_get_port_by_index(bundle.plugin(), index); }
    std::string symbol(std::uint32_t index) { return text(lilv_port_get_symbol(bundle.plugin(), port(index))); }
    bool has(std::uint32_t index, const std::string& property)
    {
        return lilv_port_has_property(bundle.plugin(), port(index), bundle.uri(property));
    }

    LilvBundle bundle;
};

} // namespace

TEST_F(BundleTest, PortsFollowTheParameterTableWithTheirNames)
{
    Algo algo;
    algo.init1();
    ASSERT_EQ(lilv_plugin_get_num_ports(bundle.plugin()), lv2port::kPortCount);
    for (std::uint32_t index = 0; index < static_cast<std::uint32_t>(algo.paramCount()); ++index) {
        EXPECT_TRUE(lilv_port_is_a(bundle.plugin(), port(index), bundle.uri(std::string(kLv2) + "ControlPort")));
        EXPECT_TRUE(lilv_port_is_a(bundle.plugin(), port(index), bundle.uri(std::string(kLv2) + "InputPort")));
        LilvNode* name = lilv_port_get_name(bundle.plugin(), port(index));
        EXPECT_EQ(text(name), algo.param(static_cast<int>(index))->name());
        lilv_node_free(name);
    }
    EXPECT_TRUE(lilv_port_is_a(bundle.plugin(), port(lv2port::kTempoOutput), bundle.uri(std::string(kLv2) + "OutputPort")));
    EXPECT_EQ(lilv_plugin_get_num_ports_of_class(bundle.plugin(), bundle.uri(std::string(kLv2) + "AudioPort"), nullptr), 4u);
    // The atom ports, which hosts without atoms (lv2apply) may leave unconnected; the presets'
    // pair with room for eight presets.
    for (std::uint32_t atoms : {lv2port::kTimeInput, lv2port::kPresetsInput, lv2port::kPresetsOutput})
        EXPECT_TRUE(has(atoms, std::string(kLv2) + "connectionOptional")) << symbol(atoms);
    for (std::uint32_t messages : {lv2port::kPresetsInput, lv2port::kPresetsOutput}) {
        LilvNodes* sizes = lilv_port_get_value(bundle.plugin(), port(messages),
                                               bundle.uri("http://lv2plug.in/ns/ext/resize-port#minimumSize"));
        EXPECT_EQ(lilv_node_as_int(lilv_nodes_get_first(sizes)), 16384) << symbol(messages);
        lilv_nodes_free(sizes);
    }
}

// Sessions and presets store the symbols: a changed symbol loses a musician's settings.
TEST_F(BundleTest, SymbolsAreValidUniqueAndFrozen)
{
    std::vector<std::string> symbols;
    std::set<std::string> seen;
    for (std::uint32_t index = 0; index < lv2port::kPortCount; ++index) {
        const std::string found = symbol(index);
        EXPECT_TRUE(validSymbol(found)) << found;
        EXPECT_TRUE(seen.insert(found).second) << found;
        if (index < lv2port::kInputLeft) {
            EXPECT_EQ(found, lv2port::kParamSymbols[index]);
        }
        symbols.push_back(found);
    }
    EXPECT_EQ(symbols.front(), "flags");
    EXPECT_EQ(symbols[mppi::kTempoIndex], "tempo");
    EXPECT_EQ(symbols[lv2port::kTempoOutput], "tempo_in_effect");
    EXPECT_EQ(fingerprint({symbols.begin(), symbols.begin() + lv2port::kTempoOutput + 1}), 1645065079u)
        << "a port symbol changed";
    // The presets' messages came after the ports above, which kept their numbers.
    EXPECT_EQ(std::vector<std::string>(symbols.begin() + lv2port::kPresetsInput, symbols.end()),
              (std::vector<std::string>{"presets_in", "presets_out"}));
}

TEST_F(BundleTest, DefaultsLieInTheirRangesAndLogarithmicPortsStartAboveZero)
{
    const std::uint32_t ports = lilv_plugin_get_num_ports(bundle.plugin());
    std::vector<float> minimum(ports), maximum(ports), fallback(ports);
    lilv_plugin_get_port_ranges_float(bundle.plugin(), minimum.data(), maximum.data(), fallback.data());
    int logarithmic = 0;
    for (std::uint32_t index = 0; index < lv2port::kInputLeft; ++index) {
        EXPECT_LT(minimum[index], maximum[index]) << symbol(index);
        EXPECT_GE(fallback[index], minimum[index]) << symbol(index);
        EXPECT_LE(fallback[index], maximum[index]) << symbol(index);
        if (has(index, std::string(kPortProps) + "logarithmic")) {
            ++logarithmic;
            EXPECT_GT(minimum[index], 0.0f) << symbol(index);
        }
        if (has(index, std::string(kLv2) + "integer")) {
            EXPECT_EQ(fallback[index], std::floor(fallback[index])) << symbol(index);
        }
    }
    // Every LFO period, both line times and the filters' and shelves' cutoffs and Q.
    EXPECT_EQ(logarithmic, 27 + 2 + 6);
    EXPECT_EQ(fallback[mppi::kTempoIndex], 120.0f);
    EXPECT_EQ(fallback[mppi::kFlagsIndex], 64.0f);
    EXPECT_TRUE(has(mppi::kFlagsIndex, std::string(kPortProps) + "notAutomatic"));
}

TEST_F(BundleTest, TypesAreLabelledEnumerations)
{
    std::map<std::string, std::vector<std::string>> expected = {
        {"d1_filt_type", {"Low-pass", "High-pass", "Resonator", "Band-pass"}},
        {"d2_disto_type", {"Overdrive", "Puncher"}},
    };
    for (std::uint32_t index = 0; index < lv2port::kInputLeft; ++index) {
        const auto wanted = expected.find(symbol(index));
        if (wanted == expected.end())
            continue;
        LilvScalePoints* points = lilv_port_get_scale_points(bundle.plugin(), port(index));
        std::vector<std::string> labels(wanted->second.size());
        LILV_FOREACH (scale_points, it, points) {
            const LilvScalePoint* point = lilv_scale_points_get(points, it);
            const auto value = static_cast<std::size_t>(lilv_node_as_float(lilv_scale_point_get_value(point)));
            ASSERT_LT(value, labels.size());
            labels[value] = text(lilv_scale_point_get_label(point));
        }
        lilv_scale_points_free(points);
        EXPECT_EQ(labels, wanted->second);
        // The filter type is one of four; the distortion type blends its two curves.
        const bool filter = wanted->first == "d1_filt_type";
        EXPECT_EQ(has(index, std::string(kLv2) + "enumeration"), filter);
        EXPECT_EQ(has(index, std::string(kLv2) + "integer"), filter);
        expected.erase(wanted);
    }
    EXPECT_TRUE(expected.empty());
}

TEST_F(BundleTest, PresetsAreTheBuiltInProgramsAndSetEveryPort)
{
    const mppi::BankManager programs = mppi::load_factory_programs();
    LilvNodes* presets = lilv_plugin_get_related(bundle.plugin(), bundle.uri(std::string(kPresets) + "Preset"));
    std::set<std::string> names;
    LILV_FOREACH (nodes, it, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, it);
        lilv_world_load_resource(bundle.world(), preset);
        LilvNodes* labels = lilv_world_find_nodes(bundle.world(), preset,
                                                  bundle.uri("http://www.w3.org/2000/01/rdf-schema#label"), nullptr);
        names.insert(text(lilv_nodes_get_first(labels)));
        lilv_nodes_free(labels);
        LilvNodes* values = lilv_world_find_nodes(bundle.world(), preset, bundle.uri(std::string(kLv2) + "port"), nullptr);
        EXPECT_EQ(lilv_nodes_size(values), static_cast<unsigned>(mppi::kParamCount)) << text(preset);
        lilv_nodes_free(values);
    }
    lilv_nodes_free(presets);
    std::set<std::string> expected;
    for (int program = 0; program < programs.count(); ++program)
        expected.insert(programs.program(program).name());
    EXPECT_EQ(programs.count(), 34);
    EXPECT_EQ(names, expected);
}

TEST_F(BundleTest, TheStateInterfaceAndItsKeysAreDeclared)
{
    EXPECT_TRUE(lilv_plugin_has_extension_data(bundle.plugin(), bundle.uri("http://lv2plug.in/ns/ext/state#interface")));
    EXPECT_TRUE(lilv_plugin_has_extension_data(bundle.plugin(), bundle.uri("http://lv2plug.in/ns/ext/worker#interface")));
    LilvNodes* optional = lilv_plugin_get_optional_features(bundle.plugin());
    EXPECT_TRUE(lilv_nodes_contains(optional, bundle.uri("http://lv2plug.in/ns/ext/log#log")));
    EXPECT_TRUE(lilv_nodes_contains(optional, bundle.uri("http://lv2plug.in/ns/ext/worker#schedule")));
    lilv_nodes_free(optional);
    LilvNodes* required = lilv_plugin_get_required_features(bundle.plugin());
    EXPECT_EQ(lilv_nodes_size(required), 0u);
    lilv_nodes_free(required);

    auto get = [&](const lv2port::StateKeyText& subject, const char* property) {
        LilvNode* value = lilv_world_get(bundle.world(), bundle.uri(lv2port::state_uri(subject)),
                                         bundle.uri(std::string(kRdfs) + property), nullptr);
        const std::string found = text(value);
        lilv_node_free(value);
        return found;
    };
    EXPECT_EQ(get(lv2port::kStateVersionKey, "label"), lv2port::kStateVersionKey.label);
    EXPECT_EQ(get(lv2port::kStateVersionKey, "range"), "http://lv2plug.in/ns/ext/atom#Int");
    EXPECT_EQ(get(lv2port::kPresetsKey, "label"), lv2port::kPresetsKey.label);
    EXPECT_EQ(get(lv2port::kPresetsKey, "range"), lv2port::state_uri(lv2port::kPresetBankType));
    EXPECT_EQ(get(lv2port::kPresetBankType, "subClassOf"), "http://lv2plug.in/ns/ext/atom#Chunk");
}

TEST_F(BundleTest, TheEditorIsAnEmbeddedX11UiInItsOwnModule)
{
    LilvUIs* uis = lilv_plugin_get_uis(bundle.plugin());
    ASSERT_EQ(lilv_uis_size(uis), 1u);
    const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
    EXPECT_EQ(text(lilv_ui_get_uri(ui)), product::kLv2UiUri);
    EXPECT_TRUE(lilv_ui_is_a(ui, bundle.uri("http://lv2plug.in/ns/extensions/ui#X11UI")));
    char* binary = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), nullptr);
    ASSERT_NE(binary, nullptr);
    EXPECT_TRUE(std::filesystem::is_regular_file(binary)) << binary;
    EXPECT_NE(std::filesystem::path(binary).filename(), "zorvane.so") << "not the plug-in's module";
    lilv_free(binary);

    auto objects = [&](const char* property) {
        std::set<std::string> found;
        LilvNodes* nodes = lilv_world_find_nodes(bundle.world(), lilv_ui_get_uri(ui), bundle.uri(property), nullptr);
        LILV_FOREACH (nodes, i, nodes)
            found.insert(text(lilv_nodes_get(nodes, i)));
        lilv_nodes_free(nodes);
        return found;
    };
    const std::string uiPrefix = "http://lv2plug.in/ns/extensions/ui#";
    EXPECT_EQ(objects("http://lv2plug.in/ns/lv2core#requiredFeature"),
              (std::set<std::string>{uiPrefix + "parent", uiPrefix + "idleInterface"}));
    EXPECT_EQ(objects("http://lv2plug.in/ns/lv2core#extensionData"), std::set<std::string>{uiPrefix + "idleInterface"});
    for (const char* optional : {"touch", "portSubscribe", "resize"})
        EXPECT_TRUE(objects("http://lv2plug.in/ns/lv2core#optionalFeature").count(uiPrefix + optional)) << optional;
    lilv_uis_free(uis);
}
