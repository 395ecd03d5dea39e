#pragma once

#include "LockFreeAtomics.h"
#include "Vst2Abi.h"

#include <atomic>
#include <memory>

class AEffEditor;

// Base of everything the host sees: the AEffect record handed to the host, with entry points
// that forward to the virtual operations below. A host's effClose deletes the object.
class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
    virtual ~AudioEffect();

    AEffect* getAeffect() { return &cEffect_; }
    void setEditor(AEffEditor* editor);
    AEffEditor* getEditor() const { return editor_.get(); }

    // The host's calls, after the entry points have caught every exception.
    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) = 0;
    virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
    virtual void setParameter(VstInt32 index, float value) = 0;
    virtual float getParameter(VstInt32 index) = 0;

protected:
    // Calls the host; answers 0 when there is no host callback.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);

    float sampleRate_ = 44100.0f;
    audioMasterCallback audioMaster_;
    VstInt32 numPrograms_;
    VstInt32 numParams_;
    // Read by any thread that automates the current program; written under the adapter's lock.
    std::atomic<VstInt32> curProgram_{0};
    VstInt32 blockSize_ = 1024;
    AEffect cEffect_{};

private:
    static VstIntPtr VST2_CALL dispatchEntry(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                             void* ptr, float opt);
    static void VST2_CALL processEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames);
    static void VST2_CALL processReplacingEntry(AEffect* effect, float** inputs, float** outputs,
                                                VstInt32 sampleFrames);
    static void VST2_CALL setParameterEntry(AEffect* effect, VstInt32 index, float value);
    static float VST2_CALL getParameterEntry(AEffect* effect, VstInt32 index);

    std::unique_ptr<AEffEditor> editor_;
};
