#include "AudioEffectX.h"

VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter)
{
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

bool AudioEffectX::canHostDo(const char* text)
{
    return callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text)) == 1;
}

bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height)
{
    return callHost(audioMasterSizeWindow, width, height) == 1;
}

void AudioEffectX::updateDisplay()
{
    callHost(audioMasterUpdateDisplay);
}

void AudioEffectX::automate(VstInt32 index, float value)
{
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffectX::beginEdit(VstInt32 index)
{
    callHost(audioMasterBeginEdit, index);
}

void AudioEffectX::endEdit(VstInt32 index)
{
    callHost(audioMasterEndEdit, index);
}

bool AudioEffectX::pinConnected(VstInt32 pin, bool output)
{
    return callHost(audioMasterPinConnected, pin, output ? 1 : 0) == 0;
}

VstIntPtr AudioEffectX::parameterQuantization()
{
    return callHost(audioMasterGetParameterQuantization);
}
