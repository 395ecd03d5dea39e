#pragma once

#include "GuiPart.h"

namespace mppi {

// One delay line: level, pan, time, feedback, the filter with its type switch, the distortion
// and the shelf, each numeric control with its detail panel; linked to the other line.
class GuiDelayLine : public GuiPart {
public:
    using GuiPart::GuiPart;

    // Builds the "delay line" rows for line `number` (0 or 1) into its cell.
    void build();
    pengui::CtrlGroupItem& cell() { return *groups_.front(); }
};

} // namespace mppi
