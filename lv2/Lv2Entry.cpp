// The LV2 module's entry point: the plug-in's descriptor, whose functions reach the adapter.
#include "Lv2Plugin.h"
#include "ProductInfo.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/worker/worker.h>

#include <cstring>

namespace {

lv2port::Lv2Plugin* pluginOf(LV2_Handle handle)
{
    return static_cast<lv2port::Lv2Plugin*>(handle);
}

LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char*, const LV2_Feature* const* features)
{
    try {
        return new lv2port::Lv2Plugin(sampleRate, features);
    } catch (...) {
        return nullptr;
    }
}

void connectPort(LV2_Handle handle, uint32_t port, void* data)
{
    pluginOf(handle)->connect(port, data);
}

void activate(LV2_Handle handle)
{
    pluginOf(handle)->activate();
}

void run(LV2_Handle handle, uint32_t frames)
{
    pluginOf(handle)->run(frames);
}

void deactivate(LV2_Handle) {}

void cleanup(LV2_Handle handle)
{
    delete pluginOf(handle);
}

LV2_State_Status saveState(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state, uint32_t,
                           const LV2_Feature* const*)
{
    try {
        return pluginOf(handle)->save(store, state);
    } catch (...) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

LV2_State_Status restoreState(LV2_Handle handle, LV2_State_Retrieve_Function retrieve, LV2_State_Handle state,
                              uint32_t, const LV2_Feature* const*)
{
    try {
        return pluginOf(handle)->restore(retrieve, state);
    } catch (...) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

LV2_Worker_Status work(LV2_Handle handle, LV2_Worker_Respond_Function, LV2_Worker_Respond_Handle, uint32_t,
                       const void*)
{
    try {
        pluginOf(handle)->work();
        return LV2_WORKER_SUCCESS;
    } catch (...) {
        return LV2_WORKER_ERR_UNKNOWN;
    }
}

// The work publishes its result itself: nothing comes back through the host.
LV2_Worker_Status workResponse(LV2_Handle, uint32_t, const void*)
{
    return LV2_WORKER_SUCCESS;
}

const LV2_State_Interface kStateInterface = {saveState, restoreState};
const LV2_Worker_Interface kWorkerInterface = {work, workResponse, nullptr};

const void* extensionData(const char* uri)
{
    if (std::strcmp(uri, LV2_STATE__interface) == 0)
        return &kStateInterface;
    return std::strcmp(uri, LV2_WORKER__interface) == 0 ? &kWorkerInterface : nullptr;
}

const LV2_Descriptor kDescriptor = {product::kLv2Uri, instantiate, connectPort, activate, run, deactivate, cleanup,
                                    extensionData};

} // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}
