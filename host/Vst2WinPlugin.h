#pragma once

#include "AudioEffectX.h"
#include "BankManager.h"
#include "ParamPriorityList.h"
#include "SpinLock.h"

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace mppi {

class DspInterface;
class GuiInterface;
class NormalizedParamInterface;

// The effect adapter: translates every host call into the host-independent objects, the
// algorithm and the editor, and keeps the host's program list and the parameter priorities.
class Vst2WinPlugin : public AudioEffectX {
public:
    Vst2WinPlugin(audioMasterCallback audioMaster, std::unique_ptr<DspInterface> dsp, std::unique_ptr<GuiInterface> gui,
                  const BankManager& programs, VstInt32 uniqueId);
    ~Vst2WinPlugin() override;

    // The first initialisation (algorithm, then editor) and the second one.
    void init1();
    void init2();

    DspInterface* dsp() const { return dsp_.get(); }
    GuiInterface* gui() const { return gui_.get(); }

    // Sets parameter `index` when its priority rule takes `priority` now: stores the value in
    // the current program, sets the parameter and tells the editor. Answers whether it did.
    bool setParameterWithPriority(VstInt32 index, float value, int priority);
    // Applies each value of `program` that its priority rule takes; with `release`, gives the
    // priority up again at once. The program's name becomes the current program's; the host
    // hears of a new name (it has no other way to learn it). Answers the parameters whose
    // values changed. Not for the audio thread: it takes the program lock.
    std::vector<int> applyProgram(const ProgramSlot& program, int priority, bool release);
    bool testPriority(VstInt32 index, int priority);
    void releasePriority(VstInt32 index, int priority);
    // Host pin numbers of a pin group's channels, -1 where there is none.
    VstInt32 inputPin(int group, int channel) const;
    VstInt32 outputPin(int group, int channel) const;

    const BankManager& programs() const { return programs_; }

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;
    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;

private:
    using PinMap = std::vector<std::pair<VstInt32, VstInt32>>;

    void numberPins();
    static VstInt32 pinOf(const PinMap& map, int group, int channel);
    void render(float** inputs, float** outputs, VstInt32 frames, bool add);
    void followHostTempo();
    VstIntPtr pinProperties(VstInt32 pin, bool output, void* ptr);
    // How long the echoes of the current settings last, in samples at the current rate.
    VstIntPtr tailSamples();
    // A value its parameter's priority accepted: kept in the current program, given to the
    // parameter and shown by the editor.
    void takeValue(VstInt32 index, NormalizedParamInterface& param, float value, int priority);
    bool validProgram(VstIntPtr index) const { return index >= 0 && index < programs_.count(); }
    // Gives every program one value per parameter, so no program is resized while the host
    // automates it; missing values are the parameters' defaults.
    void fitProgramsToParams();
    struct Applied {
        std::vector<int> changed;
        bool renamed = false;
    };
    Applied applyProgramLocked(const ProgramSlot& program, int priority, bool release);

    // The programs' names, the choice of the current program and whole-program copies change
    // only under this lock, which the audio thread never takes. Values are relaxed atomics that
    // setParameter writes without it.
    sys::SpinLock programLock_;
    BankManager programs_;
    ParamPriorityList priorities_;
    std::unique_ptr<DspInterface> dsp_;
    std::unique_ptr<GuiInterface> gui_;
    PinMap inputPins_;
    PinMap outputPins_;
    VstInt32 automationThreshold_ = 999999999;
    // Stand-ins for channels a host leaves null: silence to read, a place to write.
    static constexpr int kSpareFrames = 256;
    std::array<float, kSpareFrames> silence_{};
    std::array<float, kSpareFrames> discard_{};
};

} // namespace mppi
