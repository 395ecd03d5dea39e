#pragma once

#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

#include <optional>

namespace lv2port {

// Reads the host's time:Position objects. Without the host's URID map it reads nothing, and the
// plug-in follows its "Tempo" port.
class HostTime {
public:
    // `map` may be null.
    explicit HostTime(const LV2_URID_Map* map);

    bool readsPositions() const { return position_ != 0; }
    // The tempo of an event's object in quarter notes per minute, the unit of the parameters'
    // beats: time:beatsPerMinute counts beats of 1/time:beatUnit note (a quarter when the host
    // gives no unit). None for anything but a time:Position with a tempo. The transport's
    // time:speed leaves the tempo as it is, as a VST 2 host's time information does. Audio
    // thread: no allocation.
    std::optional<double> tempoOf(const LV2_Atom_Event& event) const;

private:
    std::optional<double> number(const LV2_Atom* atom) const;

    LV2_URID object_ = 0;
    LV2_URID blank_ = 0;
    LV2_URID position_ = 0;
    LV2_URID beatsPerMinute_ = 0;
    LV2_URID beatUnit_ = 0;
    LV2_URID float_ = 0;
    LV2_URID double_ = 0;
    LV2_URID int_ = 0;
    LV2_URID long_ = 0;
};

} // namespace lv2port
