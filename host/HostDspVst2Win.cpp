#include "HostDspVst2Win.h"

#include "TempoQuery.h"
#include "Vst2WinPlugin.h"

namespace mppi {

double HostDspVst2Win::query(const std::string& key)
{
    if (!plugin_)
        return 0.0;
    if (key == "can_tempo") {
        const VstTimeInfo* time = plugin_->getTimeInfo(kVstTempoValid);
        return time && (time->flags & kVstTempoValid) != 0 ? 1.0 : 0.0;
    }
    if (key == "param_quantization") {
        const VstIntPtr quantization = plugin_->parameterQuantization();
        return quantization > 1 ? 1.0 / static_cast<double>(quantization) : 0.0;
    }
    return 0.0;
}

void HostDspVst2Win::queryTempo(TempoQuery& query)
{
    const VstTimeInfo* time = plugin_ ? plugin_->getTimeInfo(query.wanted ? kVstTempoValid : 0) : nullptr;
    if (!time) {
        query.error = 1;
        return;
    }
    query.error = 0;
    if (query.wanted) {
        if (time->flags & kVstTempoValid)
            query.tempo = time->tempo;
        else
            query.wanted = 0;
    }
}

bool HostDspVst2Win::isInputConnected(int group, int channel)
{
    const VstInt32 pin = plugin_ ? plugin_->inputPin(group, channel) : -1;
    return pin < 0 || plugin_->pinConnected(pin, false);
}

bool HostDspVst2Win::isOutputConnected(int group, int channel)
{
    const VstInt32 pin = plugin_ ? plugin_->outputPin(group, channel) : -1;
    return pin < 0 || plugin_->pinConnected(pin, true);
}

} // namespace mppi
