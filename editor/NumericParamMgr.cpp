#include "NumericParamMgr.h"

#include "ControlFactory.h"
#include "DspInterface.h"
#include "Knob.h"
#include "NormalizedParamInterface.h"
#include "PanelListeners.h"
#include "ParamLfoDepth.h"
#include "ParamLfoWf.h"
#include "QuenloGui.h"
#include "SkinLayout.h"
#include "Switch.h"
#include "TextBox.h"

#include <stdexcept>

namespace mppi {

namespace {

// An LFO's period, depth and waveform follow their parameter at the next three indexes.
bool has_lfo(DspInterface* dsp, int index)
{
    return dsp && dynamic_cast<ParamLfoDepth*>(dsp->param(index + 2)) &&
           dynamic_cast<ParamLfoWf*>(dsp->param(index + 3));
}

} // namespace

NumericParamMgr::NumericParamMgr(QuenloGui& gui, int index) : gui_(gui), index_(index)
{
    if (has_lfo(gui.dsp(), index)) {
        periodIndex_ = index + 1;
        depthIndex_ = index + 2;
        waveformIndex_ = index + 3;
    }
}

NumericParamMgr::~NumericParamMgr() = default;

pengui::ControlInterface& NumericParamMgr::keep(std::unique_ptr<pengui::ControlInterface> control,
                                                pengui::CtrlGroupItem& group)
{
    controls_.push_back(std::move(control));
    group.add_control(controls_.back().get());
    gui_.adopt(*controls_.back());
    return *controls_.back();
}

void NumericParamMgr::build(NumValListenerInterface& main)
{
    main_ = &main;
    const ControlFactory factory(gui_.skin(), gui_.resources());
    // The text panel's rows in table order: name, value, unit.
    std::vector<pengui::TextBox*> boxes;
    for (const skin_layout::ControlRow& row : gui_.skin().controls)
        if (row.cell == "detail text")
            boxes.push_back(dynamic_cast<pengui::TextBox*>(&keep(factory.make(row), textGroup_)));
    if (boxes.size() != 3 || !boxes[0] || !boxes[1] || !boxes[2])
        throw std::runtime_error("the detail panel needs a name, a value and a unit box");
    nameBox_ = boxes[0];
    valueBox_ = boxes[1];
    unitBox_ = boxes[2];
    valueListener_ = std::make_unique<NumValTbListener>(gui_, *this, index_);
    valueListener_->setTarget(main.control());
    valueBox_->set_listener(valueListener_.get());
    if (hasLfo())
        buildLfo();
}

void NumericParamMgr::buildLfo()
{
    const ControlFactory factory(gui_.skin(), gui_.resources());
    for (const skin_layout::ControlRow& row : gui_.skin().controls) {
        if (row.cell != "detail LFO")
            continue;
        pengui::ControlInterface& control = keep(factory.make(row), lfoGroup_);
        if (row.listener == "LfoPerKnListener")
            periodKnob_ = dynamic_cast<pengui::Knob*>(&control);
        else if (row.listener == "LfoPerTbListener")
            periodBox_ = dynamic_cast<pengui::TextBox*>(&control);
        else if (row.listener == "LfoDepthKnListener")
            depthKnob_ = dynamic_cast<pengui::Knob*>(&control);
        else if (row.listener == "LfoDepthTbListener")
            depthBox_ = dynamic_cast<pengui::TextBox*>(&control);
        else
            waveform_ = dynamic_cast<pengui::Switch*>(&control);
    }
    if (!periodKnob_ || !periodBox_ || !depthKnob_ || !depthBox_ || !waveform_)
        throw std::runtime_error("the LFO panel needs two knobs, two boxes and a switch");

    periodListener_ = std::make_unique<LfoPerKnListener>(gui_, *this, *periodBox_);
    depthListener_ = std::make_unique<LfoDepthKnListener>(gui_, *this, *depthBox_);
    waveformListener_ = std::make_unique<EditorListener>(gui_);
    const std::pair<EditorListener*, pengui::ControlInterface*> bound[] = {
        {periodListener_.get(), periodKnob_}, {depthListener_.get(), depthKnob_}, {waveformListener_.get(), waveform_}};
    for (int offset = 0; offset < 3; ++offset) {
        auto [listener, control] = bound[offset];
        const int param = periodIndex_ + offset;
        listener->init(param, gui_.dsp()->param(param));
        control->set_listener(listener);
        if (MetaControl* meta = gui_.metaControl(param))
            meta->bind(listener);
    }
    periodTextListener_ = std::make_unique<LfoPerTbListener>(gui_, *this, periodIndex_);
    periodTextListener_->setTarget(periodKnob_);
    periodBox_->set_listener(periodTextListener_.get());
    depthTextListener_ = std::make_unique<LfoDepthTbListener>(gui_, *this, depthIndex_);
    depthTextListener_->setTarget(depthKnob_);
    depthBox_->set_listener(depthTextListener_.get());
}

void NumericParamMgr::showNameAndUnit()
{
    if (const NormalizedParamInterface* param = gui_.dsp() ? gui_.dsp()->param(index_) : nullptr) {
        nameBox_->set_text(param->name());
        unitBox_->set_text(param->unitLabel());
    }
}

void NumericParamMgr::refreshFromAlgorithm(int mode, double tempo)
{
    if (periodListener_)
        periodListener_->refreshFromAlgorithm(mode, tempo);
    if (const NormalizedParamInterface* param = gui_.dsp() ? gui_.dsp()->param(index_) : nullptr)
        unitBox_->set_text(param->unitLabel());
}

} // namespace mppi
