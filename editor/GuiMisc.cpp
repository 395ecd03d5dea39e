#include "GuiMisc.h"

#include "DspInterface.h"
#include "FlagListener.h"
#include "ParamIndexes.h"
#include "QuenloGui.h"
#include "SkinLayout.h"
#include "TempoListeners.h"
#include "TextBox.h"
#include "WindowInterface.h"

#include <stdexcept>

namespace mppi {

pengui::ControlInterface* GuiMisc::control(std::string_view listener, int nth) const
{
    for (const auto& [name, made] : made_)
        if (name == listener && nth-- == 0)
            return made;
    return nullptr;
}

void GuiMisc::build()
{
    for (const char* name : kCells) {
        groups_.push_back(std::make_unique<pengui::CtrlGroupItem>());
        cells_[name] = groups_.back().get();
    }
    for (const skin_layout::ControlRow& row : gui().skin().controls) {
        const auto found = cells_.find(std::string(row.cell));
        if (found == cells_.end())
            continue;
        if (row.listener == "NumValListenerInterface") {
            addNumeric(row, *found->second);
            continue;
        }
        // With the host's tempo the tempo follows the host: no spin in the cell.
        const bool outside = row.listener == "TempoSpinListener" && gui().hostCanTempo();
        made_.emplace_back(row.listener, &addControl(row, outside ? nullptr : found->second));
    }
    bindTempo();
    bindFlags();
    bindPresets();
}

void GuiMisc::bindTempo()
{
    pengui::ControlInterface* spin = control("TempoSpinListener");
    auto* box = dynamic_cast<pengui::TextBox*>(control("TempoTextBoxListener"));
    if (!spin || !box)
        throw std::runtime_error("the tempo cell needs a spin and a text box");
    bindParameter(listen(*spin, std::make_unique<TempoSpinListener>(gui(), *box)), kTempoIndex);
    const bool followsHost = gui().hostCanTempo();
    listen(*box, std::make_unique<TempoTextBoxListener>(followsHost ? nullptr : spin, gui().dsp()->param(kTempoIndex)));
    if (followsHost)
        box->set_enabled(false);
}

void GuiMisc::bindFlags()
{
    FlagListener& flags = gui().flagListener();
    pengui::ControlInterface* beats = control("MsBpmListener");
    pengui::ControlInterface* sustain = control("SustLoopListener");
    pengui::ControlInterface* lines = control("Delay2Listener");
    if (!beats || !sustain || !lines)
        throw std::runtime_error("the flag flip-flops are missing");
    listen(*beats, std::make_unique<MsBpmListener>(flags));
    listen(*sustain, std::make_unique<SustLoopListener>(flags));
    listen(*lines, std::make_unique<Delay2Listener>(flags, gui()));
    flags.setFlipFlops(lines, beats, sustain);
}

void GuiMisc::bindPresets()
{
    PresetManager::Controls controls;
    for (int index = 0; index < PresetManager::kPresets; ++index)
        controls.buttons[static_cast<std::size_t>(index)] = control("PresetNumberListener", index);
    controls.storeMode = control("PresetMemListener");
    controls.load = control("PresetLoadBankListener");
    controls.save = control("PresetSaveBankListener");
    controls.recallTime = control("PresetTimeFaderListener");
    controls.recallTimeText = control("PresetTimeDisplayListener");
    // A missing seed bank leaves the presets at the current sound.
    presets_.init(gui().hostGui(), gui().dsp(), gui().window(), &interpolator_, controls, kSeedBank);
}

} // namespace mppi
