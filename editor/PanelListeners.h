#pragma once

#include "BeatSnapper.h"
#include "NumValListener.h"

namespace pengui {
class TextBox;
}

namespace mppi {

// The detail panel's listeners. A text box reports finished input with action 1; its text is
// read with its parameter's own parser and, when understood, set on the control it stands for
// with priority 200, whose own listener then tells the host and updates the texts.
class PanelTextListener : public NumericParamListener {
public:
    // `target` is the control the typed value goes to; `param` reads the text.
    PanelTextListener(QuenloGui& gui, NumericParamMgr& panel, int paramIndex, bool stopsGesture);
    void setTarget(pengui::ControlInterface* target) { target_ = target; }
    void action(int event, int argument) override;

private:
    pengui::ControlInterface* target_ = nullptr;
    bool stopsGesture_;
};

// The value box: the typed value goes to the parameter's main control.
class NumValTbListener : public PanelTextListener {
public:
    NumValTbListener(QuenloGui& gui, NumericParamMgr& panel, int paramIndex)
        : PanelTextListener(gui, panel, paramIndex, true)
    {
    }
};

// The LFO period box: the typed period goes to the period knob.
class LfoPerTbListener : public PanelTextListener {
public:
    LfoPerTbListener(QuenloGui& gui, NumericParamMgr& panel, int paramIndex)
        : PanelTextListener(gui, panel, paramIndex, true)
    {
    }
};

// The LFO depth box: the typed depth goes to the depth knob.
class LfoDepthTbListener : public PanelTextListener {
public:
    LfoDepthTbListener(QuenloGui& gui, NumericParamMgr& panel, int paramIndex)
        : PanelTextListener(gui, panel, paramIndex, false)
    {
    }
};

// An LFO knob: every value it takes shows in its text box.
class LfoKnobListener : public NumericParamListener {
public:
    LfoKnobListener(QuenloGui& gui, NumericParamMgr& panel, pengui::TextBox& box)
        : NumericParamListener(gui, panel), box_(box)
    {
    }
    double store_value(double value, int source) override;

private:
    pengui::TextBox& box_;
};

// The LFO period knob, snapping to 31 beat values from 1/64 to 256 while times show in beats.
class LfoPerKnListener : public LfoKnobListener {
public:
    LfoPerKnListener(QuenloGui& gui, NumericParamMgr& panel, pengui::TextBox& box);
    void refreshFromAlgorithm(int mode, double tempo) { snapper_.refresh(*this, mode, tempo); }

private:
    BeatSnapper snapper_;
};

class LfoDepthKnListener : public LfoKnobListener {
public:
    using LfoKnobListener::LfoKnobListener;
};

} // namespace mppi
