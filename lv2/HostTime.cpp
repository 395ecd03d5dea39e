#include "HostTime.h"

#include <lv2/atom/util.h>
#include <lv2/time/time.h>

#include <cmath>
#include <cstdint>

namespace lv2port {

namespace {

constexpr double kQuarterNote = 4.0;

} // namespace

HostTime::HostTime(const LV2_URID_Map* map)
{
    if (!map)
        return;
    auto uridOf = [map](const char* uri) { return map->map(map->handle, uri); };
    object_ = uridOf(LV2_ATOM__Object);
    blank_ = uridOf(LV2_ATOM__Blank);
    position_ = uridOf(LV2_TIME__Position);
    beatsPerMinute_ = uridOf(LV2_TIME__beatsPerMinute);
    beatUnit_ = uridOf(LV2_TIME__beatUnit);
    float_ = uridOf(LV2_ATOM__Float);
    double_ = uridOf(LV2_ATOM__Double);
    int_ = uridOf(LV2_ATOM__Int);
    long_ = uridOf(LV2_ATOM__Long);
}

std::optional<double> HostTime::number(const LV2_Atom* atom) const
{
    if (!atom)
        return std::nullopt;
    if (atom->type == float_ && atom->size >= sizeof(float))
        return reinterpret_cast<const LV2_Atom_Float*>(atom)->body;
    if (atom->type == double_ && atom->size >= sizeof(double))
        return reinterpret_cast<const LV2_Atom_Double*>(atom)->body;
    if (atom->type == int_ && atom->size >= sizeof(std::int32_t))
        return reinterpret_cast<const LV2_Atom_Int*>(atom)->body;
    if (atom->type == long_ && atom->size >= sizeof(std::int64_t))
        return static_cast<double>(reinterpret_cast<const LV2_Atom_Long*>(atom)->body);
    return std::nullopt;
}

std::optional<double> HostTime::tempoOf(const LV2_Atom_Event& event) const
{
    if (!readsPositions() || (event.body.type != object_ && event.body.type != blank_) ||
        event.body.size < sizeof(LV2_Atom_Object_Body))
        return std::nullopt;
    const auto* object = reinterpret_cast<const LV2_Atom_Object*>(&event.body);
    if (object->body.otype != position_)
        return std::nullopt;
    const LV2_Atom* tempo = nullptr;
    const LV2_Atom* unit = nullptr;
    lv2_atom_object_get(object, beatsPerMinute_, &tempo, beatUnit_, &unit, 0);
    const std::optional<double> beatsPerMinute = number(tempo);
    if (!beatsPerMinute || !std::isfinite(*beatsPerMinute) || *beatsPerMinute <= 0.0)
        return std::nullopt;
    const std::optional<double> beatUnit = number(unit);
    const bool unitValid = beatUnit && std::isfinite(*beatUnit) && *beatUnit > 0.0;
    return unitValid ? *beatsPerMinute * kQuarterNote / *beatUnit : *beatsPerMinute;
}

} // namespace lv2port
