#include "GuiDelayLine.h"

#include "NumValListener.h"
#include "QuenloGui.h"
#include "SkinLayout.h"

namespace mppi {

void GuiDelayLine::build()
{
    groups_.push_back(std::make_unique<pengui::CtrlGroupItem>());
    for (const skin_layout::ControlRow& row : gui().skin().controls) {
        if (row.cell != "delay line")
            continue;
        if (row.kind == skin_layout::ControlKind::kSwitch) {
            pengui::ControlInterface& control = addControl(row, &cell());
            bindParameter(listen(control, std::make_unique<ListenerBaseRc>(gui())), parameterOf(row));
        } else {
            addNumeric(row, cell());
        }
    }
}

} // namespace mppi
