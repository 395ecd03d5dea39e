#include "Lv2Plugin.h"

#include "Algo.h"
#include "FactoryPrograms.h"
#include "ParamIndexes.h"
#include "ParamLayout.h"

#include <lv2/atom/util.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace lv2port {

namespace {

const LV2_URID_Map* findMap(const LV2_Feature* const* features)
{
    for (; features && *features; ++features)
        if (std::strcmp((*features)->URI, LV2_URID__map) == 0)
            return static_cast<const LV2_URID_Map*>((*features)->data);
    return nullptr;
}

} // namespace

Lv2Plugin::Lv2Plugin(double sampleRate, const LV2_Feature* const* features)
    : dsp_(std::make_unique<Algo>()), hostTime_(findMap(features)), state_(features),
      exchange_(presets_, presetsLock_, features)
{
    const mppi::BankManager programs = mppi::load_factory_programs();
    dsp_->init1();
    dsp_->init2();
    // Every value through its normalized form, as the VST 2 adapter applies a program: a
    // parameter's real value is then its curve's value, not the exact default it was built with.
    const mppi::ProgramSlot& first = programs.program(0);
    for (int index = 0; index < std::min(first.valueCount(), dsp_->paramCount()); ++index)
        dsp_->param(index)->setNormalized(first.value(index));
    dsp_->setSampleRate(static_cast<float>(sampleRate));
    dsp_->requestReset();

    const param_table::Layout& layout = param_table::layout();
    params_.reserve(layout.size());
    for (int index = 0; index < mppi::kParamCount; ++index)
        params_.emplace_back(*dsp_->param(index), port_kind(layout[static_cast<std::size_t>(index)]));
    taken_.fill(std::numeric_limits<float>::quiet_NaN());
    for (std::size_t index = 0; index < controls_.size(); ++index)
        controls_[index] = &taken_[index];
    // The VST 2 editor seeds its presets from the sound it finds, which is this program.
    presets_.seed(first, mppi::PresetBank::kSeedBank);
    const std::lock_guard<std::mutex> hold(presetsLock_);
    exchange_.publish();
}

LV2_State_Status Lv2Plugin::save(LV2_State_Store_Function store, LV2_State_Handle handle)
{
    const std::lock_guard<std::mutex> hold(presetsLock_);
    return state_.save(presets_, store, handle);
}

LV2_State_Status Lv2Plugin::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle)
{
    const std::lock_guard<std::mutex> hold(presetsLock_);
    const LV2_State_Status status = state_.restore(presets_, retrieve, handle);
    if (status == LV2_STATE_SUCCESS)
        exchange_.publish();
    return status;
}

void Lv2Plugin::connect(std::uint32_t port, void* data)
{
    if (port < static_cast<std::uint32_t>(mppi::kParamCount)) {
        // An unconnected port reads the value last taken: nothing to take.
        controls_[port] = data ? static_cast<const float*>(data) : &taken_[port];
        return;
    }
    switch (port) {
    case kInputLeft: inputs_[0] = static_cast<const float*>(data); break;
    case kInputRight: inputs_[1] = static_cast<const float*>(data); break;
    case kOutputLeft: outputs_[0] = static_cast<float*>(data); break;
    case kOutputRight: outputs_[1] = static_cast<float*>(data); break;
    case kTimeInput: time_ = static_cast<const LV2_Atom_Sequence*>(data); break;
    case kTempoOutput: tempoInEffect_ = static_cast<float*>(data); break;
    case kPresetsInput: exchange_.connectInput(data); break;
    case kPresetsOutput: exchange_.connectOutput(data); break;
    default: break;
    }
}

void Lv2Plugin::activate()
{
    dsp_->requestReset();
}

void Lv2Plugin::takeControls()
{
    // Every run looks at every port: the loop compares bits, without a branch for NaN, which
    // differs from what was taken and is refused in take().
    for (std::size_t index = 0; index < controls_.size(); ++index)
        if (std::bit_cast<std::uint32_t>(*controls_[index]) != std::bit_cast<std::uint32_t>(taken_[index]))
            take(static_cast<int>(index), *controls_[index]);
}

void Lv2Plugin::take(int index, float value)
{
    if (std::isnan(value))
        return;
    taken_[static_cast<std::size_t>(index)] = value;
    if (index == mppi::kTempoIndex && hostGivesTempo_)
        return;
    const ParamPort& port = params_[static_cast<std::size_t>(index)];
    const float normalized = port.normalizedOf(value);
    if (normalized != port.param().normalized())
        port.param().setNormalized(normalized);
}

void Lv2Plugin::process(std::uint32_t from, std::uint32_t to)
{
    if (to <= from)
        return;
    const float* in[2] = {inputs_[0] + from, inputs_[1] + from};
    float* out[2] = {outputs_[0] + from, outputs_[1] + from};
    dsp_->processReplacing(in, out, static_cast<int>(to - from));
}

void Lv2Plugin::run(std::uint32_t frames)
{
    if (!inputs_[0] || !inputs_[1] || !outputs_[0] || !outputs_[1])
        return;
    takeControls();
    std::uint32_t done = 0;
    if (time_ && hostTime_.readsPositions()) {
        LV2_ATOM_SEQUENCE_FOREACH(time_, event)
        {
            const std::optional<double> tempo = hostTime_.tempoOf(*event);
            if (!tempo)
                continue;
            const auto at = static_cast<std::uint32_t>(std::clamp<std::int64_t>(event->time.frames, done, frames));
            process(done, at);
            done = at;
            dsp_->hostTempo(static_cast<float>(*tempo));
            hostGivesTempo_ = true;
        }
    }
    process(done, frames);
    if (tempoInEffect_)
        *tempoInEffect_ = static_cast<float>(dsp_->param(mppi::kTempoIndex)->real());
    exchange_.run();
}

} // namespace lv2port
