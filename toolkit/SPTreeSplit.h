#pragma once

#include "SPTreeNodeInterface.h"

#include <vector>

namespace pengui {

// Divides its space along one axis into consecutive strips of fixed extent, one per child, in
// the order the children were added. Children are not owned.
class SPTreeSplit : public virtual SPTreeNodeInterface {
public:
    // Side by side, left to right (the axis is x); any other value stacks top to bottom.
    static constexpr int kSideBySide = 1;
    static constexpr int kStacked = 0;

    // Answers the new count. The child is placed after the existing strips and told whether
    // it is visible.
    int add_child(SPTreeNodeInterface* node, int extent);
    // Hides the child at `index` and closes the gap. Answers 0; an index out of range is ignored.
    int remove_child(int index);
    // Hides the old child and forgets its parent, places every child anew and shows the new one.
    int replace_child(SPTreeNodeInterface* node, int extent, int index);

    void set_origin(Point point) override;
    // Delivers a down message to the children whose strips its area spans.
    int handle_down(MessageInterface& message) override;

    int count() const { return static_cast<int>(children_.size()); }
    SPTreeNodeInterface* child(int index) const { return children_[static_cast<std::size_t>(index)].node; }

    int orientation = -1;

private:
    struct Entry {
        SPTreeNodeInterface* node;
        int extent;
    };

    bool horizontal() const { return orientation == kSideBySide; }
    // The origin of the strip that follows `entries` strips.
    Point stripOrigin(std::size_t entries) const;
    // The index of the strip that holds coordinate `c` along the axis.
    int indexAt(int c) const;

    std::vector<Entry> children_;
    // Set whenever the children change, so a delivery in progress stops.
    bool stop_ = false;
};

// A split of the background tree.
class BackgroundSplit : public virtual BackgroundNodeInterface, public virtual SPTreeSplit {};

// A split of the control tree.
class CtrlGroupSplit : public virtual CtrlGroupNodeInterface, public virtual SPTreeSplit {};

} // namespace pengui
