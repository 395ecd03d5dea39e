#include "ControlInterface.h"

#include "CtrlGroupItem.h"
#include "EventListenerInterface.h"
#include "Messages.h"

#include <cmath>

namespace pengui {

bool ControlInterface::contains(Point point) const
{
    return BoundingBoxDefaultChecker::contains(local(point));
}

int ControlInterface::handle_message(MessageInterface& message)
{
    if (listener_)
        listener_->before_message(message);
    int result = -1;
    // The redraw first: it is by far the most frequent.
    if (auto* redraw = dynamic_cast<Redraw*>(&message)) {
        result = shown_ ? on_redraw(*redraw) : 0;
    } else if (auto* invalidate = dynamic_cast<Invalidate*>(&message)) {
        result = on_invalidate(*invalidate);
    } else if (auto* capture = dynamic_cast<MouseCapture*>(&message)) {
        result = on_mouse_capture(*capture);
    } else if (auto* release = dynamic_cast<MouseRelease*>(&message)) {
        result = on_mouse_release(*release);
    } else if (auto* lost = dynamic_cast<MouseCaptureLost*>(&message)) {
        result = on_mouse_capture_lost(*lost);
    } else if (auto* move = dynamic_cast<MouseMove*>(&message)) {
        result = on_mouse_move(*move);
    } else if (auto* click = dynamic_cast<MouseClick*>(&message)) {
        if (click->buttons != 0) {
            active_ = true;
            if (listener_)
                listener_->begin_edit();
            set_active(true);
        }
        result = on_mouse_click(*click);
    } else if (auto* setTimer = dynamic_cast<SetTimer*>(&message)) {
        result = on_set_timer(*setTimer);
    } else if (auto* clearTimer = dynamic_cast<ClearTimer*>(&message)) {
        result = on_clear_timer(*clearTimer);
    } else if (auto* notify = dynamic_cast<Notify*>(&message)) {
        result = on_notify(*notify);
    } else if (auto* key = dynamic_cast<KeyPressed*>(&message)) {
        result = on_key_pressed(*key);
    } else if (auto* finished = dynamic_cast<TextInputFinished*>(&message)) {
        result = on_text_input_finished(*finished);
    } else if (auto* show = dynamic_cast<ShowObject*>(&message)) {
        shown_ = show->visible;
        result = on_show_object(*show);
        if (!shown_) {
            on_hide();
            settle();
        }
    } else if (message.travels_up()) {
        result = send_up(message);
    }
    if (listener_)
        listener_->after_message(message);
    return result;
}

bool ControlInterface::applyValue(double value, int source, bool fromUser)
{
    if (!std::isfinite(value) || (listener_ && !listener_->may_change(source)))
        return false;
    if (listener_) {
        const double adjusted = fromUser ? listener_->user_value(value, source) : listener_->set_value_hook(value, source);
        value = listener_->store_value(adjusted, source);
    }
    value_ = value;
    if (redrawOnChange_ || !fromUser)
        request_redraw();
    return true;
}

bool ControlInterface::set_value(double value, int source)
{
    return applyValue(value, source, true);
}

bool ControlInterface::update_value(double value, int source)
{
    return applyValue(value, source, false);
}

void ControlInterface::set_position(Point offset)
{
    groupOffset_ = offset;
    if (parentGroup_ && shown_)
        windowPosition_ = {parentGroup_->origin.x + offset.x, parentGroup_->origin.y + offset.y};
}

void ControlInterface::end_gesture()
{
    active_ = false;
    if (listener_)
        listener_->end_edit();
    set_active(false);
}

void ControlInterface::settle()
{
    if (listener_)
        listener_->settled();
}

void ControlInterface::set_listener(EventListenerInterface* listener)
{
    listener_ = listener;
    if (listener)
        listener->attach(this);
}

int ControlInterface::request_redraw()
{
    // A control that nothing placed a box for draws nothing.
    if (!shown_ || box.x0 == kUnplaced)
        return 0;
    Invalidate invalidate(box.moved(windowPosition_));
    return handle_message(invalidate);
}

int ControlInterface::on_invalidate(Invalidate& message)
{
    return send_up(message);
}

int ControlInterface::on_mouse_capture(MouseCapture& message)
{
    return send_up(message);
}

int ControlInterface::on_mouse_release(MouseRelease& message)
{
    return send_up(message);
}

int ControlInterface::on_set_timer(SetTimer& message)
{
    return send_up(message);
}

int ControlInterface::on_clear_timer(ClearTimer& message)
{
    return send_up(message);
}

int ControlInterface::send_up(MessageInterface& message)
{
    return parentGroup_ ? parentGroup_->handle_message(message) : -1;
}

int ControlInterface::capture_mouse(int mode)
{
    MouseCapture capture(this, mode);
    return handle_message(capture);
}

int ControlInterface::release_mouse(Point point)
{
    MouseRelease release(this, point);
    return handle_message(release);
}

int ControlInterface::start_timer(float period)
{
    int id = -1;
    SetTimer timer(this, period, id);
    return handle_message(timer) == 0 ? id : -1;
}

void ControlInterface::stop_timer(int& id)
{
    if (id < 0)
        return;
    ClearTimer clear(id);
    handle_message(clear);
    id = -1;
}

} // namespace pengui
