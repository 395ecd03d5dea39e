#pragma once

#include "SPTreeNodeInterface.h"

#include <vector>

namespace pengui {

class ControlInterface;

// A leaf of the control tree: a group of controls (not owned) placed relative to the group's
// origin. Point messages go to the first control that contains the point; region messages to
// every control whose box meets the area, in adding order.
class CtrlGroupItem : public CtrlGroupNodeInterface {
public:
    // Answers the new count; the control sends its up messages through this group.
    int add_control(ControlInterface* control);
    // Places every control at the origin plus its offset.
    void set_origin(Point point) override;
    int handle_down(MessageInterface& message) override;
    // Asks each control to repaint itself, when the group is visible.
    void redraw_all();

    int count() const { return static_cast<int>(controls_.size()); }
    ControlInterface* control(int index) const { return controls_[static_cast<std::size_t>(index)]; }

private:
    std::vector<ControlInterface*> controls_;
    // Set whenever the controls change, so a delivery in progress stops.
    bool stop_ = false;
};

} // namespace pengui
