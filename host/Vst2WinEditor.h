#pragma once

#include "AEffEditor.h"

namespace mppi {

class GuiInterface;

// What the host's editor opcodes reach: the rectangle the editor needs, and opening, closing
// and idling it inside the host's window. The editor (not owned) owns its toolkit window.
// The host's user-interface thread only.
class Vst2WinEditor : public AEffEditor {
public:
    Vst2WinEditor(AudioEffect* effect, GuiInterface* gui) : AEffEditor(effect), gui_(gui) {}

    // The editor's size (its resizable size when the host may resize it) at the origin.
    bool getRect(ERect** rect) override;
    // True only when the editor opened its window inside `parentWindow`.
    bool open(void* parentWindow) override;
    void close() override;
    // Shows the host's latest parameter changes: hosts that idle the editor see them at once.
    void idle() override;

private:
    GuiInterface* gui_;
    ERect rect_{};
};

} // namespace mppi
