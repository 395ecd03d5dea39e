#pragma once

#include "PresetBank.h"
#include "PresetMessages.h"

#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <vector>

namespace lv2port {

// The eight presets as the editor of an LV2 UI sees them: the plug-in's, through the presets'
// messages. A copy of them is kept here, replaced by each patch:Set the plug-in sends; whatever
// the editor stores or loads from a bank file goes to the plug-in as a patch:Set of all eight.
// Until the plug-in's first answer the copy holds the presets a fresh plug-in holds. Without
// the host's URID map nothing is sent or taken, and the copy is the UI's own. The host's UI
// thread only; allocates.
class PresetProxy : public mppi::PresetStoreInterface {
public:
    // `map` may be null; `write` and `controller` are the host's. `fresh` is the sound a fresh
    // plug-in holds, which its presets are seeded from.
    PresetProxy(const LV2_URID_Map* map, LV2UI_Write_Function write, LV2UI_Controller controller,
                const mppi::ProgramSlot& fresh);

    // Asks the plug-in for its presets (a patch:Get).
    void request();
    // What the host gives from the plug-in's output port: a patch:Set of the presets, as an atom
    // in the host's event protocol, replaces the copy when it holds eight presets of this
    // system. Answers whether it did; anything else is ignored.
    bool receive(std::uint32_t format, std::uint32_t size, const void* buffer);

    const mppi::BankManager& presets() const override { return copy_.bank(); }
    void store(int index, const mppi::ProgramSlot& program) override;
    void storeAll(const mppi::BankManager& bank) override;

private:
    // Writes one message to the plug-in's input port.
    template <typename Write> void send(Write message);
    void sendCopy();

    PresetMessages messages_;
    LV2UI_Write_Function write_;
    LV2UI_Controller controller_;
    mppi::PresetBank copy_;
    std::vector<std::uint8_t> buffer_;
};

} // namespace lv2port
