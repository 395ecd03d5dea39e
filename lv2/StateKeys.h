#pragma once

#include "ProductInfo.h"

#include <cstdint>
#include <string>

namespace lv2port {

// What the plug-in's saved state holds, under URIs of its own that the bundle declares: the
// eight presets as a bank body, typed as a chunk of their own type, and the version of that
// form. Frozen, as the port symbols are: sessions refer to them.
struct StateKeyText {
    // Appended to the plug-in's URI.
    const char* fragment;
    const char* label;
};

inline constexpr StateKeyText kPresetsKey = {"#presets", "Eight presets"};
inline constexpr StateKeyText kStateVersionKey = {"#stateVersion", "Version of the saved presets"};
// The type of the presets' value: a chunk holding a bank body (big-endian, as in bank files).
inline constexpr StateKeyText kPresetBankType = {"#PresetBank", "Bank of eight presets"};

// The version this build saves; it restores every version from 1 up to it.
inline constexpr std::int32_t kStateVersion = 1;

inline std::string state_uri(const StateKeyText& key)
{
    return std::string(product::kLv2Uri) + key.fragment;
}

} // namespace lv2port
