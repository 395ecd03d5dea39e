#include "CtrlGroupItem.h"

#include "ControlInterface.h"
#include "Messages.h"

namespace pengui {

int CtrlGroupItem::add_control(ControlInterface* control)
{
    control->set_parent_group(this);
    controls_.push_back(control);
    stop_ = true;
    return count();
}

void CtrlGroupItem::set_origin(Point point)
{
    origin = point;
    for (ControlInterface* control : controls_) {
        const Point offset = control->position();
        control->set_window_position({point.x + offset.x, point.y + offset.y});
    }
}

int CtrlGroupItem::handle_down(MessageInterface& message)
{
    auto* down = message.down();
    if (!down || controls_.empty())
        return 0;
    const Rect area = down->area;
    if (area.isPoint()) {
        for (ControlInterface* control : controls_)
            if (control->contains({area.x0, area.y0}))
                return control->handle_message(message);
        return 0;
    }
    int result = 0;
    stop_ = false;
    for (std::size_t i = 0; i < controls_.size() && !stop_; ++i) {
        ControlInterface* control = controls_[i];
        if (control->box.x0 == kUnplaced)
            continue;
        if (control->box.moved(control->window_position()).overlaps(area))
            result = control->handle_message(message);
    }
    return result;
}

void CtrlGroupItem::redraw_all()
{
    if (!visible)
        return;
    stop_ = false;
    for (std::size_t i = 0; i < controls_.size() && !stop_; ++i)
        controls_[i]->request_redraw();
}

} // namespace pengui
