#pragma once

namespace mppi {

class ListenerBase;

// The editor's entry for one parameter index: the listener that binds the parameter to its
// control. Host-side changes reach the control through here.
class MetaControl {
public:
    void bind(ListenerBase* listener) { listener_ = listener; }
    ListenerBase* listener() const { return listener_; }

    // A change of the parameter arrived; answers whether a control took it.
    bool setFromChange(double normalized, int priority);
    // Shows the parameter's current value on the control, with priority 1.
    void refresh();

private:
    ListenerBase* listener_ = nullptr;
};

} // namespace mppi
