#include "PluginEntry.h"

#include "Algo.h"
#include "FactoryPrograms.h"
#include "HostDspVst2Win.h"
#include "HostGuiVst2Win.h"
#include "PlatformWindowInterface.h"
#include "QuenloGui.h"
#include "Vst2WinEditor.h"
#include "Vst2WinPlugin.h"
#include "WindowInterface.h"

#include <memory>

namespace mppi {

namespace {

constexpr VstInt32 kUniqueId = fourCharacterCode('K', 't', 'M', 'x');

} // namespace

AEffect* createEffect(audioMasterCallback host, const skin_layout::SkinLayout& skin, PlatformWindowMaker makeWindow,
                      bool offerEditor, const std::filesystem::path& settingsFolder)
{
    if (!host || !makeWindow || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    try {
        const BankManager programs = load_factory_programs();
        auto algo = std::make_unique<Algo>();
        auto hostDsp = std::make_unique<HostDspVst2Win>();
        auto gui = std::make_unique<QuenloGui>(skin);
        auto hostGui = std::make_unique<HostGuiVst2Win>();
        auto window = std::make_unique<pengui::WindowInterface>(makeWindow());
        Algo* dsp = algo.get();
        QuenloGui* editor = gui.get();
        auto plugin = std::make_unique<Vst2WinPlugin>(host, std::move(algo), std::move(gui), programs, kUniqueId);
        hostDsp->setPlugin(plugin.get());
        dsp->setHostDsp(hostDsp.release());
        hostGui->setPlugin(plugin.get());
        editor->setHostGui(hostGui.release());
        editor->setWindow(window.release());
        editor->setSettingsFolder(settingsFolder);
        dsp->setGui(editor);
        editor->setDsp(dsp);
        plugin->init1();
        plugin->init2();
        if (offerEditor)
            plugin->setEditor(new Vst2WinEditor(plugin.get(), editor));
        return plugin.release()->getAeffect();
    } catch (...) {
        return nullptr;
    }
}

} // namespace mppi
