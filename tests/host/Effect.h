#pragma once

#include "PluginCalls.h"
#include "Vst2Abi.h"

#include <string>
#include <vector>

// Drives an AEffect as a host does.
class Effect {
public:
    explicit Effect(AEffect* effect) : effect_(effect) {}

    AEffect* operator->() const { return effect_; }
    AEffect* get() const { return effect_; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return plugin_calls::dispatch(effect_, opcode, index, value, ptr, opt);
    }
    // A text opcode's answer, from a generous buffer.
    std::string text(VstInt32 opcode, VstInt32 index = 0)
    {
        char buffer[256] = {};
        dispatch(opcode, index, 0, buffer);
        return buffer;
    }
    void start(float sampleRate = 44100.0f, VstInt32 blockSize = 512)
    {
        dispatch(effOpen);
        dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
        dispatch(effSetBlockSize, 0, blockSize);
        dispatch(effMainsChanged, 0, 1);
    }
    // Renders `left` and `right` in host blocks, replacing.
    void render(const std::vector<float>& left, const std::vector<float>& right, std::vector<float>& outLeft,
                std::vector<float>& outRight, VstInt32 blockSize)
    {
        outLeft.assign(left.size(), 0.0f);
        outRight.assign(right.size(), 0.0f);
        for (std::size_t at = 0; at < left.size(); at += static_cast<std::size_t>(blockSize)) {
            const auto frames = static_cast<VstInt32>(std::min<std::size_t>(static_cast<std::size_t>(blockSize), left.size() - at));
            float* inputs[2] = {const_cast<float*>(left.data()) + at, const_cast<float*>(right.data()) + at};
            float* outputs[2] = {outLeft.data() + at, outRight.data() + at};
            plugin_calls::processReplacing(effect_, inputs, outputs, frames);
        }
    }
    void close()
    {
        dispatch(effMainsChanged, 0, 0);
        dispatch(effClose);
        effect_ = nullptr;
    }

private:
    AEffect* effect_;
};
