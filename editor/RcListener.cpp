#include "RcListener.h"

#include "ControlInterface.h"
#include "ListenerBase.h"
#include "Messages.h"
#include "ParamIndexes.h"
#include "QuenloGui.h"

#include <algorithm>

namespace mppi {

int RcListener::partner(int index)
{
    if (index >= kFirstLineParam && index < kFirstLineParam + kLineParams)
        return index + kLineParams;
    if (index >= kFirstLineParam + kLineParams && index < kFirstLineParam + 2 * kLineParams)
        return index - kLineParams;
    return 0;
}

ListenerBase* RcListener::partnerOf() const
{
    MetaControl* meta = gui_.metaControl(partner(owner_.index()));
    return meta ? meta->listener() : nullptr;
}

pengui::ControlInterface* RcListener::partnerControl() const
{
    ListenerBase* listener = partnerOf();
    return listener ? listener->control() : nullptr;
}

void RcListener::before_message(pengui::MessageInterface& message)
{
    auto* click = dynamic_cast<pengui::MouseClick*>(&message);
    // Only a press sets the gesture: after the release the value may still glide to its target,
    // and the partner follows it there.
    if (!click || click->buttons == 0)
        return;
    right_ = (click->buttons & pengui::kRightButton) != 0;
    shift_ = (click->modifiers & pengui::kShiftKey) != 0;
    control_ = (click->modifiers & pengui::kControlKey) != 0;
    if (!shift_)
        return;
    const pengui::ControlInterface* other = partnerControl();
    const pengui::ControlInterface* own = owner_.control();
    partnerStart_ = other ? other->value() : 0.0;
    const double start = own ? own->value() : 0.0;
    if (control_) {
        t_ = start + partnerStart_;
        hi_ = t_;
        lo_ = t_ - 1.0;
    } else {
        t_ = start - partnerStart_;
        hi_ = partnerStart_ + 1.0 - start;
        lo_ = partnerStart_ - start;
    }
}

void RcListener::link(double value, int priority)
{
    pengui::ControlInterface* other = partnerControl();
    const pengui::ControlInterface* own = owner_.control();
    if (busy_ || !right_ || !other || !own)
        return;
    busy_ = true;
    const double g = other->value();
    const double h = own->value();
    double a = value;
    if (!shift_) {
        a = control_ ? 1.0 - value : value;
    } else if (control_) {
        a = value <= t_ - 1.0 ? 1.0 : value >= t_ ? 0.0 : std::clamp(g - (value - h), lo_, hi_);
    } else {
        a = value <= t_ ? 0.0 : value >= t_ + 1.0 ? 1.0 : std::clamp(g + (value - h), lo_, hi_);
    }
    ListenerBase* partnerListener = partnerOf();
    const bool partnerWasOpen = partnerListener && partnerListener->gestureOpen();
    other->set_value(std::clamp(a, 0.0, 1.0), priority);
    if (!partnerWasOpen && partnerListener && partnerListener->gestureOpen())
        openedPartner_ = true;
    busy_ = false;
}

void RcListener::released(int priority)
{
    ListenerBase* listener = partnerOf();
    if (right_ && listener)
        listener->releasePriority(priority);
}

void RcListener::settled()
{
    ListenerBase* listener = partnerOf();
    if (openedPartner_ && listener)
        listener->endGesture();
    openedPartner_ = false;
}

} // namespace mppi
