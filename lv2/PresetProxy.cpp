#include "PresetProxy.h"

#include "FixedPorts.h"

namespace lv2port {

PresetProxy::PresetProxy(const LV2_URID_Map* map, LV2UI_Write_Function write, LV2UI_Controller controller,
                         const mppi::ProgramSlot& fresh)
    : messages_(map), write_(write), controller_(controller), buffer_(PresetMessages::kPortSize)
{
    copy_.seed(fresh, mppi::PresetBank::kSeedBank);
}

template <typename Write> void PresetProxy::send(Write message)
{
    LV2_Atom_Forge forge = messages_.forge(buffer_.data(), static_cast<std::uint32_t>(buffer_.size()));
    if (!write_ || !message(forge))
        return;
    const auto* atom = reinterpret_cast<const LV2_Atom*>(buffer_.data());
    write_(controller_, kPresetsInput, static_cast<std::uint32_t>(sizeof(LV2_Atom) + atom->size),
           messages_.eventTransfer(), atom);
}

void PresetProxy::request()
{
    send([this](LV2_Atom_Forge& forge) { return messages_.writeGet(forge); });
}

void PresetProxy::sendCopy()
{
    std::vector<std::uint8_t> body;
    if (copy_.encode(body) != 0)
        return;
    send([&](LV2_Atom_Forge& forge) {
        return messages_.writeSet(forge, body.data(), static_cast<std::uint32_t>(body.size()));
    });
}

bool PresetProxy::receive(std::uint32_t format, std::uint32_t size, const void* buffer)
{
    if (!messages_.active() || format != messages_.eventTransfer() || !buffer || size < sizeof(LV2_Atom))
        return false;
    const auto* atom = static_cast<const LV2_Atom*>(buffer);
    if (atom->size > size - sizeof(LV2_Atom))
        return false;
    const PresetMessages::Message message = messages_.read(*atom);
    return message.kind == PresetMessages::Message::kSet && copy_.decode(message.body, message.size) == 0;
}

void PresetProxy::store(int index, const mppi::ProgramSlot& program)
{
    copy_.store(index, program);
    sendCopy();
}

void PresetProxy::storeAll(const mppi::BankManager& bank)
{
    copy_.storeAll(bank);
    sendCopy();
}

} // namespace lv2port
