#pragma once

#include "Vst2Abi.h"

class AudioEffect;

// The editor as the host's editor opcodes reach it. The effect owns it and deletes it.
class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect_(effect) {}
    virtual ~AEffEditor() = default;

    // Stores the address of the editor's rectangle in `rect`; answers 1 when it did.
    virtual bool getRect(ERect** rect) = 0;
    // Opens inside the host's parent window; answers 1 when open.
    virtual bool open(void* parentWindow) = 0;
    virtual void close() = 0;
    virtual void idle() = 0;
    virtual void update() {}
    void postUpdate() { updateFlag_ = 1; }

protected:
    AudioEffect* effect() const { return effect_; }
    bool takeUpdate()
    {
        const bool pending = updateFlag_ != 0;
        updateFlag_ = 0;
        return pending;
    }

private:
    AudioEffect* effect_;
    VstInt32 updateFlag_ = 0;
};
