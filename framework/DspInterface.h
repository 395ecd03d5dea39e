#pragma once

#include <string>

namespace mppi {

class GuiInterface;
class HostDspInterface;
class NormalizedParamInterface;
class PinGroup;
class ProgramSlot;

// The algorithm as the host adapter and the editor see it.
//
// Threads: "set-up" is the host's thread while it creates, configures or closes the plug-in with
// processing stopped; "control" is any thread of the host or the editor while audio may run;
// "audio" is the thread that processes. Set-up operations may allocate; control operations say
// whether they do; audio operations never allocate, lock or call the system.
class DspInterface {
public:
    virtual ~DspInterface() = default;

    // Set-up: creates every parameter and block and registers the parameters in table order.
    virtual void init1() = 0;
    // Set-up: sets every parameter to its default and brings the blocks to their initial state.
    virtual void init2() = 0;
    // Set-up: releases what init1 made.
    virtual void shutdown() = 0;

    // Set-up; the algorithm owns the services from then on.
    virtual HostDspInterface* hostDsp() = 0;
    virtual void setHostDsp(HostDspInterface* host) = 0;
    // Set-up; not owned.
    virtual GuiInterface* gui() = 0;
    virtual void setGui(GuiInterface* gui) = 0;

    // Any thread, no allocation: the pins and the sample rates the algorithm supports.
    virtual int inputGroupCount() = 0;
    virtual const PinGroup* inputGroup(int group) = 0;
    virtual int outputGroupCount() = 0;
    virtual const PinGroup* outputGroup(int group) = 0;
    virtual float lowestSampleRate() = 0;
    virtual float highestSampleRate() = 0;
    // Set-up: resizes the ring buffers for `sampleRate` (allocates) and recomputes every
    // rate-dependent coefficient.
    virtual void setSampleRate(float sampleRate) = 0;

    // Any thread, no allocation: the parameter table, fixed after init1.
    virtual int paramCount() = 0;
    // The parameter at `index`, or null outside the table.
    virtual NormalizedParamInterface* param(int index) = 0;
    // Control, allocates: the parameter named `name` (as effGetParamName shows it), or null.
    NormalizedParamInterface* findParam(const std::string& name);

    // Control, allocates: the current program's name.
    virtual void setProgramName(const std::string& name) = 0;
    virtual std::string programName() = 0;
    // Control, no allocation: a capability by key ("can_mono", "plugin_version", and
    // "tail_seconds", how long the echoes of the current settings last after the input ends); 0
    // for an unknown key.
    virtual double query(const std::string& key) = 0;
    // Control, allocates: a text by key ("plugin_name"); empty for an unknown key.
    virtual std::string queryText(const std::string& key) = 0;
    // Any thread, lock-free: asks for a reset, carried out by the audio thread at the start of
    // its next block.
    virtual void requestReset() = 0;
    // Audio (the adapter reads the host's time info with each block), no allocation: the host's
    // tempo in beats per minute; ignored unless finite and positive.
    virtual void hostTempo(float beatsPerMinute) = 0;
    // Control, no allocation: sets every parameter whose value differs from the program's.
    virtual void applyProgram(const ProgramSlot& program) = 0;
    // Control, may allocate (the program grows to the table): stores every parameter's
    // normalized value into `program`.
    virtual void storeProgram(ProgramSlot& program) = 0;

    // Audio: processes `frames` stereo frames (any number), replacing or adding to the outputs.
    virtual void processReplacing(const float* const* inputs, float* const* outputs, int frames) = 0;
    virtual void process(const float* const* inputs, float* const* outputs, int frames) = 0;
};

} // namespace mppi
