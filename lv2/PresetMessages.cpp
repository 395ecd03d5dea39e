#include "PresetMessages.h"

#include "StateKeys.h"

#include <lv2/atom/util.h>
#include <lv2/patch/patch.h>

namespace lv2port {

PresetMessages::PresetMessages(const LV2_URID_Map* map)
{
    if (!map)
        return;
    auto uridOf = [map](const char* uri) { return map->map(map->handle, uri); };
    lv2_atom_forge_init(&forge_, const_cast<LV2_URID_Map*>(map));
    object_ = uridOf(LV2_ATOM__Object);
    blank_ = uridOf(LV2_ATOM__Blank);
    get_ = uridOf(LV2_PATCH__Get);
    set_ = uridOf(LV2_PATCH__Set);
    property_ = uridOf(LV2_PATCH__property);
    value_ = uridOf(LV2_PATCH__value);
    presets_ = uridOf(state_uri(kPresetsKey).c_str());
    bankType_ = uridOf(state_uri(kPresetBankType).c_str());
    eventTransfer_ = uridOf(LV2_ATOM__eventTransfer);
}

PresetMessages::Message PresetMessages::read(const LV2_Atom& atom) const
{
    Message message;
    if (!active() || (atom.type != object_ && atom.type != blank_) || atom.size < sizeof(LV2_Atom_Object_Body))
        return message;
    const auto* object = reinterpret_cast<const LV2_Atom_Object*>(&atom);
    const LV2_Atom* property = nullptr;
    const LV2_Atom* value = nullptr;
    lv2_atom_object_get(object, property_, &property, value_, &value, 0);
    const bool ofPresets = property && property->type == forge_.URID && property->size >= sizeof(LV2_URID) &&
                           reinterpret_cast<const LV2_Atom_URID*>(property)->body == presets_;
    if (object->body.otype == get_ && (!property || ofPresets)) {
        message.kind = Message::kGet;
    } else if (object->body.otype == set_ && ofPresets && value && value->type == bankType_) {
        message.kind = Message::kSet;
        message.body = static_cast<const std::uint8_t*>(LV2_ATOM_BODY_CONST(value));
        message.size = value->size;
    }
    return message;
}

bool PresetMessages::fits(const LV2_Atom_Forge& forge, std::uint32_t body)
{
    return forge.buf && forge.offset <= forge.size && forge.size - forge.offset >= body + kMessageHeaders;
}

LV2_Atom_Forge PresetMessages::forge(std::uint8_t* buffer, std::uint32_t size) const
{
    LV2_Atom_Forge forge = forge_;
    lv2_atom_forge_set_buffer(&forge, buffer, size);
    return forge;
}

bool PresetMessages::writeGet(LV2_Atom_Forge& forge) const
{
    LV2_Atom_Forge_Frame frame;
    if (!active() || !fits(forge, 0) || !lv2_atom_forge_object(&forge, &frame, 0, get_))
        return false;
    const bool written = lv2_atom_forge_key(&forge, property_) && lv2_atom_forge_urid(&forge, presets_);
    lv2_atom_forge_pop(&forge, &frame);
    return written;
}

bool PresetMessages::writeSet(LV2_Atom_Forge& forge, const std::uint8_t* body, std::uint32_t size) const
{
    LV2_Atom_Forge_Frame frame;
    if (!active() || !fits(forge, size) || !lv2_atom_forge_object(&forge, &frame, 0, set_))
        return false;
    const bool written = lv2_atom_forge_key(&forge, property_) && lv2_atom_forge_urid(&forge, presets_) &&
                         lv2_atom_forge_key(&forge, value_) && lv2_atom_forge_atom(&forge, size, bankType_) &&
                         lv2_atom_forge_write(&forge, body, size);
    lv2_atom_forge_pop(&forge, &frame);
    return written;
}

} // namespace lv2port
