#include "PluginEntry.h"

#include "Algo.h"
#include "BankFiles.h"
#include "GuiInterface.h"
#include "HostDspVst2Win.h"
#include "Vst2WinPlugin.h"

#include <memory>
#include <stdexcept>

namespace mppi {

namespace {

constexpr VstInt32 kUniqueId = fourCharacterCode('K', 't', 'M', 'x');
constexpr const char* kHostPrograms = "static_presets";

} // namespace

AEffect* createEffect(audioMasterCallback host)
{
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    try {
        BankManager programs;
        auto algo = std::make_unique<Algo>();
        auto hostDsp = std::make_unique<HostDspVst2Win>();
        if (load_bank_resource(kHostPrograms, programs) != 0)
            throw std::runtime_error("the built-in programs cannot be read");
        auto plugin = std::make_unique<Vst2WinPlugin>(host, std::move(algo), nullptr, programs, kUniqueId);
        hostDsp->setPlugin(plugin.get());
        plugin->dsp()->setHostDsp(hostDsp.release());
        plugin->init1();
        plugin->init2();
        return plugin.release()->getAeffect();
    } catch (...) {
        return nullptr;
    }
}

} // namespace mppi
