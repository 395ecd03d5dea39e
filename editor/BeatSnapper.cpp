#include "BeatSnapper.h"

#include "ListenerBase.h"
#include "NormalizedParamInterface.h"
#include "PotControl.h"

#include <algorithm>
#include <cmath>

namespace mppi {

void BeatSnapper::refresh(ListenerBase& listener, int mode, double tempo)
{
    pengui::ControlInterface* control = listener.control();
    if (!control)
        return;
    if (mode != lastMode_) {
        control->on_hide();
        lastMode_ = mode;
        if (auto* pot = dynamic_cast<pengui::PotControl*>(control))
            pot->set_snap_list(mode == kBeats ? &table_ : nullptr);
        listener.refresh();
    }
    if (tempo != lastTempo_) {
        control->on_hide();
        lastTempo_ = tempo;
        if (mode != kBeats)
            listener.refresh();
    }
}

std::vector<double> BeatSnapper::table_for(const NormalizedParamInterface& param, std::span<const double> beats)
{
    std::vector<double> table;
    for (double value : beats)
        table.push_back(std::clamp(static_cast<double>(param.toNormalized(value)), 0.0, 1.0));
    return table;
}

std::vector<double> BeatSnapper::lfo_table(std::span<const double> beats)
{
    std::vector<double> table;
    for (double value : beats)
        table.push_back(std::clamp(std::log(64.0 * value) / std::log(16384.0), 0.0, 1.0));
    return table;
}

} // namespace mppi
