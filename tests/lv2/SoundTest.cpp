#include "LilvBundle.h"

#include "ProductInfo.h"

#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kRate = 44100;
constexpr const char* kLv2 = "http://lv2plug.in/ns/lv2core#";
constexpr const char* kPresets = "http://lv2plug.in/ns/ext/presets#";

// Two seconds: a chord and noise for half a second, then silence for the echoes.
void writeInput(const std::string& path)
{
    std::mt19937 generator(3);
    std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
    std::vector<float> frames(2 * 2 * kRate);
    for (std::size_t frame = 0; frame < kRate / 2; ++frame) {
        const double t = static_cast<double>(frame) / kRate;
        frames[2 * frame] = static_cast<float>(0.4 * std::sin(2 * M_PI * 440.0 * t)) + noise(generator);
        frames[2 * frame + 1] = static_cast<float>(0.4 * std::sin(2 * M_PI * 554.37 * t)) + noise(generator);
    }
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    sf_writef_float(file, frames.data(), static_cast<sf_count_t>(frames.size() / 2));
    sf_close(file);
}

std::vector<float> readSamples(const std::string& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return {};
    std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    return samples;
}

// The "-c SYMBOL VALUE" pairs of the preset labelled `name`.
std::string presetControls(LilvBundle& bundle, const std::string& name)
{
    std::string controls;
    LilvNodes* presets = lilv_plugin_get_related(bundle.plugin(), bundle.uri(std::string(kPresets) + "Preset"));
    LILV_FOREACH (nodes, it, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, it);
        lilv_world_load_resource(bundle.world(), preset);
        LilvNode* label = lilv_world_get(bundle.world(), preset, bundle.uri("http://www.w3.org/2000/01/rdf-schema#label"), nullptr);
        const bool wanted = label && name == lilv_node_as_string(label);
        lilv_node_free(label);
        if (!wanted)
            continue;
        LilvNodes* ports = lilv_world_find_nodes(bundle.world(), preset, bundle.uri(std::string(kLv2) + "port"), nullptr);
        LILV_FOREACH (nodes, p, ports) {
            const LilvNode* port = lilv_nodes_get(ports, p);
            LilvNode* symbol = lilv_world_get(bundle.world(), port, bundle.uri(std::string(kLv2) + "symbol"), nullptr);
            LilvNode* value = lilv_world_get(bundle.world(), port, bundle.uri(std::string(kPresets) + "value"), nullptr);
            // The value's text as the bundle writes it, which lv2apply reads back.
            controls += std::string(" -c ") + lilv_node_as_string(symbol) + " " + lilv_node_as_string(value);
            lilv_node_free(symbol);
            lilv_node_free(value);
        }
        lilv_nodes_free(ports);
    }
    lilv_nodes_free(presets);
    return controls;
}

class SoundTest : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite()
    {
        // ctest runs each case in a process of its own, side by side: each writes the same input
        // under its own name and renames it into place, so no case reads a file being written.
        std::filesystem::create_directories(folder());
        const std::string written = folder() + "/in.wav." + std::to_string(getpid());
        writeInput(written);
        std::filesystem::rename(written, folder() + "/in.wav");
    }
    static std::string folder() { return std::string(WORK_DIR) + "/sound"; }
};

} // namespace

// The LV2 module through lilv's lv2apply, which runs one frame per call, against the VST 2
// module through the command-line host in its blocks; the program as lv2apply's controls. Neither
// has a host tempo.
TEST_P(SoundTest, Lv2ModuleSoundsAsTheVst2ModuleBitForBit)
{
#if defined(SANITIZED_MODULES)
    GTEST_SKIP() << "a sanitized module cannot load into lv2apply, which is built without the sanitizers' runtime";
#endif
    LilvBundle bundle;
    ASSERT_NE(bundle.plugin(), nullptr);
    const std::string program = GetParam();
    const std::string slug = std::to_string(std::hash<std::string>{}(program));
    const std::string input = folder() + "/in.wav";
    const std::string vst = folder() + "/vst-" + slug + ".wav";
    const std::string lv2 = folder() + "/lv2-" + slug + ".wav";
    const std::string controls = program.empty() ? "" : presetControls(bundle, program);
    ASSERT_TRUE(program.empty() || !controls.empty()) << "no preset " << program;
    const std::string selection = program.empty() ? "" : " --program '" + program + "'";
    ASSERT_EQ(std::system((std::string(ZORVANE_CLI) + " render " + input + " " + vst + " --float --tail 0" + selection +
                           " >/dev/null 2>&1").c_str()),
              0);
    ASSERT_EQ(std::system((std::string("LV2_PATH=") + LV2_FOLDER + " lv2apply -i " + input + " -o " + lv2 + controls +
                           " " + product::kLv2Uri).c_str()),
              0);
    const std::vector<float> expected = readSamples(vst);
    ASSERT_EQ(expected.size(), 2u * 2u * kRate);
    EXPECT_TRUE(expected == readSamples(lv2)) << "the modules sound different";
}

// The fresh instance, a tempo-synced delay, a ping-pong, a distorted one and LFO-driven ones.
INSTANTIATE_TEST_SUITE_P(Programs, SoundTest,
                         ::testing::Values("", "Predelays 1/2 + Delay 3/4", "Ping-pong delay - 3/4 beat",
                                           "Simple delay - Disto", "Simple delay - LPF LFO", "Chorus - Heavy"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.empty() ? "Fresh" : "";
                             for (char c : info.param)
                                 if (std::isalnum(static_cast<unsigned char>(c)))
                                     name += c;
                             return name;
                         });
