#include "LilvBundle.h"

#include "Algo.h"
#include "FactoryPrograms.h"
#include "FixedPorts.h"

#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/atom/forge.h>
#include <lv2/time/time.h>
#include <lv2/urid/urid.h>

#include <array>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 44100.0;
constexpr std::uint32_t kBlock = 300;
constexpr std::uint32_t kBlocks = 12;

struct TempoChange {
    std::uint32_t frame;
    float beatsPerMinute;
    int beatUnit;
};

class UridMap {
public:
    LV2_URID map(const char* uri)
    {
        const auto [entry, added] = ids_.emplace(uri, static_cast<LV2_URID>(ids_.size() + 1));
        return entry->second;
    }
    static LV2_URID callback(LV2_URID_Map_Handle handle, const char* uri) { return static_cast<UridMap*>(handle)->map(uri); }
    LV2_URID_Map feature{this, callback};

private:
    std::map<std::string, LV2_URID> ids_;
};

std::vector<float> noise(std::size_t frames, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> distribution(-0.5f, 0.5f);
    std::vector<float> signal(frames);
    for (float& sample : signal)
        sample = distribution(generator);
    return signal;
}

// The plug-in through lilv, as a host runs it: controls at their defaults, blocks of kBlock
// frames, each block's time:Position objects on the time port when the host maps URIDs.
class Lv2Run {
public:
    explicit Lv2Run(bool withMap)
    {
        const LilvPlugin* plugin = bundle_.plugin();
        const std::uint32_t ports = lilv_plugin_get_num_ports(plugin);
        controls_.resize(ports);
        std::vector<float> minimum(ports), maximum(ports);
        lilv_plugin_get_port_ranges_float(plugin, minimum.data(), maximum.data(), controls_.data());
        feature_ = {LV2_URID__map, &map_.feature};
        const LV2_Feature* features[] = {&feature_, nullptr};
        const LV2_Feature* none[] = {nullptr};
        instance_ = lilv_plugin_instantiate(plugin, kRate, withMap ? features : none);
        if (!instance_)
            return;
        for (std::uint32_t port = 0; port < lv2port::kInputLeft; ++port)
            lilv_instance_connect_port(instance_, port, &controls_[port]);
        lilv_instance_connect_port(instance_, lv2port::kTempoOutput, &tempoInEffect);
        lilv_instance_connect_port(instance_, lv2port::kTimeInput, events_.data());
        lv2_atom_forge_init(&forge_, &map_.feature);
        lilv_instance_activate(instance_);
    }
    ~Lv2Run()
    {
        if (instance_) {
            lilv_instance_deactivate(instance_);
            lilv_instance_free(instance_);
        }
    }

    bool instantiated() const { return instance_ != nullptr; }
    float& control(std::uint32_t port) { return controls_[port]; }

    void render(const std::vector<float>& left, const std::vector<float>& right, std::vector<float>& outLeft,
                std::vector<float>& outRight, const std::vector<TempoChange>& changes)
    {
        for (std::uint32_t start = 0; start < left.size(); start += kBlock) {
            writeEvents(start, changes);
            lilv_instance_connect_port(instance_, lv2port::kInputLeft, const_cast<float*>(left.data() + start));
            lilv_instance_connect_port(instance_, lv2port::kInputRight, const_cast<float*>(right.data() + start));
            lilv_instance_connect_port(instance_, lv2port::kOutputLeft, outLeft.data() + start);
            lilv_instance_connect_port(instance_, lv2port::kOutputRight, outRight.data() + start);
            lilv_instance_run(instance_, kBlock);
        }
    }

    float tempoInEffect = 0.0f;

private:
    void writeEvents(std::uint32_t start, const std::vector<TempoChange>& changes)
    {
        lv2_atom_forge_set_buffer(&forge_, reinterpret_cast<std::uint8_t*>(events_.data()), sizeof events_);
        LV2_Atom_Forge_Frame sequence;
        lv2_atom_forge_sequence_head(&forge_, &sequence, 0);
        for (const TempoChange& change : changes) {
            if (change.frame < start || change.frame >= start + kBlock)
                continue;
            lv2_atom_forge_frame_time(&forge_, change.frame - start);
            LV2_Atom_Forge_Frame object;
            lv2_atom_forge_object(&forge_, &object, 0, map_.map(LV2_TIME__Position));
            lv2_atom_forge_key(&forge_, map_.map(LV2_TIME__speed));
            lv2_atom_forge_float(&forge_, 1.0f);
            lv2_atom_forge_key(&forge_, map_.map(LV2_TIME__beatsPerMinute));
            lv2_atom_forge_float(&forge_, change.beatsPerMinute);
            lv2_atom_forge_key(&forge_, map_.map(LV2_TIME__beatUnit));
            lv2_atom_forge_int(&forge_, change.beatUnit);
            lv2_atom_forge_pop(&forge_, &object);
        }
        lv2_atom_forge_pop(&forge_, &sequence);
    }

    LilvBundle bundle_;
    UridMap map_;
    LV2_Feature feature_{};
    LilvInstance* instance_ = nullptr;
    std::vector<float> controls_;
    LV2_Atom_Forge forge_{};
    std::array<std::uint64_t, 512> events_{};
};

// The algorithm as the VST 2 adapter drives it: the first program, and the host's tempo given
// at the start of a host block, here a block that begins at the change.
void renderAlgo(const std::vector<float>& left, const std::vector<float>& right, std::vector<float>& outLeft,
                std::vector<float>& outRight, const std::vector<TempoChange>& changes, float tempoParam = 0.0f)
{
    Algo algo;
    algo.init1();
    algo.init2();
    const mppi::BankManager programs = mppi::load_factory_programs();
    for (int index = 0; index < algo.paramCount(); ++index)
        algo.param(index)->setNormalized(programs.program(0).value(index));
    if (tempoParam > 0.0f)
        algo.param(mppi::kTempoIndex)->setNormalized(algo.param(mppi::kTempoIndex)->toNormalized(tempoParam));
    algo.setSampleRate(static_cast<float>(kRate));
    algo.requestReset();
    std::size_t done = 0;
    auto processTo = [&](std::size_t end) {
        const float* in[2] = {left.data() + done, right.data() + done};
        float* out[2] = {outLeft.data() + done, outRight.data() + done};
        algo.processReplacing(in, out, static_cast<int>(end - done));
        done = end;
    };
    for (const TempoChange& change : changes) {
        processTo(change.frame);
        algo.hostTempo(change.beatsPerMinute * 4.0f / static_cast<float>(change.beatUnit));
    }
    processTo(left.size());
}

class HostTimeTest : public ::testing::Test {
protected:
    std::vector<float> left = noise(kBlock * kBlocks, 1);
    std::vector<float> right = noise(kBlock * kBlocks, 2);
    std::vector<float> lv2Left = std::vector<float>(left.size());
    std::vector<float> lv2Right = std::vector<float>(left.size());
    std::vector<float> algoLeft = std::vector<float>(left.size());
    std::vector<float> algoRight = std::vector<float>(left.size());
};

} // namespace

TEST_F(HostTimeTest, TempoChangesReachTheDelaysAtTheirSamplesAsAVst2HostsBlocksWould)
{
    // Inside a block, at a block's start, and in eighths (72 eighths a minute are 36 quarters,
    // folded to 72 BPM).
    const std::vector<TempoChange> changes = {{50, 90.0f, 4}, {3 * kBlock, 140.0f, 4}, {7 * kBlock + 123, 72.0f, 8}};
    Lv2Run lv2(true);
    ASSERT_TRUE(lv2.instantiated());
    // The host's tempo overrides the port.
    lv2.control(mppi::kTempoIndex) = 200.0f;
    lv2.render(left, right, lv2Left, lv2Right, changes);
    renderAlgo(left, right, algoLeft, algoRight, changes, 200.0f);
    EXPECT_EQ(lv2Left, algoLeft);
    EXPECT_EQ(lv2Right, algoRight);
    EXPECT_EQ(lv2.tempoInEffect, 72.0f);
}

TEST_F(HostTimeTest, WithoutTheHostsMapTheTempoPortGoverns)
{
    Lv2Run lv2(false);
    ASSERT_TRUE(lv2.instantiated());
    lv2.control(mppi::kTempoIndex) = 97.5f;
    lv2.render(left, right, lv2Left, lv2Right, {{50, 90.0f, 4}});
    renderAlgo(left, right, algoLeft, algoRight, {}, 97.5f);
    EXPECT_EQ(lv2Left, algoLeft);
    EXPECT_EQ(lv2Right, algoRight);
    EXPECT_EQ(lv2.tempoInEffect, 97.5f);
}
