#include "EditorListener.h"

#include "QuenloGui.h"

namespace mppi {

HostGuiInterface* EditorListener::hostGui() const
{
    return gui_.hostGui();
}

} // namespace mppi
