#pragma once

#include "Vst2Abi.h"

namespace mppi {

// Builds the whole plug-in for a host: the algorithm and its host services, the host's
// program list from the embedded bank "static_presets", and the effect adapter; runs both
// initialisations and answers the effect record. Null when the host is too old (it answers
// 0 to audioMasterVersion) or when anything fails, with everything built deleted again.
AEffect* createEffect(audioMasterCallback host);

} // namespace mppi
