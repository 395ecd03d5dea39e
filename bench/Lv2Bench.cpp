// The LV2 adapter against the VST 2 module at the same settings: building an instance as a
// host's instantiate does (without features, and with the URID map and worker a host offers;
// it includes closing it), beside a VST 2 host's creating and starting the plug-in,
// and a run of 32 or 512 frames with a built-in program on the control ports and the presets'
// ports connected, beside the VST 2 module with that program selected, processing the same
// blocks. Programs: 0 (a simple delay), 6 (ping-pong, two lines), 18 (heavy chorus, LFOs).
#include "Algo.h"
#include "FactoryPrograms.h"
#include "FixedPorts.h"
#include "HeadlessWindow.h"
#include "Lv2Plugin.h"
#include "ParamLayout.h"
#include "ParamPort.h"
#include "PluginEntry.h"
#include "PresetMessages.h"
#include "SkinLayout.h"

#include <benchmark/benchmark.h>
#include <lv2/atom/forge.h>
#include <lv2/worker/worker.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double kSampleRate = 44100.0;

// A host's URID map, and a worker that takes every job.
class HostFeatures {
public:
    HostFeatures()
        : map_{this,
               [](LV2_URID_Map_Handle handle, const char* uri) {
                   auto& ids = static_cast<HostFeatures*>(handle)->ids_;
                   return ids.emplace(uri, static_cast<LV2_URID>(ids.size() + 1)).first->second;
               }},
          worker_{nullptr, [](LV2_Worker_Schedule_Handle, uint32_t, const void*) { return LV2_WORKER_SUCCESS; }}
    {
    }
    const LV2_Feature* const* list() const { return list_; }
    const LV2_URID_Map* map() const { return &map_; }

private:
    std::map<std::string, LV2_URID> ids_;
    LV2_URID_Map map_;
    LV2_Worker_Schedule worker_;
    const LV2_Feature mapFeature_{LV2_URID__map, &map_};
    const LV2_Feature workerFeature_{LV2_WORKER__schedule, &worker_};
    const LV2_Feature* list_[3] = {&mapFeature_, &workerFeature_, nullptr};
};

// A sawtooth of `period` frames, between -0.25 and 0.25: a signal in every stage, never a denormal.
std::vector<float> sawtooth(std::size_t frames, std::size_t period)
{
    std::vector<float> signal(frames);
    for (std::size_t frame = 0; frame < frames; ++frame)
        signal[frame] = static_cast<float>(frame % period) / static_cast<float>(period) * 0.5f - 0.25f;
    return signal;
}

void perFrame(benchmark::State& state, std::uint32_t frames)
{
    state.counters["ns_per_frame"] = benchmark::Counter(static_cast<double>(state.iterations()) * frames,
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Instantiate(benchmark::State& state)
{
    const HostFeatures host;
    for (auto _ : state) {
        lv2port::Lv2Plugin plugin(kSampleRate, state.range(0) ? host.list() : nullptr);
        benchmark::DoNotOptimize(&plugin);
    }
}
BENCHMARK(BM_Instantiate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Arguments: the program, the frames of a run.
void BM_Lv2Run(benchmark::State& state)
{
    const mppi::ProgramSlot program = mppi::load_factory_programs().program(static_cast<int>(state.range(0)));
    const auto frames = static_cast<std::uint32_t>(state.range(1));
    const HostFeatures host;
    lv2port::Lv2Plugin plugin(kSampleRate, host.list());
    Algo registry;
    registry.init1();
    std::vector<float> controls(mppi::kParamCount);
    for (int index = 0; index < mppi::kParamCount; ++index) {
        const lv2port::ParamPort port(*registry.param(index),
                                      lv2port::port_kind(param_table::layout()[static_cast<std::size_t>(index)]));
        controls[static_cast<std::size_t>(index)] = port.portValueOf(program.value(index)).value_or(0.0f);
        plugin.connect(static_cast<std::uint32_t>(index), &controls[static_cast<std::size_t>(index)]);
    }
    const std::vector<float> left = sawtooth(frames, 97), right = sawtooth(frames, 89);
    std::vector<float> outLeft(frames), outRight(frames), tempo(1);
    std::vector<std::uint64_t> messagesIn(lv2port::PresetMessages::kPortSize / 8), messagesOut(messagesIn.size());
    const lv2port::PresetMessages messages(host.map());
    LV2_Atom_Forge forge = messages.forge(reinterpret_cast<std::uint8_t*>(messagesIn.data()), lv2port::PresetMessages::kPortSize);
    LV2_Atom_Forge_Frame frame;
    lv2_atom_forge_sequence_head(&forge, &frame, 0);
    lv2_atom_forge_pop(&forge, &frame);
    plugin.connect(lv2port::kInputLeft, const_cast<float*>(left.data()));
    plugin.connect(lv2port::kInputRight, const_cast<float*>(right.data()));
    plugin.connect(lv2port::kOutputLeft, outLeft.data());
    plugin.connect(lv2port::kOutputRight, outRight.data());
    plugin.connect(lv2port::kTempoOutput, tempo.data());
    plugin.connect(lv2port::kPresetsInput, messagesIn.data());
    plugin.connect(lv2port::kPresetsOutput, messagesOut.data());
    plugin.activate();
    for (auto _ : state) {
        reinterpret_cast<LV2_Atom*>(messagesOut.data())->size = lv2port::PresetMessages::kPortSize;
        plugin.run(frames);
        benchmark::DoNotOptimize(outLeft.data());
    }
    perFrame(state, frames);
}

std::unique_ptr<pengui::PlatformWindowInterface> headless()
{
    return std::make_unique<pengui::HeadlessWindow>();
}

VstIntPtr VST2_CALL quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

// What a VST 2 host does before the first block: create the plug-in (with its editor built),
// open it, give it the sample rate and switch it on, as LV2's instantiate and activate do.
void BM_Vst2CreateAndStart(benchmark::State& state)
{
    for (auto _ : state) {
        AEffect* effect = mppi::createEffect(quietHost, skin_layout::wide(), headless);
        effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
        effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
        benchmark::DoNotOptimize(effect);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
}
BENCHMARK(BM_Vst2CreateAndStart)->Unit(benchmark::kMicrosecond);

// Arguments: the program, the frames of a block.
void BM_Vst2Process(benchmark::State& state)
{
    const auto frames = static_cast<VstInt32>(state.range(1));
    AEffect* effect = mppi::createEffect(quietHost, skin_layout::wide(), headless);
    auto dispatch = [effect](VstInt32 opcode, VstIntPtr value, float option = 0.0f) {
        return effect->dispatcher(effect, opcode, 0, value, nullptr, option);
    };
    dispatch(effOpen, 0);
    dispatch(effSetProgram, state.range(0));
    dispatch(effSetSampleRate, 0, static_cast<float>(kSampleRate));
    dispatch(effSetBlockSize, frames);
    dispatch(effMainsChanged, 1);
    const std::vector<float> left = sawtooth(static_cast<std::size_t>(frames), 97),
                             right = sawtooth(static_cast<std::size_t>(frames), 89);
    std::vector<float> outLeft(static_cast<std::size_t>(frames)), outRight(static_cast<std::size_t>(frames));
    float* inputs[2] = {const_cast<float*>(left.data()), const_cast<float*>(right.data())};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    for (auto _ : state) {
        effect->processReplacing(effect, inputs, outputs, frames);
        benchmark::DoNotOptimize(outLeft.data());
    }
    perFrame(state, static_cast<std::uint32_t>(frames));
    dispatch(effMainsChanged, 0);
    dispatch(effClose, 0);
}

void settings(benchmark::internal::Benchmark* benchmark)
{
    for (int program : {0, 6, 18})
        for (int frames : {32, 512})
            benchmark->Args({program, frames});
}
BENCHMARK(BM_Lv2Run)->Apply(settings);
BENCHMARK(BM_Vst2Process)->Apply(settings);

} // namespace
