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

// A snap table, computed once from the first parameter that asks (every line's and every tap's
// time maps beats alike); none without a parameter.
template <const auto& kBeats>
const std::vector<double>& snap_table(const NormalizedParamInterface* param)
{
    static const std::vector<double> none;
    if (!param)
        return none;
    static const std::vector<double> table = BeatSnapper::table_for(*param, kBeats);
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

DelayTimeListener::DelayTimeListener(QuenloGui& gui, NumericParamMgr& panel)
    : NumValListenerRc(gui, panel), snapper_(snap_table<kDelayBeats>(param_of(gui, panel)))
{
}

TapTimeListener::TapTimeListener(QuenloGui& gui, NumericParamMgr& panel)
    : NumValListenerInterface(gui, panel), snapper_(snap_table<kTapBeats>(param_of(gui, panel)))
{
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
