#pragma once

#include <array>

namespace mppi {

class PresetLoadBankListener;
class PresetMemListener;
class PresetNumberListener;
class PresetSaveBankListener;
class PresetTimeDisplayListener;
class PresetTimeFaderListener;
class ProgStLdInterface;

// How the preset listeners reach each other and the program store/load interface in use.
class PresetListenerRefList {
public:
    ProgStLdInterface* programs = nullptr;
    PresetLoadBankListener* load = nullptr;
    PresetSaveBankListener* save = nullptr;
    PresetMemListener* storeMode = nullptr;
    std::array<PresetNumberListener*, 8> numbers{};
    PresetTimeDisplayListener* timeDisplay = nullptr;
    PresetTimeFaderListener* timeFader = nullptr;
};

} // namespace mppi
