#pragma once

#include "HostDspInterface.h"

namespace mppi {

class Vst2WinPlugin;

// The host's services for the algorithm, through the effect adapter's host callback.
class HostDspVst2Win : public HostDspInterface {
public:
    // The adapter is not owned; the algorithm owns this object.
    void setPlugin(Vst2WinPlugin* plugin) { plugin_ = plugin; }

    int init() override { return 0; }
    // "can_tempo": 1 when the host's time information carries a valid tempo.
    // "param_quantization": 1/q for a host quantization q above 1, else 0.
    double query(const std::string& key) override;
    void queryTempo(TempoQuery& query) override;
    bool isInputConnected(int group, int channel) override;
    bool isOutputConnected(int group, int channel) override;

private:
    Vst2WinPlugin* plugin_ = nullptr;
};

} // namespace mppi
