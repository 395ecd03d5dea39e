#include "TempoListeners.h"

#include "ControlInterface.h"
#include "DspInterface.h"
#include "NormalizedParamInterface.h"
#include "QuenloGui.h"
#include "TextBox.h"

#include <algorithm>
#include <cmath>

namespace mppi {

double TempoSpinListener::store_value(double value, int)
{
    if (const NormalizedParamInterface* tempo = param())
        box_.set_text(tempo->valueText(tempo->toReal(static_cast<float>(value))));
    gui().refreshPanels();
    return value;
}

void TempoTextBoxListener::action(int event, int)
{
    auto* box = dynamic_cast<pengui::TextBox*>(control());
    if (event != 1 || !spin_ || !tempo_ || !box)
        return;
    bool understood = false;
    const double real = tempo_->parse(box->text(), understood);
    double value = tempo_->normalized();
    if (understood && std::isfinite(real)) {
        const float typed = tempo_->toNormalized(real);
        if (std::isfinite(typed))
            value = std::clamp(static_cast<double>(typed), 0.0, 1.0);
    }
    spin_->set_value(value, pengui::kSourceDrag);
    spin_->settle();
}

} // namespace mppi
