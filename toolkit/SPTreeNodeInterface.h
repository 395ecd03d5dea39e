#pragma once

#include "Geometry.h"
#include "MessageHandlerInterface.h"

namespace pengui {

// A node of a split tree (the background tree or the control tree). Up messages go to the
// parent; everything else goes to `handle_down`, after a ShowObject has recorded visibility.
// A virtual base of every node class, so a split of the background tree is one node.
class SPTreeNodeInterface : public MessageHandlerInterface {
public:
    int handle_message(MessageInterface& message) override;
    // Stores the origin; node kinds extend it to place what they hold.
    virtual void set_origin(Point point) { origin = point; }
    virtual void touch() {}
    virtual int handle_down(MessageInterface&) { return 0; }

    Point origin{kUnplaced, kUnplaced};
    // The split or window that adopted the node; not owned.
    MessageHandlerInterface* parent = nullptr;
    bool visible = false;
};

// Marks a node of the background tree.
class BackgroundNodeInterface : public virtual SPTreeNodeInterface {};

// Marks a node of the control tree.
class CtrlGroupNodeInterface : public virtual SPTreeNodeInterface {};

} // namespace pengui
