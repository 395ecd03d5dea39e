#pragma once

#include <string>

namespace mppi {

class GuiInterface;
class HostDspInterface;
class NormalizedParamInterface;
class PinGroup;
class ProgramSlot;

// The algorithm as the host adapter and the editor see it.
class DspInterface {
public:
    virtual ~DspInterface() = default;

    // Creates every parameter and block and registers the parameters in table order.
    virtual void init1() = 0;
    // Sets every parameter to its default and brings the blocks to their initial state.
    virtual void init2() = 0;
    virtual void shutdown() = 0;

    virtual HostDspInterface* hostDsp() = 0;
    // The algorithm owns the services from then on.
    virtual void setHostDsp(HostDspInterface* host) = 0;
    virtual GuiInterface* gui() = 0;
    // Not owned.
    virtual void setGui(GuiInterface* gui) = 0;

    virtual int inputGroupCount() = 0;
    virtual const PinGroup* inputGroup(int group) = 0;
    virtual int outputGroupCount() = 0;
    virtual const PinGroup* outputGroup(int group) = 0;
    virtual float lowestSampleRate() = 0;
    virtual float highestSampleRate() = 0;
    virtual void setSampleRate(float sampleRate) = 0;
    virtual int paramCount() = 0;
    // The parameter at `index`, or null outside the table.
    virtual NormalizedParamInterface* param(int index) = 0;
    virtual void setProgramName(const std::string& name) = 0;
    virtual std::string programName() = 0;
    // A capability by key ("can_mono", "plugin_version"); 0 for an unknown key.
    virtual double query(const std::string& key) = 0;
    // A text by key ("plugin_name"); empty for an unknown key.
    virtual std::string queryText(const std::string& key) = 0;
    // Asks for a reset, carried out at the start of the next block.
    virtual void requestReset() = 0;
    // The host's tempo in beats per minute.
    virtual void hostTempo(float beatsPerMinute) = 0;
    // Sets every parameter whose value differs from the program's.
    virtual void applyProgram(const ProgramSlot& program) = 0;
    // Stores every parameter's normalized value into `program`.
    virtual void storeProgram(ProgramSlot& program) = 0;
    // Processes `frames` stereo frames, replacing or adding to the outputs.
    virtual void processReplacing(const float* const* inputs, float* const* outputs, int frames) = 0;
    virtual void process(const float* const* inputs, float* const* outputs, int frames) = 0;
};

} // namespace mppi
