#pragma once

namespace mppi {

class BankManager;
class ProgramSlot;

// Where the eight presets live, as the editor's preset cell reads and writes them: a PresetBank
// in the editor's own process (the VST 2 plug-in), or the plug-in's bank behind the messages an
// LV2 UI exchanges with its plug-in. Editor thread only; may allocate.
class PresetStoreInterface {
public:
    virtual ~PresetStoreInterface() = default;

    // The eight presets as this side knows them: read to recall one or to save a bank file.
    virtual const BankManager& presets() const = 0;
    // Preset `index` := `program`; an index outside the eight is ignored.
    virtual void store(int index, const ProgramSlot& program) = 0;
    // Every preset := the program of `bank` at its place: a bank file loaded with the check
    // against presets(), so it holds eight programs of the same value count.
    virtual void storeAll(const BankManager& bank) = 0;
};

} // namespace mppi
