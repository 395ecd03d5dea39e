#pragma once

#include <string>

namespace mppi {

struct TempoQuery;

// The host as the algorithm sees it.
class HostDspInterface {
public:
    virtual ~HostDspInterface() = default;

    // The host's thread at creation: prepares the services; answers 0.
    virtual int init() = 0;
    // The host's thread with processing stopped: a capability by key ("can_tempo",
    // "param_quantization"); 0 means no or no answer.
    virtual double query(const std::string& key) = 0;
    // The audio thread, with each block: fills `query` with the host's tempo when
    // `query.wanted` is set (see TempoQuery). Asks the host only; never allocates or locks.
    virtual void queryTempo(TempoQuery& query) = 0;
    // The audio thread: whether a channel of an input or output pin group is connected; true
    // when unknown. Never allocates or locks.
    virtual bool isInputConnected(int group, int channel) = 0;
    virtual bool isOutputConnected(int group, int channel) = 0;
};

} // namespace mppi
