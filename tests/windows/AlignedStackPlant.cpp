// A module that wraps QuenloWide.dll (loaded from beside it) and adds one fault: its dispatcher
// and process functions store to a 16-byte slot of their frame with an instruction that needs
// the slot aligned, trusting the caller to keep the stack on 16 bytes. It is built without
// stack realignment, so it plays like the real module when called with an aligned stack and
// crashes when called as hosts from other compilers call; the tests prove with it that the
// 32-bit host really calls with the stack aligned to 4 bytes only.
#include "Vst2Abi.h"

#include <windows.h>

#include <string>

namespace {

AEffectDispatcherProc g_dispatcher = nullptr;
AEffectProcessProc g_process = nullptr;

__attribute__((noinline)) void storeToAlignedSlot()
{
    alignas(16) float slot[4];
    asm volatile("xorps %%xmm0, %%xmm0\n\tmovaps %%xmm0, %0" : "=m"(slot)::"xmm0");
}

VstIntPtr VST2_CALL plantedDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    storeToAlignedSlot();
    return g_dispatcher(effect, opcode, index, value, ptr, opt);
}

void VST2_CALL plantedProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    storeToAlignedSlot();
    g_process(effect, inputs, outputs, frames);
}

std::string besideThisModule(const char* name)
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&besideThisModule), &self);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1) + name;
}

} // namespace

extern "C" AEffect* VST2_CALL plantedMain(audioMasterCallback host)
{
    HMODULE real = LoadLibraryA(besideThisModule("QuenloWide.dll").c_str());
    auto realMain = real ? reinterpret_cast<AEffect*(VST2_CALL*)(audioMasterCallback)>(
                               reinterpret_cast<void*>(GetProcAddress(real, "main")))
                         : nullptr;
    AEffect* effect = realMain ? realMain(host) : nullptr;
    if (effect) {
        g_dispatcher = effect->dispatcher;
        g_process = effect->processReplacing;
        effect->dispatcher = plantedDispatcher;
        effect->processReplacing = plantedProcess;
    }
    return effect;
}
