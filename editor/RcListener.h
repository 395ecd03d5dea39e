#pragma once

namespace pengui {
class ControlInterface;
class MessageInterface;
} // namespace pengui

namespace mppi {

class ListenerBase;
class QuenloGui;

// The link between the two delay lines: a drag with the right button moves the same control of
// the other line with it, in step, mirrored (Control), keeping the offset present at the press
// (Shift), or keeping the sum (Shift and Control). Editor thread only.
class RcListener {
public:
    RcListener(ListenerBase& owner, QuenloGui& gui) : owner_(owner), gui_(gui) {}

    // The other line's parameter for `index`: 33 further or back within the lines, else 0.
    static int partner(int index);

    // Takes the buttons and modifiers of a press on the owner's control.
    void before_message(pengui::MessageInterface& message);
    // The user moved the owner's control to `value`: moves the partner's control.
    void link(double value, int priority);
    // The owner's gesture ended: so does the hold it put on the partner's parameter.
    void released(int priority);
    // The owner's gesture is over, its glide included: so is the partner's gesture that the
    // link began.
    void settled();

private:
    ListenerBase* partnerOf() const;
    pengui::ControlInterface* partnerControl() const;

    ListenerBase& owner_;
    QuenloGui& gui_;
    bool busy_ = false;
    bool openedPartner_ = false;
    bool right_ = false;
    bool shift_ = false;
    bool control_ = false;
    double partnerStart_ = 0.0;
    double t_ = 0.0;
    double hi_ = 0.0;
    double lo_ = 0.0;
};

} // namespace mppi
