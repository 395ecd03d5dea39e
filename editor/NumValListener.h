#pragma once

#include "BeatSnapper.h"
#include "EditorListener.h"
#include "RcListener.h"

#include <memory>
#include <string_view>

namespace mppi {

class NumericParamMgr;

// The base of the listeners that belong to a parameter's detail panel.
class NumericParamListener : public EditorListener {
public:
    NumericParamListener(QuenloGui& gui, NumericParamMgr& panel) : EditorListener(gui), panel_(panel) {}
    NumericParamMgr& panel() const { return panel_; }

private:
    NumericParamMgr& panel_;
};

// The main control of a numeric parameter (a knob or a fader): a press selects it and shows its
// panel; every value it takes shows as the panel's value text.
class NumValListenerInterface : public NumericParamListener {
public:
    using NumericParamListener::NumericParamListener;

    void begin_edit() override;
    double store_value(double value, int source) override;
    // The time controls snap to beats; the others have nothing to refresh.
    virtual void refreshFromAlgorithm(int /*mode*/, double /*tempo*/) {}
};

// A listener whose control is linked to the same control of the other delay line: a press
// sets the gesture, each value the user gives moves the partner first, and the release and
// the gesture's end end the partner's hold and gesture too.
template <class Base>
class RcLinked : public Base {
public:
    template <class... Rest>
    explicit RcLinked(QuenloGui& gui, Rest&... rest) : Base(gui, rest...), link_(*this, gui)
    {
    }
    void before_message(pengui::MessageInterface& message) override { link_.before_message(message); }
    double user_value(double value, int priority) override
    {
        link_.link(value, priority);
        return Base::user_value(value, priority);
    }
    void released(int priority) override
    {
        Base::released(priority);
        link_.released(priority);
    }
    void settled() override
    {
        Base::settled();
        link_.settled();
    }

private:
    RcListener link_;
};

// A delay line's control, linked to the same control of the other line.
class NumValListenerRc : public RcLinked<NumValListenerInterface> {
public:
    NumValListenerRc(QuenloGui& gui, NumericParamMgr& panel) : RcLinked(gui, panel) {}
};

// A delay line's time: linked, and snapping to 20 beat values from 1/128 to 4.
class DelayTimeListener : public NumValListenerRc {
public:
    DelayTimeListener(QuenloGui& gui, NumericParamMgr& panel);
    void refreshFromAlgorithm(int mode, double tempo) override { snapper_.refresh(*this, mode, tempo); }

private:
    BeatSnapper snapper_;
};

// A tap's time: snapping to 19 beat values from 0 to 4.
class TapTimeListener : public NumValListenerInterface {
public:
    TapTimeListener(QuenloGui& gui, NumericParamMgr& panel);
    void refreshFromAlgorithm(int mode, double tempo) override { snapper_.refresh(*this, mode, tempo); }

private:
    BeatSnapper snapper_;
};

// A delay line's filter-type switch: linked, without a panel.
class ListenerBaseRc : public RcLinked<EditorListener> {
public:
    explicit ListenerBaseRc(QuenloGui& gui) : RcLinked(gui) {}
};

// The main listener a layout row names ("NumValListenerInterface", "NumValListenerRc",
// "DelayTimeListener", "TapTimeListener"); the plain one for any other name.
std::unique_ptr<NumValListenerInterface> make_value_listener(std::string_view name, QuenloGui& gui, NumericParamMgr& panel);

} // namespace mppi
