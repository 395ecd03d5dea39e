#include "PortKinds.h"

#include "AlgoParams.h"

#include <cstddef>
#include <iterator>

namespace lv2port {

namespace {

using param_table::Kind;
using param_table::Role;

constexpr PortScale kPlain{PortScale::kPlain};
constexpr PortScale kPercent{PortScale::kPercent};
constexpr PortScale kDecibels{PortScale::kDecibels};

// "Flags" packs seven switches into one port, as the parameter table and the stored programs
// do: a program or session sets them together, port number and parameter number stay one, and
// the VST 2 values carry over unchanged. A host must not draw ramps through a bit field.
constexpr PortKind kFlagsPort{"", kPlain, kInteger | kNotAutomatic, ParamFlags::kBeatUnit + 1};

struct KindRow {
    Kind kind;
    PortKind port;
};

// The base parameter of each row kind. The distortion type is a blend of its two curves, so
// its port is continuous with both ends labelled.
constexpr KindRow kBasePorts[] = {
    {Kind::kFlags, kFlagsPort},
    {Kind::kTempo, {"bpm", kPlain, 0, 0}},
    {Kind::kDryLvl, {"db", kDecibels, 0, 0}},
    {Kind::kFdbkSeparation, {"pc", kPercent, 0, 0}},
    {Kind::kTapTime, {"beat", kPlain, 0, 0}},
    {Kind::kTapLvl, {"db", kDecibels, 0, 0}},
    {Kind::kTapPan, {"pc", kPercent, 0, 0}},
    {Kind::kDlyLvl, {"db", kDecibels, 0, 0}},
    {Kind::kDlyPan, {"pc", kPercent, 0, 0}},
    {Kind::kDlyTime, {"beat", kPlain, kLogarithmic, 0}},
    {Kind::kDlyFdbk, {"pc", kPercent, 0, 0}},
    {Kind::kFiltType, {"", kPlain, kInteger | kEnumeration | kLabelled, 0}},
    {Kind::kFiltCutoff, {"hz", kPlain, kLogarithmic, 0}},
    {Kind::kFiltReso, {"db", kDecibels, 0, 0}},
    {Kind::kFiltQ, {"", kPlain, kLogarithmic, 0}},
    {Kind::kDistType, {"", kPlain, kLabelled, 0}},
    {Kind::kDistLvl, {"pc", kPercent, 0, 0}},
    {Kind::kHsCutoff, {"hz", kPlain, kLogarithmic, 0}},
    {Kind::kHsLvl, {"db", kDecibels, 0, 0}},
};

constexpr bool rowsInKindOrder()
{
    for (std::size_t index = 0; index < std::size(kBasePorts); ++index)
        if (static_cast<std::size_t>(kBasePorts[index].kind) != index)
            return false;
    return static_cast<std::size_t>(Kind::kHsLvl) + 1 == std::size(kBasePorts);
}
static_assert(rowsInKindOrder(), "one row per kind, in the kinds' order");

constexpr PortKind kLfoPeriodPort{"beat", kPlain, kLogarithmic, 0};
constexpr PortKind kLfoDepthPort{"pc", kPercent, 0, 0};
constexpr PortKind kLfoWaveformPort{"", kPlain, kInteger | kEnumeration | kLabelled, 0};

} // namespace

const PortKind& port_kind(const param_table::Slot& slot)
{
    switch (slot.role) {
    case Role::kLfoPeriod: return kLfoPeriodPort;
    case Role::kLfoDepth: return kLfoDepthPort;
    case Role::kLfoWaveform: return kLfoWaveformPort;
    case Role::kBase: break;
    }
    return kBasePorts[static_cast<std::size_t>(slot.kind)].port;
}

} // namespace lv2port
