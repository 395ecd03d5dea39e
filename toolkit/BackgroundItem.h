#pragma once

#include "Picture.h"
#include "SPTreeNodeInterface.h"

namespace pengui {

// A leaf of the background tree: one picture, placed in the item's coordinates.
class BackgroundItem : public BackgroundNodeInterface {
public:
    void set_picture(const Picture& picture) { picture_ = picture; }
    const Picture& picture() const { return picture_; }
    // Draws its part of a Redraw's tile; every other message is ignored.
    int handle_down(MessageInterface& message) override;

private:
    Picture picture_;
};

} // namespace pengui
