#pragma once

#include "DefaultEventListener.h"
#include "EditorListener.h"

namespace pengui {
class TextBox;
}

namespace mppi {

// The tempo spin, bound to "Tempo": every value shows in the tempo box, and the panels follow
// (beat times depend on the tempo).
class TempoSpinListener : public EditorListener {
public:
    TempoSpinListener(QuenloGui& gui, pengui::TextBox& box) : EditorListener(gui), box_(box) {}
    double store_value(double value, int source) override;

private:
    pengui::TextBox& box_;
};

// The tempo box: a typed tempo goes to the spin with priority 200; a text it cannot read puts
// the current tempo back.
class TempoTextBoxListener : public pengui::DefaultEventListener {
public:
    TempoTextBoxListener(pengui::ControlInterface* spin, const NormalizedParamInterface* tempo)
        : spin_(spin), tempo_(tempo)
    {
    }
    void action(int event, int argument) override;

private:
    pengui::ControlInterface* spin_;
    const NormalizedParamInterface* tempo_;
};

} // namespace mppi
