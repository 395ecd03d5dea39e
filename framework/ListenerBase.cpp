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

void ListenerBase::beginGesture()
{
    HostGuiInterface* host = hostGui();
    if (gestureOpen_ || !host)
        return;
    gestureOpen_ = true;
    host->beginEdit(index_);
}

void ListenerBase::endGesture()
{
    if (!gestureOpen_)
        return;
    gestureOpen_ = false;
    if (HostGuiInterface* host = hostGui())
        host->endEdit(index_);
}

double ListenerBase::user_value(double value, int priority)
{
    beginGesture();
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
