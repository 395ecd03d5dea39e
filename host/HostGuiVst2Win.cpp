#include "HostGuiVst2Win.h"

#include "Vst2WinPlugin.h"

namespace mppi {

double HostGuiVst2Win::query(const std::string&)
{
    return 0.0;
}

bool HostGuiVst2Win::testPriority(int index, int priority)
{
    return plugin_ && plugin_->testPriority(index, priority);
}

void HostGuiVst2Win::releasePriority(int index, int priority)
{
    if (plugin_)
        plugin_->releasePriority(index, priority);
}

bool HostGuiVst2Win::setParameter(int index, float normalized, int priority)
{
    if (!plugin_ || !plugin_->setParameterWithPriority(index, normalized, priority))
        return false;
    plugin_->automate(index, plugin_->getParameter(index));
    plugin_->updateDisplay();
    return true;
}

void HostGuiVst2Win::applyProgram(const ProgramSlot& program, int priority)
{
    if (plugin_)
        plugin_->applyProgram(program, priority, false);
}

int HostGuiVst2Win::resizeEditor(int, int)
{
    // The host never resizes ("can_resize_window" is 0): the editor resizes its own window.
    return 0;
}

} // namespace mppi
