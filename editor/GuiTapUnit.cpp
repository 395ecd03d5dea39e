#include "GuiTapUnit.h"

#include "QuenloGui.h"
#include "SkinLayout.h"

namespace mppi {

void GuiTapUnit::build()
{
    groups_.push_back(std::make_unique<pengui::CtrlGroupItem>());
    for (const skin_layout::ControlRow& row : gui().skin().controls)
        if (row.cell == "tap")
            addNumeric(row, cell(), kColourLetters[number()]);
}

} // namespace mppi
