#include "PresetState.h"

#include "BankFiles.h"
#include "StateKeys.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2_util.h>
#include <lv2/log/log.h>

#include <cstdarg>
#include <cstring>
#include <vector>

namespace lv2port {

PresetState::PresetState(const LV2_Feature* const* features)
{
    auto* map = static_cast<LV2_URID_Map*>(lv2_features_data(features, LV2_URID__map));
    lv2_log_logger_init(&log_, map, static_cast<LV2_Log_Log*>(lv2_features_data(features, LV2_LOG__log)));
    if (!map)
        return;
    presets_ = map->map(map->handle, state_uri(kPresetsKey).c_str());
    version_ = map->map(map->handle, state_uri(kStateVersionKey).c_str());
    bankType_ = map->map(map->handle, state_uri(kPresetBankType).c_str());
    int_ = map->map(map->handle, LV2_ATOM__Int);
}

const char* PresetState::decodeError(int code)
{
    switch (code) {
    case mppi::kBankBodyTooLarge: return "are of an absurd size";
    case mppi::kBankCountMismatch: return "do not hold eight presets";
    case mppi::kBankParamCountMismatch: return "hold presets of another parameter count";
    default: return "are truncated or malformed";
    }
}

LV2_State_Status PresetState::refuse(LV2_State_Status status, const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    lv2_log_vprintf(&log_, log_.Error, format, args);
    va_end(args);
    return status;
}

LV2_State_Status PresetState::save(const mppi::PresetBank& presets, LV2_State_Store_Function store,
                                   LV2_State_Handle handle)
{
    if (!presets_)
        return refuse(LV2_STATE_ERR_NO_FEATURE, "Zorvane: cannot save the presets without the host's URID map\n");
    std::vector<std::uint8_t> body;
    const int code = presets.encode(body);
    if (code != 0)
        return refuse(LV2_STATE_ERR_UNKNOWN, "Zorvane: cannot encode the presets (code %d)\n", code);
    const std::uint32_t flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    LV2_State_Status status = store(handle, version_, &kStateVersion, sizeof kStateVersion, int_, flags);
    if (status == LV2_STATE_SUCCESS)
        status = store(handle, presets_, body.data(), body.size(), bankType_, flags);
    if (status != LV2_STATE_SUCCESS)
        return refuse(status, "Zorvane: the host did not store the presets (status %d)\n", static_cast<int>(status));
    return LV2_STATE_SUCCESS;
}

LV2_State_Status PresetState::restore(mppi::PresetBank& presets, LV2_State_Retrieve_Function retrieve,
                                      LV2_State_Handle handle)
{
    if (!presets_)
        return refuse(LV2_STATE_ERR_NO_FEATURE, "Zorvane: cannot restore the presets without the host's URID map\n");
    std::size_t versionSize = 0;
    std::uint32_t versionType = 0;
    std::uint32_t flags = 0;
    const void* version = retrieve(handle, version_, &versionSize, &versionType, &flags);
    std::size_t bodySize = 0;
    std::uint32_t bodyType = 0;
    const void* body = retrieve(handle, presets_, &bodySize, &bodyType, &flags);
    if (!version && !body)
        return LV2_STATE_SUCCESS;
    if (!version)
        return refuse(LV2_STATE_ERR_NO_PROPERTY, "Zorvane: the saved presets carry no version; presets unchanged\n");
    if (versionType != int_ || versionSize != sizeof(std::int32_t))
        return refuse(LV2_STATE_ERR_BAD_TYPE,
                      "Zorvane: the saved presets' version is not an atom:Int; presets unchanged\n");
    std::int32_t number = 0;
    std::memcpy(&number, version, sizeof number);
    if (number > kStateVersion)
        return refuse(LV2_STATE_ERR_UNKNOWN,
                      "Zorvane: the presets were saved by a newer version (state version %d, this one reads up to "
                      "%d); presets unchanged\n",
                      static_cast<int>(number), static_cast<int>(kStateVersion));
    if (number < 1)
        return refuse(LV2_STATE_ERR_UNKNOWN,
                      "Zorvane: the saved presets' version %d does not exist; presets unchanged\n",
                      static_cast<int>(number));
    if (!body)
        return refuse(LV2_STATE_ERR_NO_PROPERTY,
                      "Zorvane: the saved state has a version but no presets; presets unchanged\n");
    if (bodyType != bankType_)
        return refuse(LV2_STATE_ERR_BAD_TYPE, "Zorvane: the saved presets are not of type %s; presets unchanged\n",
                      state_uri(kPresetBankType).c_str());
    const int code = presets.decode(static_cast<const std::uint8_t*>(body), bodySize);
    if (code != 0)
        return refuse(LV2_STATE_ERR_UNKNOWN, "Zorvane: the saved presets (%zu bytes) %s (code %d); presets unchanged\n",
                      bodySize, decodeError(code), code);
    return LV2_STATE_SUCCESS;
}

} // namespace lv2port
