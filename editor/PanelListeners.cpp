#include "PanelListeners.h"

#include "ControlInterface.h"
#include "DspInterface.h"
#include "NormalizedParamInterface.h"
#include "QuenloGui.h"
#include "TextBox.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace mppi {

namespace {

constexpr std::array<double, 31> kLfoBeats = {1.0 / 64, 1.0 / 32, 1.0 / 24, 1.0 / 16, 1.0 / 12, 1.0 / 8, 1.0 / 6, 1.0 / 4,
                                              1.0 / 3,  3.0 / 8,  1.0 / 2,  2.0 / 3,  3.0 / 4,  1.0,     4.0 / 3, 3.0 / 2,
                                              2.0,      3.0,      4.0,      6.0,      8.0,      12.0,    16.0,    24.0,
                                              32.0,     48.0,     64.0,     96.0,     128.0,    192.0,   256.0};

const std::vector<double>& lfo_table()
{
    static const std::vector<double> table = BeatSnapper::lfo_table(kLfoBeats);
    return table;
}

} // namespace

PanelTextListener::PanelTextListener(QuenloGui& gui, NumericParamMgr& panel, int paramIndex, bool stopsGesture)
    : NumericParamListener(gui, panel), stopsGesture_(stopsGesture)
{
    init(paramIndex, gui.dsp() ? gui.dsp()->param(paramIndex) : nullptr);
}

void PanelTextListener::action(int event, int)
{
    auto* box = dynamic_cast<pengui::TextBox*>(control());
    const NormalizedParamInterface* reader = param();
    if (event != 1 || !box || !reader || !target_)
        return;
    bool understood = false;
    const double real = reader->parse(box->text(), understood);
    const float normalized = understood && std::isfinite(real) ? reader->toNormalized(real) : NAN;
    if (std::isfinite(normalized)) {
        double value = std::clamp(static_cast<double>(normalized), 0.0, 1.0);
        if (pengui::EventListenerInterface* main = target_->listener())
            value = main->set_value_hook(value, pengui::kSourceDrag);
        if (stopsGesture_)
            target_->on_hide();
        target_->set_value(value, pengui::kSourceDrag);
        target_->settle();
    }
    // The box shows what the parameter took: its value as before when the text meant nothing.
    box->set_text(reader->valueText(reader->real()));
}

double LfoKnobListener::store_value(double value, int)
{
    if (const NormalizedParamInterface* shown = param())
        box_.set_text(shown->valueText(shown->toReal(static_cast<float>(value))));
    return value;
}

LfoPerKnListener::LfoPerKnListener(QuenloGui& gui, NumericParamMgr& panel, pengui::TextBox& box)
    : LfoKnobListener(gui, panel, box), snapper_(lfo_table())
{
}

} // namespace mppi
