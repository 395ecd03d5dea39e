#pragma once

#include "Vst2Abi.h"

#include <atomic>
#include <string>
#include <vector>

// A host for tests: answers the plug-in's callbacks as configured and records every call.
// One fake host is current at a time; the plug-in reaches it through `callback`.
class FakeHost {
public:
    struct Call {
        VstInt32 opcode;
        VstInt32 index;
        VstIntPtr value;
        float opt;
        std::string text;
    };

    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    static VstIntPtr VST2_CALL callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                        float opt);

    // What the host answers.
    VstIntPtr version = 2400;
    bool givesTime = false;
    VstTimeInfo time{};
    bool rightOutputConnected = true;
    VstIntPtr quantization = 0;
    bool canSizeWindow = false;

    // The tempo the host reports as valid from now on.
    void setTempo(double tempo);
    std::vector<Call> calls() const;
    int count(VstInt32 opcode) const;
    // How many calls of `opcode` named parameter `index`.
    int count(VstInt32 opcode, VstInt32 index) const;
    void clear();
    // What is wrong with the user's gestures as the host heard them, empty when nothing is: a
    // gesture begun twice on one parameter, an end without its begin, automation outside a
    // gesture, and, with `finished`, a gesture left open.
    std::string gestureFaults(bool finished = true) const { return gestureFaults(calls(), finished); }
    // The same of any host's log.
    static std::string gestureFaults(const std::vector<Call>& calls, bool finished = true);

private:
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    // Calls may come from the audio thread and the test's own; a spin lock keeps the record
    // whole on every platform's runtime.
    class Lock {
    public:
        explicit Lock(std::atomic_flag& flag) : flag_(flag)
        {
            while (flag_.test_and_set(std::memory_order_acquire)) {
            }
        }
        ~Lock() { flag_.clear(std::memory_order_release); }

    private:
        std::atomic_flag& flag_;
    };

    mutable std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
    std::vector<Call> calls_;
};
