#pragma once

#include "BankManager.h"
#include "PresetBank.h"
#include "PresetListenerRefList.h"
#include "PresetListeners.h"
#include "ProgStLdInterface.h"
#include "SystemBankDialogs.h"

#include <array>
#include <memory>

namespace pengui {
class ControlInterface;
class MessageHandlerInterface;
} // namespace pengui

namespace mppi {

// The editor's work on the eight presets: recalled with a timed glide from the current sound,
// stored from it, and loaded or saved as bank files. They live in a PresetBank of its own,
// seeded from an embedded bank when the editor is built, unless the editor is given a store
// where they live already (an LV2 UI's, over its plug-in's). Editor thread only.
class PresetManager {
public:
    // The controls it binds, in the editor's preset cell.
    struct Controls {
        std::array<pengui::ControlInterface*, 8> buttons{};
        pengui::ControlInterface* storeMode = nullptr;
        pengui::ControlInterface* load = nullptr;
        pengui::ControlInterface* save = nullptr;
        pengui::ControlInterface* recallTime = nullptr;
        pengui::ControlInterface* recallTimeText = nullptr;
    };

    PresetManager();
    ~PresetManager();
    PresetManager(const PresetManager&) = delete;
    PresetManager& operator=(const PresetManager&) = delete;

    // Binds the controls and, in its own bank, seeds the presets (PresetBank::seed) from the
    // current sound and the embedded bank `seedBank`. `programs`
    // blends recalls (its own linear blend when null); timer requests go to `timers`. Answers
    // 0, or the seed bank's load code. Does nothing when already initialised.
    int init(HostGuiInterface* applier, DspInterface* source, pengui::MessageHandlerInterface* timers,
             ProgStLdInterface* programs, const Controls& controls, const char* seedBank);
    // Ends every glide where it is.
    void stop();
    // Ends every glide at its preset: the values it was heading for are applied at once.
    void finish();

    bool ready() const { return ready_; }
    // Before init: the presets live in `store` (not owned), which is neither seeded nor
    // replaced; null goes back to the manager's own bank.
    void setStore(PresetStoreInterface* store);
    const BankManager& bank() const { return store_->presets(); }
    PresetStoreInterface& store() { return *store_; }
    const PresetTimeFaderListener& timeFader() const { return timeFader_; }
    PresetNumberListener& number(int index) { return numbers_[static_cast<std::size_t>(index)]; }
    // The dialogs of the bank commands; the system's unless replaced (not owned).
    void setDialogs(BankDialogsInterface* dialogs);

    static constexpr int kPresets = PresetBank::kPresets;

private:
    PresetMemListener storeMode_;
    std::array<PresetNumberListener, kPresets> numbers_;
    PresetTimeDisplayListener timeDisplay_;
    PresetTimeFaderListener timeFader_;
    PresetLoadBankListener load_;
    PresetSaveBankListener save_;
    PresetBank presets_;
    PresetStoreInterface* store_ = &presets_;
    BankDialogsInterface* dialogs_ = nullptr;
    ProgStLdDefault defaultPrograms_;
    PresetListenerRefList refs_;
    SystemBankDialogs systemDialogs_;
    ProgStLdInterface* programs_ = nullptr;
    bool ready_ = false;
};

} // namespace mppi
