#pragma once

#include "DspInterface.h"
#include "FixedPorts.h"
#include "HostTime.h"
#include "ParamPort.h"
#include "PresetBank.h"
#include "PresetExchange.h"
#include "PresetState.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>

#include <array>
#include <memory>
#include <mutex>
#include <vector>

namespace lv2port {

// The LV2 adapter: one plug-in instance, its ports, the algorithm behind them and the eight
// presets, which its UI reads and writes through messages (PresetExchange). A fresh instance
// holds the first built-in program, as the VST 2 adapter's does, and its ports' defaults are
// that program's values; its presets are those the VST 2 editor seeds.
class Lv2Plugin {
public:
    // Builds and initialises the algorithm at `sampleRate` and seeds the presets; reads the
    // host's URID map, log and worker when it offers them, and needs no feature. Throws when
    // the algorithm or its programs cannot be built.
    Lv2Plugin(double sampleRate, const LV2_Feature* const* features);

    void connect(std::uint32_t port, void* data);
    // The next run starts from silence, as a VST 2 host's switching on does.
    void activate();
    // Takes the control ports that changed, then processes `frames`, split at each host tempo
    // change so the change reaches the algorithm at its own sample, as a VST 2 host's block
    // boundary would; then the UI's messages. Audio thread: no allocation, lock or system call.
    void run(std::uint32_t frames);

    // The eight presets, saved and restored with the host's state. Any thread but the audio
    // thread, never alongside restore() or work().
    mppi::PresetBank& presets() { return presets_; }
    // The state interface's calls; see PresetState for their threads. They allocate, and take
    // the presets' lock, which the audio thread never takes.
    LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle);
    LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);
    // The worker interface's work: the UI's latest patch:Set of the presets. The host's worker
    // thread; allocates and takes the presets' lock.
    void work() { exchange_.work(); }

private:
    void takeControls();
    // A control port's value that differs from the one last taken.
    void take(int index, float value);
    void process(std::uint32_t from, std::uint32_t to);

    std::unique_ptr<mppi::DspInterface> dsp_;
    HostTime hostTime_;
    std::vector<ParamPort> params_;
    // Each control port's value, or the value last taken for a port not connected.
    std::array<const float*, mppi::kParamCount> controls_{};
    // The control values last taken; NaN before the first run, so the first run takes all.
    std::array<float, mppi::kParamCount> taken_{};
    const float* inputs_[2] = {};
    float* outputs_[2] = {};
    const LV2_Atom_Sequence* time_ = nullptr;
    float* tempoInEffect_ = nullptr;
    // Set by the host's first tempo: the "Tempo" port no longer applies.
    bool hostGivesTempo_ = false;
    mppi::PresetBank presets_;
    // Guards the presets between the state's calls and the worker.
    std::mutex presetsLock_;
    PresetState state_;
    PresetExchange exchange_;
};

} // namespace lv2port
