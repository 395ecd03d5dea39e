#pragma once

#include "ControlInterface.h"
#include "CtrlGroupItem.h"
#include "EventListenerInterface.h"
#include "NumericParamMgr.h"
#include "SkinLayout.h"

#include <memory>
#include <string_view>
#include <vector>

namespace pengui {
class ControlInterface;
class EventListenerInterface;
} // namespace pengui

namespace mppi {

class ListenerBase;
class NumericParamMgr;
class NumValListenerInterface;
class QuenloGui;

// The base of the editor's sections: the editor, the section's number and first parameter, the
// groups that hold its controls, and the controls, listeners and detail panels it owns. Editor
// thread only.
class GuiPart {
public:
    explicit GuiPart(QuenloGui& gui) : gui_(gui) {}
    virtual ~GuiPart();
    GuiPart(const GuiPart&) = delete;
    GuiPart& operator=(const GuiPart&) = delete;

    QuenloGui& gui() const { return gui_; }
    int number() const { return number_; }
    int firstParam() const { return firstParam_; }
    void setNumber(int number, int firstParam)
    {
        number_ = number;
        firstParam_ = firstParam;
    }

    // Runs the panel refresh of every detail panel the section owns.
    virtual void refreshPanels();
    const std::vector<std::unique_ptr<NumericParamMgr>>& panels() const { return panels_; }
    // The control this section built for parameter `index`, or null.
    pengui::ControlInterface* controlOf(int index) const;

protected:
    // The section's parameter for a row: counted from the first parameter in the repeating
    // sections (tap units, delay lines), the row's own elsewhere.
    int parameterOf(const skin_layout::ControlRow& row) const
    {
        return firstParam_ >= 0 ? firstParam_ + row.parameter : row.parameter;
    }

    // Builds the row's control into `group` (none: kept outside the tree) and keeps it;
    // `tapLetter` fills a tap's picture names.
    pengui::ControlInterface& addControl(const skin_layout::ControlRow& row, pengui::CtrlGroupItem* group,
                                         char tapLetter = 0);
    // Keeps a listener and binds it to `control`.
    template <class Listener>
    Listener& listen(pengui::ControlInterface& control, std::unique_ptr<Listener> listener)
    {
        Listener& kept = *listener;
        attach(control, std::move(listener));
        return kept;
    }
    // Builds a numeric parameter's control with its main listener and detail panel, binding the
    // parameter to both.
    NumValListenerInterface& addNumeric(const skin_layout::ControlRow& row, pengui::CtrlGroupItem& group,
                                        char tapLetter = 0);
    // Binds `listener` to parameter `index` and gives both to the parameter's MetaControl.
    void bindParameter(ListenerBase& listener, int index);

    std::vector<std::unique_ptr<pengui::CtrlGroupItem>> groups_;

private:
    void attach(pengui::ControlInterface& control, std::unique_ptr<pengui::EventListenerInterface> listener);

    QuenloGui& gui_;
    int number_ = -1;
    int firstParam_ = -1;
    std::vector<std::unique_ptr<pengui::ControlInterface>> controls_;
    std::vector<std::unique_ptr<pengui::EventListenerInterface>> listeners_;
    std::vector<std::unique_ptr<NumericParamMgr>> panels_;
};

} // namespace mppi
