#pragma once

#include "Algo.h"
#include "Lv2UiHost.h"
#include "ParamPort.h"
#include "PresetProxy.h"
#include "QuenloGui.h"

#include <lv2/ui/ui.h>

#include <cstdint>
#include <vector>

namespace pengui {
class WindowX11;
}

namespace lv2port {

// The LV2 UI: the editor in an X window inside the host's, in the large skin unless the
// musician's settings file says "lv2-skin=compact", over parameters of its own that follow the
// plug-in's control ports. The host's port events set them, converted with the ports' scales
// as the plug-in converts them; the editor's changes go back through Lv2UiHost.
// The tempo shown is the tempo in effect, from the plug-in's output port. The eight presets
// are the plug-in's, through a PresetProxy; a preset's glide runs here, as the user's gesture
// on the ports it moves. The host's UI thread only; building, closing and the presets'
// messages allocate, a control port's event does not.
class Lv2Ui {
public:
    // Builds the editor and opens it inside `parent` (an X window id). Throws when the editor
    // cannot be built or its window cannot open (no display, no such parent).
    Lv2Ui(const Lv2UiHost::Services& services, void* parent);
    // Closes the editor: a glide still running jumps to its preset, every gesture still open
    // ends, and the host hears each end; the subscriptions end.
    ~Lv2Ui();
    Lv2Ui(const Lv2Ui&) = delete;
    Lv2Ui& operator=(const Lv2Ui&) = delete;

    // The editor's X window id, the UI's widget.
    LV2UI_Widget widget() const;
    // A control port's new value in its unit (format 0, a float), shown at the next idle; the
    // "Tempo" port's only until the tempo in effect is heard, which includes it. The presets'
    // messages, in the host's atom protocol. Other ports and formats are ignored.
    void portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer);
    // The window's events, timers and painting, then the port values received: 0 while the
    // editor is open, 1 once its window is gone (the host destroyed the parent).
    int idle();

    // The priority a port value is shown with: that of a host's automation.
    static constexpr int kPortPriority = 100;
    // The settings file in sys::settings_folder(), and its line that chooses the skin.
    static constexpr const char* kSkinSetting = "lv2-skin";

private:
    void show(std::uint32_t index, float value);
    // Where the host offers port subscriptions (and the URID map that names their protocols):
    // the output ports the UI hears, the tempo in effect and the presets' answers.
    void subscribe(bool on);

    // Parameters only: never given a sample rate, never processing.
    Algo registry_;
    std::vector<ParamPort> ports_;
    pengui::WindowX11* window_ = nullptr;
    // Outlives the editor, whose preset cell uses it.
    PresetProxy presets_;
    mppi::QuenloGui gui_;
    const LV2UI_Port_Subscribe* subscriptions_;
    const LV2_URID_Map* map_;
    bool tempoInEffectHeard_ = false;
};

} // namespace lv2port
