#pragma once

#include "GuiPart.h"
#include "PresetManager.h"
#include "ProgInterpolator.h"

#include <map>
#include <string>

namespace pengui {
class TextBox;
}

namespace mppi {

// The global controls: tempo with its time unit, the presets, the pre-delay level with the
// sustain loop, the switch for the second delay line and the feedback separation. It owns the
// editor's preset manager and its interpolator.
class GuiMisc : public GuiPart {
public:
    explicit GuiMisc(QuenloGui& gui) : GuiPart(gui), interpolator_(gui) {}

    void build();
    // A cell's group: "tempo", "presets", "level", "line 2 switch" or "separation".
    pengui::CtrlGroupItem& cell(const std::string& name) { return *cells_.at(name); }
    PresetManager& presets() { return presets_; }
    ProgInterpolator& interpolator() { return interpolator_; }
    // The control a row with that listener got (the first of several), or null.
    pengui::ControlInterface* control(std::string_view listener, int nth = 0) const;

    static constexpr const char* kCells[] = {"tempo", "presets", "level", "line 2 switch", "separation"};
    static constexpr const char* kSeedBank = PresetBank::kSeedBank;

private:
    void bindTempo();
    void bindFlags();
    void bindPresets();

    ProgInterpolator interpolator_;
    PresetManager presets_;
    std::map<std::string, pengui::CtrlGroupItem*> cells_;
    std::vector<std::pair<std::string_view, pengui::ControlInterface*>> made_;
};

} // namespace mppi
