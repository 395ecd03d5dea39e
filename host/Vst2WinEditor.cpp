#include "Vst2WinEditor.h"

#include "GuiInterface.h"
#include "HostGuiInterface.h"

#include <cmath>
#include <cstdint>

namespace mppi {

bool Vst2WinEditor::getRect(ERect** rect)
{
    if (!rect)
        return false;
    try {
        HostGuiInterface* host = gui_->hostGui();
        const bool resizable = host && std::fabs(host->query("can_resize_window")) >= 1e-9;
        const GuiInterface::Size size = resizable ? gui_->resizableSize() : gui_->size();
        rect_ = {0, 0, static_cast<std::int16_t>(size.height), static_cast<std::int16_t>(size.width)};
        *rect = &rect_;
        return true;
    } catch (...) {
        *rect = nullptr;
        return false;
    }
}

bool Vst2WinEditor::open(void* parentWindow)
{
    // A failure is the host's to know: it gets false and shows no editor.
    try {
        return gui_->open(parentWindow) == 0;
    } catch (...) {
        return false;
    }
}

void Vst2WinEditor::close()
{
    try {
        gui_->close();
    } catch (...) {
    }
}

void Vst2WinEditor::idle()
{
    if (takeUpdate())
        update();
    gui_->idle();
}

} // namespace mppi
