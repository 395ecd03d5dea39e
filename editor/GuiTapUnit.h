#pragma once

#include "GuiPart.h"

namespace mppi {

// One tap unit: its time, level and pan controls, each with its detail panel.
class GuiTapUnit : public GuiPart {
public:
    using GuiPart::GuiPart;

    // Builds the "tap" rows for tap `number` (0 .. 3) into its cell.
    void build();
    pengui::CtrlGroupItem& cell() { return *groups_.front(); }

    // The colour letter of each tap's pictures.
    static constexpr char kColourLetters[4] = {'r', 'b', 'g', 'o'};
};

} // namespace mppi
