#pragma once

#include "BoundingBoxDefaultChecker.h"
#include "MessageHandlerInterface.h"

namespace pengui {

class CtrlGroupItem;
class EventListenerInterface;
class Invalidate;
class MouseCapture;
class MouseCaptureLost;
class MouseClick;
class MouseMove;
class MouseRelease;
class Notify;
class KeyPressed;
class ClearTimer;
class Redraw;
class SetTimer;
class ShowObject;
class TextInputFinished;

// The base of every control: a value (normally 0 .. 1), a hit box in control coordinates, a
// place in its group, and the dispatcher that hands each message to one handler. A control
// reports to its listener, never to the application directly, and sends up messages by
// handing them to its own handle_message. Editor thread only.
class ControlInterface : public BoundingBoxDefaultChecker, public MessageHandlerInterface {
public:
    // Whether `point` (window coordinates) lies in the box.
    bool contains(Point point) const override;

    int handle_message(MessageInterface& message) override;

    // Asks the control to repaint itself.
    virtual void redraw() { request_redraw(); }
    // Ends every gesture, capture and timer; called when the control is hidden.
    virtual void on_hide() {}
    // The active state changed; graphic controls repaint.
    virtual void set_active(bool) {}

    // Sets a value the user produced: the listener may refuse it (false) or adjust it.
    bool set_value(double value, int source);
    // Sets a value from elsewhere (the parameter moved): the listener may refuse it; always repaints.
    bool update_value(double value, int source);
    double value() const { return value_; }

    // Its place relative to its group; follows at once when the group has placed it.
    void set_position(Point offset);
    Point position() const { return groupOffset_; }
    Point window_position() const { return windowPosition_; }
    void set_window_position(Point position) { windowPosition_ = position; }
    void set_parent_group(CtrlGroupItem* group) { parentGroup_ = group; }

    // Leaves the active state: the listener's end_edit, then set_active(false).
    void end_gesture();
    // Tells the listener that the user's gesture on the value is over (see `settled`).
    void settle();
    bool active() const { return active_; }
    bool shown() const { return shown_; }
    bool enabled() const { return enabled_; }
    void set_enabled(bool enabled) { enabled_ = enabled; }
    void set_redraw_on_change(bool redraw) { redrawOnChange_ = redraw; }
    // Stores the listener (not owned) and attaches it to this control.
    void set_listener(EventListenerInterface* listener);
    EventListenerInterface* listener() const { return listener_; }

    // Sends an Invalidate of the box at the window position, when shown.
    int request_redraw();

protected:
    virtual int on_invalidate(Invalidate& message);
    virtual int on_redraw(Redraw&) { return -1; }
    virtual int on_mouse_capture(MouseCapture& message);
    virtual int on_mouse_release(MouseRelease& message);
    virtual int on_mouse_capture_lost(MouseCaptureLost&) { return -1; }
    virtual int on_mouse_move(MouseMove&) { return -1; }
    virtual int on_mouse_click(MouseClick&) { return -1; }
    virtual int on_set_timer(SetTimer& message);
    virtual int on_clear_timer(ClearTimer& message);
    virtual int on_notify(Notify&) { return -1; }
    virtual int on_key_pressed(KeyPressed&) { return -1; }
    virtual int on_text_input_finished(TextInputFinished&) { return -1; }
    virtual int on_show_object(ShowObject&) { return -1; }

    // Hands an up message to the parent group: -1 without one.
    int send_up(MessageInterface& message);
    // The control's own up messages, answered by the window (0 accepted).
    int capture_mouse(int mode);
    int release_mouse(Point point);
    // Starts a timer of `period` seconds ticking to this control; its id, or -1 when refused.
    int start_timer(float period);
    void stop_timer(int& id);
    // A window point in control coordinates.
    Point local(Point windowPoint) const { return {windowPoint.x - windowPosition_.x, windowPoint.y - windowPosition_.y}; }
    // A tile area (window coordinates) in control coordinates.
    Rect local(const Rect& area) const { return area.moved(-windowPosition_.x, -windowPosition_.y); }

private:
    bool applyValue(double value, int source, bool fromUser);

    double value_ = 0.0;
    Point windowPosition_;
    Point groupOffset_;
    bool enabled_ = true;
    bool active_ = false;
    CtrlGroupItem* parentGroup_ = nullptr;
    EventListenerInterface* listener_ = nullptr;
    bool shown_ = false;
    bool redrawOnChange_ = true;
};

} // namespace pengui
