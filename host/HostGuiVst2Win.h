#pragma once

#include "EditGestures.h"
#include "HostGuiInterface.h"

namespace mppi {

class Vst2WinPlugin;

// The host's services for the editor: every change the user makes goes through the adapter's
// priority rule and, when taken, is reported to the host as automation inside the user's
// gesture. The host needs no display update for it: it hears the value itself.
class HostGuiVst2Win : public HostGuiInterface {
public:
    // The adapter is not owned; the editor owns this object.
    void setPlugin(Vst2WinPlugin* plugin) { plugin_ = plugin; }

    void init() override {}
    // "can_resize_window" is always 0: the editor resizes only its own window.
    double query(const std::string& key) override;
    bool testPriority(int index, int priority) override;
    void releasePriority(int index, int priority) override;
    void beginEdit(int index) override;
    void endEdit(int index) override;
    void endAllEdits() override;
    bool setParameter(int index, float normalized, int priority) override;
    void applyProgram(const ProgramSlot& program, int priority) override;
    // The editor's own size needs nothing; a new one is asked of the host (audioMasterSizeWindow,
    // when it says it can): -1 when it cannot or refuses.
    int resizeEditor(int width, int height) override;

private:
    Vst2WinPlugin* plugin_ = nullptr;
    EditGestures gestures_;
};

} // namespace mppi
