#pragma once

#include "ParamIndexes.h"

#include <cstdint>
#include <iterator>

namespace lv2port {

// The plug-in's ports: one control input per parameter, numbered as the parameter table is,
// then the audio, the host's time, the tempo in effect and the UI's messages about the presets.
enum FixedPort : std::uint32_t {
    kInputLeft = mppi::kParamCount,
    kInputRight,
    kOutputLeft,
    kOutputRight,
    // Optional: time:Position atoms from the host, whose tempo overrides the "Tempo" port.
    kTimeInput,
    // The tempo the delays follow, the host's or the "Tempo" port's.
    kTempoOutput,
    // Optional: the UI's patch:Get and patch:Set of the eight presets, and the answers.
    kPresetsInput,
    kPresetsOutput,
    kPortCount
};

struct FixedPortText {
    const char* symbol;
    const char* name;
};

// Symbols and names of the fixed ports, from kInputLeft on; frozen as the parameters' are.
inline constexpr FixedPortText kFixedPortTexts[] = {
    {"in_l", "Left input"},   {"in_r", "Right input"}, {"out_l", "Left output"},
    {"out_r", "Right output"}, {"time", "Host time"},   {"tempo_in_effect", "Tempo in effect"},
    {"presets_in", "Presets from the UI"}, {"presets_out", "Presets to the UI"},
};
static_assert(std::size(kFixedPortTexts) == kPortCount - kInputLeft);

} // namespace lv2port
