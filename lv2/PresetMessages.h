#pragma once

#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/urid/urid.h>

#include <cstdint>

namespace lv2port {

// The messages about the eight presets between the plug-in and its UI, as atoms: a patch:Get
// asks for them, a patch:Set carries them, under the property the saved state keeps them in
// (#presets) with a value of the same type (#PresetBank, a bank body). Both sides use it.
// Reading and writing allocate nothing and may run on the audio thread; building maps URIs.
class PresetMessages {
public:
    // The largest message either side sends: the atom ports' buffer size the bundle asks hosts
    // for (rsz:minimumSize), far above eight presets (about 4.7 KB).
    static constexpr std::uint32_t kPortSize = 16384;

    struct Message {
        enum Kind { kNone, kGet, kSet };
        Kind kind = kNone;
        // A Set's bank body.
        const std::uint8_t* body = nullptr;
        std::uint32_t size = 0;
    };

    // Without the host's URID map (null) nothing is read or written.
    explicit PresetMessages(const LV2_URID_Map* map);

    bool active() const { return set_ != 0; }
    // A patch:Get of the presets (or of every property), or a patch:Set of the presets to a
    // value of their type; kNone for anything else.
    Message read(const LV2_Atom& atom) const;
    // A forge that writes into `buffer`, of `size` bytes.
    LV2_Atom_Forge forge(std::uint8_t* buffer, std::uint32_t size) const;
    // Whether the forge has room for a message with a body of `body` bytes and the header of
    // the event that carries it in a sequence.
    static bool fits(const LV2_Atom_Forge& forge, std::uint32_t body);
    // Appends a message, whole; false, and nothing written, when it does not fit.
    bool writeGet(LV2_Atom_Forge& forge) const;
    bool writeSet(LV2_Atom_Forge& forge, const std::uint8_t* body, std::uint32_t size) const;
    // The protocol of atoms between a UI and its host (atom:eventTransfer).
    LV2_URID eventTransfer() const { return eventTransfer_; }

private:
    // A message's object, keys and value header beyond its body, and an event's header.
    static constexpr std::uint32_t kMessageHeaders = 96;

    LV2_Atom_Forge forge_{};
    LV2_URID object_ = 0;
    LV2_URID blank_ = 0;
    LV2_URID get_ = 0;
    LV2_URID set_ = 0;
    LV2_URID property_ = 0;
    LV2_URID value_ = 0;
    LV2_URID presets_ = 0;
    LV2_URID bankType_ = 0;
    LV2_URID eventTransfer_ = 0;
};

} // namespace lv2port
