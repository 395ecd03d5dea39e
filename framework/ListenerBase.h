#pragma once

#include "DefaultEventListener.h"

namespace mppi {

class HostGuiInterface;
class NormalizedParamInterface;

// Binds one editor control to one host parameter. Changes the user makes go to the host
// services, never straight into the parameter, so that the host is told and priorities apply:
// the control asks before each change (may_change), hands over the user's value (user_value)
// and tells when its hold ends (released) and when its gesture is over (settled). The host
// hears the gesture's begin before its first value and its end when it settles. Subclasses
// reach the editor's host services and
// may convert between the control's value and the parameter's normalized value (the identity
// here). Editor thread only.
class ListenerBase : public pengui::DefaultEventListener {
public:
    void init(int index, NormalizedParamInterface* param);
    int index() const { return index_; }
    NormalizedParamInterface* param() const { return param_; }

    bool testPriority(int priority);
    void releasePriority(int priority);
    // Asks the host services to set the parameter; answers the value.
    double setValue(double normalized, int priority);
    // Shows the parameter's current value on the control, with priority 1.
    void refresh();

    virtual double controlToParam(double controlValue) const { return controlValue; }
    virtual double paramToControl(double normalized) const { return normalized; }
    // Moves the bound control to `controlValue` without telling the host; answers whether the
    // control took it (a gesture of higher priority on the parameter refuses it).
    virtual bool showOnControl(double controlValue, int priority);

    // The host hears that the user's gesture on the parameter begins, once until it ends.
    void beginGesture();
    void endGesture();
    bool gestureOpen() const { return gestureOpen_; }

    bool may_change(int priority) override { return testPriority(priority); }
    void released(int priority) override { releasePriority(priority); }
    void settled() override { endGesture(); }
    double user_value(double value, int priority) override;

protected:
    virtual HostGuiInterface* hostGui() const = 0;

private:
    int index_ = -1;
    NormalizedParamInterface* param_ = nullptr;
    bool gestureOpen_ = false;
};

} // namespace mppi
