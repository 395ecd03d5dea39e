#pragma once

#include <span>
#include <vector>

namespace mppi {

class ListenerBase;
class NormalizedParamInterface;

// Snaps a time control to musical values while times show in beats: remembers the time unit
// and tempo it last saw, and on a change stops the control's gesture, gives it the snap table
// (beats) or none (milliseconds) and shows the parameter again. Editor thread only.
class BeatSnapper {
public:
    explicit BeatSnapper(const std::vector<double>& table) : table_(table) {}

    // The refresh from the algorithm with its time unit (1 beats) and tempo.
    void refresh(ListenerBase& listener, int mode, double tempo);
    const std::vector<double>& table() const { return table_; }

    // Beat values normalized by a time parameter's own mapping, clamped to 0 .. 1.
    static std::vector<double> table_for(const NormalizedParamInterface& param, std::span<const double> beats);
    // The LFO period's snap positions: ln(64 v) / ln(16384) for each value v in beats.
    static std::vector<double> lfo_table(std::span<const double> beats);

    static constexpr int kBeats = 1;

private:
    const std::vector<double>& table_;
    int lastMode_ = -1;
    double lastTempo_ = -1.0;
};

} // namespace mppi
