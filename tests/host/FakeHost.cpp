#include "FakeHost.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace {

FakeHost* g_current = nullptr;

} // namespace

FakeHost::FakeHost()
{
    g_current = this;
}

FakeHost::~FakeHost()
{
    if (g_current == this)
        g_current = nullptr;
}

VstIntPtr VST2_CALL FakeHost::callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return g_current ? g_current->answer(opcode, index, value, ptr, opt) : 0;
}

void FakeHost::setTempo(double tempo)
{
    givesTime = true;
    time.tempo = tempo;
    time.flags |= kVstTempoValid;
}

VstIntPtr FakeHost::answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    {
        Lock lock(busy_);
        std::string text;
        if (opcode == audioMasterCanDo && ptr)
            text = static_cast<const char*>(ptr);
        calls_.push_back({opcode, index, value, opt, text});
    }
    switch (opcode) {
    case audioMasterVersion: return version;
    case audioMasterGetTime: return givesTime ? reinterpret_cast<VstIntPtr>(&time) : 0;
    case audioMasterPinConnected: return value == 1 && index == 1 && !rightOutputConnected ? 1 : 0;
    case audioMasterGetParameterQuantization: return quantization;
    case audioMasterCanDo: return canSizeWindow && ptr && std::strcmp(static_cast<const char*>(ptr), "sizeWindow") == 0;
    case audioMasterSizeWindow: return canSizeWindow ? 1 : 0;
    default: return 0;
    }
}

std::vector<FakeHost::Call> FakeHost::calls() const
{
    Lock lock(busy_);
    return calls_;
}

int FakeHost::count(VstInt32 opcode) const
{
    Lock lock(busy_);
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [opcode](const Call& call) {
        return call.opcode == opcode;
    }));
}

int FakeHost::count(VstInt32 opcode, VstInt32 index) const
{
    Lock lock(busy_);
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [opcode, index](const Call& call) {
        return call.opcode == opcode && call.index == index;
    }));
}

std::string FakeHost::gestureFaults(const std::vector<Call>& calls, bool finished)
{
    std::string faults;
    std::set<VstInt32> open;
    std::size_t position = 0;
    for (const Call& call : calls) {
        const std::string where = " on " + std::to_string(call.index) + " at call " + std::to_string(position++) + "\n";
        if (call.opcode == audioMasterBeginEdit && !open.insert(call.index).second)
            faults += "a second begin" + where;
        else if (call.opcode == audioMasterEndEdit && open.erase(call.index) == 0)
            faults += "an end without its begin" + where;
        else if (call.opcode == audioMasterAutomate && open.count(call.index) == 0)
            faults += "automation outside a gesture" + where;
    }
    if (finished)
        for (VstInt32 index : open)
            faults += "a gesture left open on " + std::to_string(index) + "\n";
    return faults;
}

void FakeHost::clear()
{
    Lock lock(busy_);
    calls_.clear();
}
