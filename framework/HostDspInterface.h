#pragma once

#include <string>

namespace mppi {

struct TempoQuery;

// The host as the algorithm sees it.
class HostDspInterface {
public:
    virtual ~HostDspInterface() = default;

    // Prepares the services; answers 0.
    virtual int init() = 0;
    // A capability by key ("can_tempo", "param_quantization"); 0 means no or no answer.
    virtual double query(const std::string& key) = 0;
    // Fills `query` with the host's tempo when `query.wanted` is set; see TempoQuery.
    virtual void queryTempo(TempoQuery& query) = 0;
    // Whether a channel of an input or output pin group is connected; true when unknown.
    virtual bool isInputConnected(int group, int channel) = 0;
    virtual bool isOutputConnected(int group, int channel) = 0;
};

} // namespace mppi
