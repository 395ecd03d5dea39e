// A plug-in module whose entry point answers null, as a plug-in does that refuses the host.
#include "Vst2Abi.h"

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback)
{
    return nullptr;
}
