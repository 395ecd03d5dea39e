#include "MetaControl.h"

#include "ControlInterface.h"
#include "ListenerBase.h"

namespace mppi {

void MetaControl::record(float normalized, int priority)
{
    value_.store(normalized, std::memory_order_relaxed);
    priority_.store(priority, std::memory_order_relaxed);
    dirty_.store(true, std::memory_order_release);
}

bool MetaControl::applyRecorded()
{
    if (!mppi::takeFlag(dirty_))
        return false;
    // A change recorded meanwhile sets the bit again and is shown at the next apply.
    const double normalized = value_.load(std::memory_order_relaxed);
    const int priority = priority_.load(std::memory_order_relaxed);
    if (listener_) {
        // The editor's own changes come back recorded: a control already there stays still.
        const pengui::ControlInterface* control = listener_->control();
        if (control && control->value() == listener_->paramToControl(normalized))
            return true;
    }
    show(normalized, priority);
    return true;
}

bool MetaControl::show(double normalized, int priority)
{
    return listener_ && listener_->showOnControl(listener_->paramToControl(normalized), priority);
}

void MetaControl::refresh()
{
    if (listener_)
        listener_->refresh();
}

} // namespace mppi
