#include "GuiPart.h"

#include "ControlFactory.h"
#include "DspInterface.h"
#include "NumValListener.h"
#include "NumericParamMgr.h"
#include "QuenloGui.h"
#include "SkinLayout.h"

namespace mppi {

GuiPart::~GuiPart() = default;

void GuiPart::refreshPanels()
{
    const int mode = gui_.timeUnitMode();
    const double tempo = gui_.tempo();
    for (const auto& panel : panels_) {
        panel->main().refreshFromAlgorithm(mode, tempo);
        panel->refreshFromAlgorithm(mode, tempo);
    }
}

pengui::ControlInterface* GuiPart::controlOf(int index) const
{
    MetaControl* meta = gui_.metaControl(index);
    return meta && meta->listener() ? meta->listener()->control() : nullptr;
}

pengui::ControlInterface& GuiPart::addControl(const skin_layout::ControlRow& row, pengui::CtrlGroupItem* group,
                                              char tapLetter)
{
    const ControlFactory factory(gui_.skin(), gui_.resources());
    controls_.push_back(factory.make(row, tapLetter, number_ == 1 && row.cell == "delay line"));
    pengui::ControlInterface& control = *controls_.back();
    if (group)
        group->add_control(&control);
    gui_.adopt(control);
    return control;
}

void GuiPart::attach(pengui::ControlInterface& control, std::unique_ptr<pengui::EventListenerInterface> listener)
{
    control.set_listener(listener.get());
    listeners_.push_back(std::move(listener));
}

void GuiPart::bindParameter(ListenerBase& listener, int index)
{
    listener.init(index, gui_.dsp() ? gui_.dsp()->param(index) : nullptr);
    if (MetaControl* meta = gui_.metaControl(index))
        meta->bind(&listener);
}

NumValListenerInterface& GuiPart::addNumeric(const skin_layout::ControlRow& row, pengui::CtrlGroupItem& group,
                                             char tapLetter)
{
    const int index = parameterOf(row);
    pengui::ControlInterface& control = addControl(row, &group, tapLetter);
    panels_.push_back(std::make_unique<NumericParamMgr>(gui_, index));
    NumericParamMgr& panel = *panels_.back();
    NumValListenerInterface& listener = listen(control, make_value_listener(row.listener, gui_, panel));
    bindParameter(listener, index);
    panel.build(listener);
    return listener;
}

} // namespace mppi
