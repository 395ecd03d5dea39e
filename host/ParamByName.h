#pragma once

#include "Vst2Abi.h"

#include <string>

// The index of the effect's parameter named `name`, as effGetParamName answers, or -1: how
// hosts and tools that hold only the binary interface find a parameter.
inline VstInt32 param_index_by_name(AEffect* effect, const std::string& name)
{
    for (VstInt32 index = 0; index < effect->numParams; ++index) {
        // Generous: plug-ins write names longer than the 8 characters the interface once allowed.
        char text[256] = {};
        effect->dispatcher(effect, effGetParamName, index, 0, text, 0.0f);
        if (name == text)
            return index;
    }
    return -1;
}
