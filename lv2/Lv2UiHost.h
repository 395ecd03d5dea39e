#pragma once

#include "EditGestures.h"
#include "HostGuiInterface.h"
#include "ParamPort.h"

#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <vector>

namespace mppi {
class GuiInterface;
}

namespace lv2port {

// The host's services for the editor inside an LV2 UI. Every change the user makes is taken by
// the UI's own parameters (the editor's view) and written to the plug-in's control port in the
// port's unit through the host's write function; the user's gestures reach the host through its
// touch feature where it offers one, and a size through its resize feature. There is no
// priority arbitration here: the plug-in takes the last value written to its port.
// The host's UI thread only; the gesture bookkeeping allocates.
class Lv2UiHost : public mppi::HostGuiInterface {
public:
    struct Services {
        LV2UI_Write_Function write = nullptr;
        LV2UI_Controller controller = nullptr;
        // Null where the host does not offer them.
        const LV2UI_Touch* touch = nullptr;
        const LV2UI_Resize* resize = nullptr;
        const LV2UI_Port_Subscribe* subscribe = nullptr;
        const LV2_URID_Map* map = nullptr;
    };

    // `ports` (one per parameter, by port index) outlive this object.
    Lv2UiHost(const Services& services, const std::vector<ParamPort>& ports);

    // The editor, told of every change taken (not owned); the editor owns this object.
    void setGui(mppi::GuiInterface* gui) { gui_ = gui; }

    void init() override {}
    // "can_resize_window" is 0: the size is fixed.
    double query(const std::string& key) override;
    bool testPriority(int index, int priority) override;
    void releasePriority(int, int) override {}
    void beginEdit(int index) override;
    void endEdit(int index) override;
    void endAllEdits() override;
    bool setParameter(int index, float normalized, int priority) override;
    // Writes every value of `program` that differs from the parameter's.
    void applyProgram(const mppi::ProgramSlot& program, int priority) override;
    // Resizes the editor's window and tells the host the size where it offers resize.
    int resizeEditor(int width, int height) override;

private:
    bool valid(int index) const { return index >= 0 && index < static_cast<int>(ports_.size()); }
    void touch(int index, bool grabbed);
    void write(int index, float normalized);

    Services services_;
    const std::vector<ParamPort>& ports_;
    mppi::GuiInterface* gui_ = nullptr;
    mppi::EditGestures gestures_;
};

} // namespace lv2port
