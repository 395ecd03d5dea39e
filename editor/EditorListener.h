#pragma once

#include "ListenerBase.h"

namespace mppi {

class QuenloGui;

// A listener of the editor: binds a control to a parameter and reaches the host through the
// editor's host services. Editor thread only.
class EditorListener : public ListenerBase {
public:
    explicit EditorListener(QuenloGui& gui) : gui_(gui) {}
    QuenloGui& gui() const { return gui_; }

protected:
    HostGuiInterface* hostGui() const override;

private:
    QuenloGui& gui_;
};

} // namespace mppi
