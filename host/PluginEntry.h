#pragma once

#include "Vst2Abi.h"

#include <filesystem>
#include <memory>

namespace pengui {
class PlatformWindowInterface;
}

namespace skin_layout {
struct SkinLayout;
}

namespace mppi {

// Makes the platform side of the editor's window.
using PlatformWindowMaker = std::unique_ptr<pengui::PlatformWindowInterface> (*)();

// Builds the whole plug-in for a host: the algorithm and its host services, the editor in
// `skin` with its host services and a window from `makeWindow`, the host's program list from
// the embedded bank "static_presets", and the effect adapter; runs both initialisations (the
// editor loads its pictures and builds its controls) and answers the effect record. With
// `offerEditor` (where the platform can open windows) the host's editor opcodes reach the
// editor and the effect says it has one. The musician's choice of the editor's scale is kept in
// `settingsFolder` (empty: nowhere), and the editor is built at the scale kept there. Null when
// the host is too old (it answers 0 to audioMasterVersion) or when anything fails, with
// everything built deleted again.
AEffect* createEffect(audioMasterCallback host, const skin_layout::SkinLayout& skin, PlatformWindowMaker makeWindow,
                      bool offerEditor = false, const std::filesystem::path& settingsFolder = {});

} // namespace mppi
