#include "HostGuiVst2Win.h"

#include "GuiInterface.h"
#include "Vst2WinPlugin.h"
#include "WindowInterface.h"

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

int HostGuiVst2Win::resizeEditor(int width, int height)
{
    // The host never resizes ("can_resize_window" is 0): the editor resizes its own window.
    GuiInterface* gui = plugin_ ? plugin_->gui() : nullptr;
    if (pengui::WindowInterface* window = gui ? gui->window() : nullptr)
        window->set_size({width, height});
    return 0;
}

} // namespace mppi
