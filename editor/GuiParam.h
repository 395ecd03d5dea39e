#pragma once

#include "GuiPart.h"

namespace mppi {

// The detail panel's two cells: the selected parameter's text group and LFO group, or empty
// groups while nothing is selected.
class GuiParam : public GuiPart {
public:
    using GuiPart::GuiPart;

    void build();
    pengui::CtrlGroupItem& emptyText() { return *groups_[0]; }
    pengui::CtrlGroupItem& emptyLfo() { return *groups_[1]; }
    // Puts the panel's groups into the cells (the empty LFO group for a parameter without an
    // LFO) and repaints both cells.
    void select(NumericParamMgr& panel);
    NumericParamMgr* selected() const { return selected_; }

    static constexpr const char* kTextCell = "detail text";
    static constexpr const char* kLfoCell = "detail LFO";

private:
    NumericParamMgr* selected_ = nullptr;
};

} // namespace mppi
