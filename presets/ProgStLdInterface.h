#pragma once

#include <vector>

namespace mppi {

class DspInterface;
class HostGuiInterface;
class PresetStoreInterface;
class ProgramSlot;

// How the preset manager reaches the plug-in: where its presets live, the host services that apply
// a program (with the priority rule) and the algorithm that tells the current sound. The one
// virtual operation builds a blend of two programs. Editor thread only.
class ProgStLdInterface {
public:
    virtual ~ProgStLdInterface() = default;

    // `output` := the blend of `from` and `to` at x (0 .. 1); its name is set by the caller.
    virtual void interpolate(ProgramSlot& output, const ProgramSlot& from, const ProgramSlot& to, double x) = 0;

    void connect(PresetStoreInterface* presets, HostGuiInterface* applier, DspInterface* source)
    {
        presets_ = presets;
        applier_ = applier;
        source_ = source;
    }

    // Preset `index` := a copy of `slot`.
    void store(int index, const ProgramSlot& slot);
    // `out` := a copy of preset `index`.
    void fetch(int index, ProgramSlot& out) const;
    // `slot` := the current program's name and every parameter's value.
    void capture(ProgramSlot& slot) const;
    // Applies the blend of `from` and `to` at x with the interpolation's priority.
    void applyBlend(const ProgramSlot& from, const ProgramSlot& to, double x);
    // The parameters a glide from `from` to `to` moves: those whose blend at its end differs
    // from where it starts.
    std::vector<int> movedBy(const ProgramSlot& from, const ProgramSlot& to);
    // The host hears a gesture begin or end on each of `indices`.
    void beginEdits(const std::vector<int>& indices);
    void endEdits(const std::vector<int>& indices);

    // The priority of a glide's steps: above host automation, below the user's own gestures.
    static constexpr int kGlidePriority = 150;

private:
    PresetStoreInterface* presets_ = nullptr;
    HostGuiInterface* applier_ = nullptr;
    DspInterface* source_ = nullptr;
};

// Blends every value linearly, the flags and the tempo too: the fallback when the editor gives
// no interpolator of its own.
class ProgStLdDefault : public ProgStLdInterface {
public:
    void interpolate(ProgramSlot& output, const ProgramSlot& from, const ProgramSlot& to, double x) override;
};

} // namespace mppi
