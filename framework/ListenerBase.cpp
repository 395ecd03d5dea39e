#include "ListenerBase.h"

#include "ControlInterface.h"
#include "HostGuiInterface.h"
#include "NormalizedParamInterface.h"

namespace mppi {

void ListenerBase::init(int index, NormalizedParamInterface* param)
{
    index_ = index;
    param_ = param;
}

bool ListenerBase::testPriority(int priority)
{
    HostGuiInterface* host = hostGui();
    return host && host->testPriority(index_, priority);
}

void ListenerBase::releasePriority(int priority)
{
    if (HostGuiInterface* host = hostGui())
        host->releasePriority(index_, priority);
}

double ListenerBase::setValue(double normalized, int priority)
{
    if (HostGuiInterface* host = hostGui())
        host->setParameter(index_, static_cast<float>(normalized), priority);
    return normalized;
}

double ListenerBase::user_value(double value, int priority)
{
    setValue(controlToParam(value), priority);
    return value;
}

bool ListenerBase::showOnControl(double controlValue, int priority)
{
    pengui::ControlInterface* bound = control();
    return bound && bound->update_value(controlValue, priority);
}

void ListenerBase::refresh()
{
    if (param_)
        showOnControl(paramToControl(param_->normalized()), 1);
}

} // namespace mppi
