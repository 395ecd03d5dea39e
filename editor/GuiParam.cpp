#include "GuiParam.h"

#include "NumericParamMgr.h"
#include "QuenloGui.h"

namespace mppi {

void GuiParam::build()
{
    groups_.push_back(std::make_unique<pengui::CtrlGroupItem>());
    groups_.push_back(std::make_unique<pengui::CtrlGroupItem>());
}

void GuiParam::select(NumericParamMgr& panel)
{
    if (selected_ == &panel)
        return;
    selected_ = &panel;
    gui().placeInCell(kTextCell, panel.textGroup());
    gui().placeInCell(kLfoCell, panel.hasLfo() ? panel.lfoGroup() : emptyLfo());
}

} // namespace mppi
