#include "NumValListener.h"

#include "ControlInterface.h"
#include "DspInterface.h"
#include "NormalizedParamInterface.h"
#include "NumericParamMgr.h"
#include "QuenloGui.h"
#include "TextBox.h"

#include <array>

namespace mppi {

namespace {

constexpr std::array<double, 20> kDelayBeats = {1.0 / 128, 1.0 / 64, 1.0 / 32, 1.0 / 24, 1.0 / 16, 1.0 / 12, 1.0 / 8,
                                                1.0 / 6,   1.0 / 4,  1.0 / 3,  3.0 / 8,  1.0 / 2,  2.0 / 3,  3.0 / 4,
                                                1.0,       4.0 / 3,  3.0 / 2,  2.0,      3.0,      4.0};
constexpr std::array<double, 19> kTapBeats = {0.0,     1.0 / 32, 1.0 / 24, 1.0 / 16, 1.0 / 12, 1.0 / 8, 1.0 / 6,
                                              1.0 / 4, 1.0 / 3,  3.0 / 8,  1.0 / 2,  2.0 / 3,  3.0 / 4, 1.0,
                                              4.0 / 3, 3.0 / 2,  2.0,      3.0,      4.0};

// A class's snap table, computed once from the first parameter that asks.
const std::vector<double>& delay_table(const NormalizedParamInterface* param)
{
    static const std::vector<double> table = param ? BeatSnapper::table_for(*param, kDelayBeats) : std::vector<double>{};
    return table;
}

const std::vector<double>& tap_table(const NormalizedParamInterface* param)
{
    static const std::vector<double> table = param ? BeatSnapper::table_for(*param, kTapBeats) : std::vector<double>{};
    return table;
}

NormalizedParamInterface* param_of(QuenloGui& gui, const NumericParamMgr& panel)
{
    return gui.dsp() ? gui.dsp()->param(panel.index()) : nullptr;
}

} // namespace

void NumValListenerInterface::begin_edit()
{
    gui().deactivateAllBut(control());
    gui().select(panel());
    panel().showNameAndUnit();
}

double NumValListenerInterface::store_value(double value, int)
{
    if (const NormalizedParamInterface* shown = param())
        panel().valueBox().set_text(shown->valueText(shown->toReal(static_cast<float>(controlToParam(value)))));
    return value;
}

double NumValListenerRc::user_value(double value, int priority)
{
    link_.link(value, priority);
    return NumValListenerInterface::user_value(value, priority);
}

void NumValListenerRc::released(int priority)
{
    NumValListenerInterface::released(priority);
    link_.released(priority);
}

DelayTimeListener::DelayTimeListener(QuenloGui& gui, NumericParamMgr& panel)
    : NumValListenerRc(gui, panel), snapper_(delay_table(param_of(gui, panel)))
{
}

TapTimeListener::TapTimeListener(QuenloGui& gui, NumericParamMgr& panel)
    : NumValListenerInterface(gui, panel), snapper_(tap_table(param_of(gui, panel)))
{
}

double ListenerBaseRc::user_value(double value, int priority)
{
    link_.link(value, priority);
    return EditorListener::user_value(value, priority);
}

void ListenerBaseRc::released(int priority)
{
    EditorListener::released(priority);
    link_.released(priority);
}

std::unique_ptr<NumValListenerInterface> make_value_listener(std::string_view name, QuenloGui& gui, NumericParamMgr& panel)
{
    if (name == "NumValListenerRc")
        return std::make_unique<NumValListenerRc>(gui, panel);
    if (name == "DelayTimeListener")
        return std::make_unique<DelayTimeListener>(gui, panel);
    if (name == "TapTimeListener")
        return std::make_unique<TapTimeListener>(gui, panel);
    return std::make_unique<NumValListenerInterface>(gui, panel);
}

} // namespace mppi
