#pragma once

#include "PluginModule.h"
#include "Vst2Abi.h"

// Calls into a plug-in module as a host makes them. In a 32-bit Windows host every call leaves
// the stack aligned to 4 bytes only, as hosts built with other compilers do, so a module that
// assumes the 16 bytes its own compiler keeps fails in the tests rather than in a musician's
// host. Elsewhere the calls are plain.
namespace plugin_calls {

#if defined(_WIN32) && defined(__i386__)
AEffect* entry(PluginModule::Entry entry, audioMasterCallback callback);
VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
void processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames);
// Makes the calls from here on with the stack aligned as the host's compiler keeps it, for a
// control run that tells a module that fails at 4 bytes from one that fails anyway.
void keepStackAligned();
#else
inline AEffect* entry(PluginModule::Entry entry, audioMasterCallback callback) { return entry(callback); }
inline VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}
inline void processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
    effect->processReplacing(effect, inputs, outputs, frames);
}
inline void keepStackAligned() {}
#endif

} // namespace plugin_calls
