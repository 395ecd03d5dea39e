#pragma once

namespace pengui {

class ControlInterface;
class MessageInterface;

// How a control reports to the application. A control holds at most one listener, not owned.
// Every call comes on the editor's thread, from inside the control's message handling.
class EventListenerInterface {
public:
    virtual ~EventListenerInterface() = default;

    // A mouse button went down on the control.
    virtual void begin_edit() = 0;
    // The control left its active state.
    virtual void end_edit() = 0;
    // Asked before every change of the value; false refuses the change.
    virtual bool may_change(int source) = 0;
    // The pointer gesture that drove the value ended.
    virtual void released(int source) = 0;
    // The user's gesture is over: nothing it started still moves the value (a knob's glide
    // after the release has stopped too). May come more than once for one gesture.
    virtual void settled() = 0;
    // The value the control stores.
    virtual double store_value(double value, int source) = 0;
    // Applied to a value the user produced.
    virtual double user_value(double value, int source) = 0;
    // Applied to a value set through the control's second set-value path (`update_value`).
    virtual double set_value_hook(double value, int source) = 0;
    // A discrete event: 0 a push button was pressed, 1 a text box took new text.
    virtual void action(int event, int argument) = 0;
    virtual void before_message(MessageInterface& message) = 0;
    virtual void after_message(MessageInterface& message) = 0;
    // Remembers the control listened to.
    virtual void attach(ControlInterface* control) = 0;
    virtual ControlInterface* control() const = 0;
};

// Source codes of value changes: the user's pointer while a button is held, an animation that
// goes on after the release.
inline constexpr int kSourceDrag = 200;
inline constexpr int kSourceAnimation = 50;

} // namespace pengui
