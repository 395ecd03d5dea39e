#include "AudioEffect.h"

#include "AEffEditor.h"

namespace {

AudioEffect* objectOf(AEffect* effect)
{
    return effect ? static_cast<AudioEffect*>(effect->object) : nullptr;
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster_(audioMaster), numPrograms_(numPrograms), numParams_(numParams)
{
    cEffect_.magic = kEffectMagic;
    cEffect_.dispatcher = dispatchEntry;
    cEffect_.process = processEntry;
    cEffect_.setParameter = setParameterEntry;
    cEffect_.getParameter = getParameterEntry;
    cEffect_.numPrograms = numPrograms;
    cEffect_.numParams = numParams;
    cEffect_.numInputs = 1;
    cEffect_.numOutputs = 2;
    cEffect_.ioRatio = 1.0f;
    cEffect_.object = this;
    cEffect_.version = 1;
    cEffect_.processReplacing = processReplacingEntry;
}

AudioEffect::~AudioEffect() = default;

void AudioEffect::setEditor(AEffEditor* editor)
{
    editor_.reset(editor);
    if (editor)
        cEffect_.flags |= effFlagsHasEditor;
    else
        cEffect_.flags &= ~effFlagsHasEditor;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return audioMaster_ ? audioMaster_(&cEffect_, opcode, index, value, ptr, opt) : 0;
}

VstIntPtr VST2_CALL AudioEffect::dispatchEntry(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                               void* ptr, float opt)
{
    AudioEffect* object = objectOf(effect);
    if (!object)
        return 0;
    VstIntPtr answer = 0;
    try {
        answer = object->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        answer = opcode == effCanBeAutomated ? 1 : 0;
    }
    if (opcode == effClose) {
        effect->object = nullptr;
        delete object;
        return 1;
    }
    return answer;
}

void VST2_CALL AudioEffect::processEntry(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (AudioEffect* object = objectOf(effect)) {
        try {
            object->process(inputs, outputs, sampleFrames);
        } catch (...) {
        }
    }
}

void VST2_CALL AudioEffect::processReplacingEntry(AEffect* effect, float** inputs, float** outputs,
                                                  VstInt32 sampleFrames)
{
    if (AudioEffect* object = objectOf(effect)) {
        try {
            object->processReplacing(inputs, outputs, sampleFrames);
        } catch (...) {
        }
    }
}

void VST2_CALL AudioEffect::setParameterEntry(AEffect* effect, VstInt32 index, float value)
{
    if (AudioEffect* object = objectOf(effect)) {
        try {
            object->setParameter(index, value);
        } catch (...) {
        }
    }
}

float VST2_CALL AudioEffect::getParameterEntry(AEffect* effect, VstInt32 index)
{
    if (AudioEffect* object = objectOf(effect)) {
        try {
            return object->getParameter(index);
        } catch (...) {
        }
    }
    return 0.0f;
}
