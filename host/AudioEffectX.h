#pragma once

#include "AudioEffect.h"

// The VST 2 effect with the host requests that the plug-in makes.
class AudioEffectX : public AudioEffect {
public:
    using AudioEffect::AudioEffect;

    // The host's time information with at least the `filter` flags asked for, or null.
    VstTimeInfo* getTimeInfo(VstInt32 filter);
    // Whether the host says it can do `text` ("sizeWindow").
    bool canHostDo(const char* text);
    bool sizeWindow(VstInt32 width, VstInt32 height);
    void updateDisplay();
    void automate(VstInt32 index, float value);
    // A user's gesture on a parameter begins or ends: hosts record touch automation between.
    void beginEdit(VstInt32 index);
    void endEdit(VstInt32 index);
    // Whether the host has the pin connected: true when it answers 0 or cannot answer.
    bool pinConnected(VstInt32 pin, bool output);
    VstIntPtr parameterQuantization();
};
