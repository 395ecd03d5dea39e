#include "SPTreeSplit.h"

#include "Messages.h"

namespace pengui {

Point SPTreeSplit::stripOrigin(std::size_t entries) const
{
    int advance = 0;
    for (std::size_t i = 0; i < entries && i < children_.size(); ++i)
        advance += children_[i].extent;
    return horizontal() ? Point{origin.x + advance, origin.y} : Point{origin.x, origin.y + advance};
}

int SPTreeSplit::add_child(SPTreeNodeInterface* node, int extent)
{
    node->parent = this;
    node->set_origin(stripOrigin(children_.size()));
    children_.push_back({node, extent});
    ShowObject show(visible);
    node->handle_message(show);
    stop_ = true;
    return count();
}

int SPTreeSplit::remove_child(int index)
{
    if (index < 0 || index >= count())
        return 0;
    ShowObject hide(false);
    children_[static_cast<std::size_t>(index)].node->handle_message(hide);
    children_.erase(children_.begin() + index);
    for (std::size_t i = static_cast<std::size_t>(index); i < children_.size(); ++i)
        children_[i].node->set_origin(stripOrigin(i));
    stop_ = true;
    return 0;
}

int SPTreeSplit::replace_child(SPTreeNodeInterface* node, int extent, int index)
{
    if (index < 0 || index >= count())
        return 0;
    Entry& entry = children_[static_cast<std::size_t>(index)];
    ShowObject hide(false);
    entry.node->handle_message(hide);
    entry.node->parent = nullptr;
    node->parent = this;
    entry = {node, extent};
    set_origin(origin);
    ShowObject show(visible);
    node->handle_message(show);
    stop_ = true;
    return 0;
}

void SPTreeSplit::set_origin(Point point)
{
    origin = point;
    for (std::size_t i = 0; i < children_.size(); ++i)
        children_[i].node->set_origin(stripOrigin(i));
}

int SPTreeSplit::indexAt(int c) const
{
    long long start = horizontal() ? origin.x : origin.y;
    for (int i = 0; i + 1 < count(); ++i) {
        start += children_[static_cast<std::size_t>(i)].extent;
        if (c < start)
            return i;
    }
    return count() - 1;
}

int SPTreeSplit::handle_down(MessageInterface& message)
{
    auto* down = message.down();
    if (!down || children_.empty())
        return 0;
    const Rect& area = down->area;
    const int first = indexAt(horizontal() ? area.x0 : area.y0);
    const int last = indexAt(horizontal() ? area.x1 : area.y1);
    stop_ = false;
    for (int i = first; i <= last && !stop_; ++i)
        children_[static_cast<std::size_t>(i)].node->handle_message(message);
    return 0;
}

} // namespace pengui
