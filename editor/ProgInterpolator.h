#pragma once

#include "GuiPart.h"
#include "ProgStLdInterface.h"

namespace mppi {

// The editor's blend of two programs for a preset glide: the flags jump to the preset's at
// once, the tempo stays as the editor shows it, and every other value glides linearly in the
// normalized domain, so each parameter's own mapping shapes its glide.
class ProgInterpolator : public ProgStLdInterface, public GuiPart {
public:
    explicit ProgInterpolator(QuenloGui& gui) : GuiPart(gui) {}
    void interpolate(ProgramSlot& output, const ProgramSlot& from, const ProgramSlot& to, double x) override;
};

} // namespace mppi
