#pragma once

#include "HostGuiInterface.h"

namespace mppi {

class Vst2WinPlugin;

// The host's services for the editor: every change the user makes goes through the adapter's
// priority rule and, when taken, is reported to the host as automation.
class HostGuiVst2Win : public HostGuiInterface {
public:
    // The adapter is not owned; the editor owns this object.
    void setPlugin(Vst2WinPlugin* plugin) { plugin_ = plugin; }

    void init() override {}
    // "can_resize_window" is always 0: the editor resizes only its own window.
    double query(const std::string& key) override;
    bool testPriority(int index, int priority) override;
    void releasePriority(int index, int priority) override;
    bool setParameter(int index, float normalized, int priority) override;
    void applyProgram(const ProgramSlot& program, int priority) override;
    int resizeEditor(int width, int height) override;

private:
    Vst2WinPlugin* plugin_ = nullptr;
};

} // namespace mppi
