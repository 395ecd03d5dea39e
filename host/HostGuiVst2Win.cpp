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

void HostGuiVst2Win::beginEdit(int index)
{
    if (plugin_ && gestures_.begin(index))
        plugin_->beginEdit(index);
}

void HostGuiVst2Win::endEdit(int index)
{
    if (plugin_ && gestures_.end(index))
        plugin_->endEdit(index);
}

void HostGuiVst2Win::endAllEdits()
{
    const std::vector<int> open = gestures_.endAll();
    if (plugin_)
        for (int index : open)
            plugin_->endEdit(index);
}

bool HostGuiVst2Win::setParameter(int index, float normalized, int priority)
{
    if (!plugin_ || !plugin_->setParameterWithPriority(index, normalized, priority))
        return false;
    // A change outside any gesture (a click, a typed value) is a gesture of its own.
    const bool alone = !gestures_.open(index);
    if (alone)
        beginEdit(index);
    plugin_->automate(index, plugin_->getParameter(index));
    if (alone)
        endEdit(index);
    return true;
}

void HostGuiVst2Win::applyProgram(const ProgramSlot& program, int priority)
{
    if (!plugin_)
        return;
    for (int index : plugin_->applyProgram(program, priority, false))
        if (gestures_.open(index))
            plugin_->automate(index, plugin_->getParameter(index));
}

int HostGuiVst2Win::resizeEditor(int width, int height)
{
    // The host never resizes ("can_resize_window" is 0): the editor resizes its own window, and
    // a new size needs the host's window to follow.
    GuiInterface* gui = plugin_ ? plugin_->gui() : nullptr;
    pengui::WindowInterface* window = gui ? gui->window() : nullptr;
    if (!window)
        return 0;
    const pengui::Size size{width, height};
    if (window->content_size() != size && !(plugin_->canHostDo("sizeWindow") && plugin_->sizeWindow(width, height)))
        return -1;
    window->set_size(size);
    return 0;
}

} // namespace mppi
