#pragma once

#include "BankManager.h"
#include "PresetStoreInterface.h"
#include "ProgramSlot.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mppi {

// The eight presets' programs: the musician's data, held by whatever outlives the editor's
// window (the VST 2 editor's preset manager, the LV2 instance). Seeded as a fresh plug-in's
// are, and read and written whole in the byte form of a bank body, the bytes a bank file holds
// after its header, so that a host's saved state and a bank file carry the same data. Not
// thread-safe: its owner calls it from one thread at a time, never from the audio thread
// (everything but bank() may allocate). It is also the store of the editor's preset cell when
// the editor runs in the same process.
class PresetBank : public PresetStoreInterface {
public:
    static constexpr int kPresets = 8;
    // The embedded bank a fresh plug-in's presets come from.
    static constexpr const char* kSeedBank = "default_preset_bank";
    // The largest body decode() reads: far above eight presets of this system (about 4.5 KB),
    // so that an absurd size is refused before anything is read or allocated.
    static constexpr std::size_t kLargestBody = 1 << 20;

    // Eight programs named "Default" without values, until seeded or decoded.
    PresetBank();

    // Every preset := `current`, then the first programs of the embedded bank `seedBank` (when
    // named) over as many presets as it holds. Answers 0, or the seed bank's load code with
    // every preset holding `current`.
    int seed(const ProgramSlot& current, const char* seedBank);

    BankManager& bank() { return bank_; }
    const BankManager& bank() const { return bank_; }

    const BankManager& presets() const override { return bank_; }
    void store(int index, const ProgramSlot& program) override { bank_.replace(index, program); }
    void storeAll(const BankManager& bank) override;

    // `body` := the bank body of the eight presets. Answers 0 or kBankSerializeFailed (the
    // presets' records differ in size), leaving `body` empty.
    int encode(std::vector<std::uint8_t>& body) const;
    // Replaces the eight presets with a bank body, with the check of a bank file's load: eight
    // programs, each with as many values as the preset it replaces. Answers 0 or a BankError
    // (kBankBodyTooLarge beyond kLargestBody), the presets unchanged on any error.
    int decode(const std::uint8_t* body, std::size_t size);

private:
    BankManager bank_;
};

} // namespace mppi
