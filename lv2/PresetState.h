#pragma once

#include "PresetBank.h"

#include <lv2/core/lv2.h>
#include <lv2/log/logger.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

namespace lv2port {

// The eight presets in the host's saved state (LV2 state:interface): saved as a version and a
// bank body; restored only from a state this build reads whole, else refused with an error in
// the host's log (log:log, or the standard error without it) and the presets unchanged. A
// state without presets, as saved before they were, restores as nothing to do. Needs the
// host's URID map; refuses to save or restore without it.
class PresetState {
public:
    // Reads the URID map and the log from the instance's features; neither is required.
    explicit PresetState(const LV2_Feature* const* features);

    // Called by the host from a thread other than the audio thread, maybe while run() runs;
    // allocates. Answers the first failure of `store`, or LV2_STATE_ERR_NO_FEATURE without the
    // URID map.
    LV2_State_Status save(const mppi::PresetBank& presets, LV2_State_Store_Function store,
                          LV2_State_Handle handle);
    // Called by the host never alongside run() (the instantiation threading class); allocates.
    // Changes `presets` only when answering LV2_STATE_SUCCESS.
    LV2_State_Status restore(mppi::PresetBank& presets, LV2_State_Retrieve_Function retrieve,
                             LV2_State_Handle handle);

    // What a PresetBank::decode error code means, as "the presets ...": "are truncated or
    // malformed", "are of an absurd size" and the like.
    static const char* decodeError(int code);

private:
    LV2_State_Status refuse(LV2_State_Status status, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 3, 4)))
#endif
        ;

    LV2_Log_Logger log_{};
    LV2_URID presets_ = 0;
    LV2_URID version_ = 0;
    LV2_URID bankType_ = 0;
    LV2_URID int_ = 0;
};

} // namespace lv2port
