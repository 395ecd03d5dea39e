#include "MetaControl.h"

#include "ListenerBase.h"

namespace mppi {

bool MetaControl::setFromChange(double normalized, int priority)
{
    return listener_ && listener_->showOnControl(listener_->paramToControl(normalized), priority);
}

void MetaControl::refresh()
{
    if (listener_)
        listener_->refresh();
}

} // namespace mppi
